// The short solver on uniformly random and known cubes: every solution solves
// the cube as entered, within the bound. The tables are built once per process.
// ZELVORS_SHORT_CUBES sets how many random cubes (smaller in the sanitizer build).

#include "CubeText.h"
#include "CubieCube.h"
#include "ShortSolver.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#ifndef ZELVORS_SHORT_CUBES
#define ZELVORS_SHORT_CUBES 10000
#endif
#ifndef ZELVORS_SHORT_GOLDEN
#define ZELVORS_SHORT_GOLDEN ""
#endif

namespace {

std::string Text(const BYTE colors[54])
{
    std::string s;
    for (int i = 0; i < 54; ++i)
        s += static_cast<char>('0' + colors[i]);
    return s;
}

// Solves and checks: result 0, at most nBound moves, well-formed groups of
// face moves only, and ExecuteMoves of them on the entered cube solves it.
std::string ExpectSolves(const BYTE colors[54], int nBound = 20)
{
    std::string strMoves;
    const int nResult = SolveShort(colors, nBound, strMoves);
    EXPECT_EQ(nResult, 0) << Text(colors);
    EXPECT_EQ(strMoves.size() % 3, 0u);
    EXPECT_LE(strMoves.size() / 3, static_cast<size_t>(nBound)) << Text(colors);
    for (size_t i = 0; i + 2 < strMoves.size(); i += 3) {
        EXPECT_NE(std::string("TFRLBD").find(strMoves[i]), std::string::npos) << strMoves;
        EXPECT_NE(std::string("+-*").find(strMoves[i + 1]), std::string::npos) << strMoves;
        EXPECT_EQ(strMoves[i + 2], '.') << strMoves;
    }
    CCubeSolver model;
    LoadCube(model, colors);
    model.ExecuteMoves(strMoves);
    EXPECT_TRUE(model.IsSolved()) << Text(colors) << " " << strMoves;
    return strMoves;
}

TEST(ShortSolver, UniformlyRandomCubesInTwentyMoves)
{
    std::mt19937 rng(20);
    for (int n = 0; n < ZELVORS_SHORT_CUBES; ++n) {
        BYTE colors[54];
        cubie::WriteFacelets(cubie::RandomCubieCube(rng), kStandard, colors);
        ExpectSolves(colors);
        if (HasFailure())
            return;
    }
}

TEST(ShortSolver, KnownCubes)
{
    BYTE colors[54];
    // Solved: the empty solution.
    cubie::WriteFacelets(cubie::CubieCube(), kStandard, colors);
    EXPECT_EQ(ExpectSolves(colors), "");

    // Every edge flipped: a 20-move position.
    cubie::CubieCube superflip;
    for (auto& o : superflip.eo)
        o = 1;
    cubie::WriteFacelets(superflip, kStandard, colors);
    EXPECT_EQ(ExpectSolves(colors).size(), 60u);

    // One move from solved: one move back, in any colouring and orientation.
    const char* kLetters = "TFRLBD";
    const char* kTurns = "+*-";
    std::mt19937 rng(3);
    for (int f = 0; f < 6; ++f)
        for (int t = 0; t < 3; ++t) {
            CCubeSolver model;
            model.ExecuteMoves(Orientation(static_cast<int>(rng() % 24)));
            const std::string strMove = {kLetters[f], kTurns[t], '.'};
            model.ExecuteMoves(strMove);
            ReadCube(model, colors);
            const std::string strInverse = {kLetters[f], kTurns[2 - t], '.'};
            EXPECT_EQ(ExpectSolves(colors), strInverse);
        }
}

// Cubes that a symmetry of the T/D axis keeps: the search tries only one of the
// moves such a symmetry maps onto each other, which must never lose a
// solution. Each cube is built from blocks the symmetry keeps: a move it
// keeps, or a move with its image on the opposite face (they commute).
TEST(ShortSolver, SymmetricCubesInTwentyMoves)
{
    using shortsolver::GetAxisSymmetry;
    std::mt19937 rng(48);
    const int nPerSymmetry = ZELVORS_SHORT_CUBES >= 1000 ? 12 : 2;
    int nSymmetries = 0;
    for (int s = 1; s < shortsolver::kAxisSymCount; ++s) {
        if (GetAxisSymmetry(s).inverse != s)
            continue; // a symmetry of order 4 keeps too few moves to build from
        ++nSymmetries;
        for (int n = 0; n < nPerSymmetry; ++n) {
            cubie::CubieCube cube;
            for (int nBlocks = 0; nBlocks < 14;) {
                const int m = static_cast<int>(rng() % shortsolver::kMoveCount);
                const int image = GetAxisSymmetry(s).moveTo[m];
                auto apply = [&cube](int move) {
                    for (int q = 0; q <= move % 3; ++q)
                        cube = cube * cubie::FaceTurn(move / 3);
                };
                if (image == m) {
                    apply(m);
                } else if (image / 3 == 5 - m / 3) {
                    apply(m);
                    apply(image);
                } else {
                    continue;
                }
                ++nBlocks;
            }
            ASSERT_EQ(shortsolver::ConjugateAxis(cube, s), cube) << s;
            BYTE colors[54];
            cubie::WriteFacelets(cube, kStandard, colors);
            ExpectSolves(colors);
            if (HasFailure())
                return;
        }
    }
    EXPECT_EQ(nSymmetries, 11); // the half turns, the mirror planes and the point reflection
}

TEST(ShortSolver, CentresInEveryOrientationAndColouring)
{
    std::mt19937 rng(24);
    const int nCount = ZELVORS_SHORT_CUBES >= 1000 ? 24 * 4 : 24;
    for (int n = 0; n < nCount; ++n) {
        // Any permutation of the colours, mirror-image schemes included.
        BYTE centres[6] = {1, 2, 3, 4, 5, 6};
        for (int i = 5; i > 0; --i)
            std::swap(centres[i], centres[rng() % (i + 1)]);
        BYTE colors[54];
        cubie::WriteFacelets(cubie::RandomCubieCube(rng), centres, colors);
        CCubeSolver model;
        LoadCube(model, colors);
        model.ExecuteMoves(Orientation(n % 24));
        ReadCube(model, colors);
        ExpectSolves(colors);
    }
}

TEST(ShortSolver, LongerBoundsAreKept)
{
    std::mt19937 rng(30);
    for (int nBound = 20; nBound <= 30; ++nBound) {
        BYTE colors[54];
        cubie::WriteFacelets(cubie::RandomCubieCube(rng), kStandard, colors);
        ExpectSolves(colors, nBound);
    }
}

TEST(ShortSolver, TablesAreSharedAndReady)
{
    const auto& tables = shortsolver::ShortSolverTables::Get();
    EXPECT_TRUE(shortsolver::ShortSolverTables::IsReady());
    EXPECT_EQ(&tables, &shortsolver::ShortSolverTables::Get());
    EXPECT_LE(tables.Bytes(), 100u << 20);
}

// One hundred fixed cubes and their solutions: the search is deterministic,
// so any change of output is a change of behaviour. With
// ZELVORS_WRITE_SHORT_GOLDEN set in the environment the file is written instead.
TEST(ShortSolver, GoldenSolutions)
{
    std::mt19937 rng(100);
    std::string strActual;
    for (int n = 0; n < 100; ++n) {
        BYTE centres[6] = {1, 2, 3, 4, 5, 6};
        if (n % 4 == 3)
            for (int i = 5; i > 0; --i)
                std::swap(centres[i], centres[rng() % (i + 1)]);
        BYTE colors[54];
        cubie::WriteFacelets(cubie::RandomCubieCube(rng), centres, colors);
        std::string strMoves;
        const int nResult = SolveShort(colors, 20, strMoves);
        strActual += Text(colors) + '\t' + std::to_string(nResult) + '\t' + strMoves + '\n';
    }
    const std::string strPath = ZELVORS_SHORT_GOLDEN;
    ASSERT_FALSE(strPath.empty());
    if (std::getenv("ZELVORS_WRITE_SHORT_GOLDEN")) {
        std::ofstream(strPath, std::ios::binary) << strActual;
        GTEST_SKIP() << "wrote " << strPath;
    }
    std::ifstream in(strPath, std::ios::binary);
    ASSERT_TRUE(in) << strPath;
    const std::string strExpected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(strActual, strExpected);
}

} // namespace
