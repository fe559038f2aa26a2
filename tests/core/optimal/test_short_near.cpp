// The short solver is never longer than needed near solved: every cube a few
// random moves from solved gets a solution of its optimal length (as the
// optimal solver proves it), the named scrambles their three moves, and every
// answer solves its cube and is the same on a second run.

#include "CubeFormats.h"
#include "CubeText.h"
#include "CubieCube.h"
#include "OptimalSolver.h"
#include "ShortSolver.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

void Colours(const cubie::CubieCube& c, BYTE colors[54]) { cubie::WriteFacelets(c, kStandard, colors); }

int Solve(const BYTE colors[54], std::string& strMoves)
{
    const int nResult = SolveShort(colors, 20, strMoves);
    CCubeSolver model;
    LoadCube(model, colors);
    model.ExecuteMoves(strMoves);
    EXPECT_TRUE(model.IsSolved()) << strMoves;
    std::string strAgain;
    EXPECT_EQ(SolveShort(colors, 20, strAgain), nResult);
    EXPECT_EQ(strAgain, strMoves);
    return nResult;
}

TEST(ShortSolverNearSolved, NamedScramblesGetTheirThreeMoves)
{
    for (const char* pScramble : {"D L B", "F2 U' R", "R U R' U'", "R"}) {
        std::string strModel, strError;
        ASSERT_TRUE(ParseStandardMoves(pScramble, strModel, strError)) << strError;
        CCubeSolver model;
        model.ExecuteMoves(strModel);
        BYTE colors[54];
        ReadCube(model, colors);
        std::string strMoves;
        ASSERT_EQ(Solve(colors, strMoves), 0);
        EXPECT_EQ(strMoves.size(), strModel.size()) << pScramble << ": " << strMoves;
    }
}

TEST(ShortSolverNearSolved, RandomScramblesGetTheOptimalLength)
{
    std::mt19937 rng(6);
    const OptimalOptions options;
    for (int n = 0; n < 300; ++n) {
        cubie::CubieCube c;
        const int nLength = 1 + n % 7; // up to 7 moves
        for (int i = 0; i < nLength; ++i) {
            const int m = static_cast<int>(rng() % 18);
            for (int q = 0; q <= m % 3; ++q)
                c = c * cubie::FaceTurn(m / 3);
        }
        BYTE colors[54];
        Colours(c, colors);
        std::string strMoves;
        ASSERT_EQ(Solve(colors, strMoves), 0);
        const OptimalResult best = SolveOptimal(colors, options);
        ASSERT_TRUE(best.bProven);
        EXPECT_EQ(strMoves.size(), static_cast<size_t>(best.length) * 3) << strMoves << " vs " << best.moves;
    }
}

TEST(ShortSolverNearSolved, RandomCubesStillSolvedWithinTheBound)
{
    std::mt19937 rng(7);
    for (int n = 0; n < 50; ++n) {
        BYTE colors[54];
        Colours(cubie::RandomCubieCube(rng), colors);
        std::string strMoves;
        ASSERT_EQ(Solve(colors, strMoves), 0);
        EXPECT_LE(strMoves.size(), 60u);
    }
}

} // namespace
