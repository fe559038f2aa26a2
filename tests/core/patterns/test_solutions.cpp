// Several solutions of one cube: each solves it within the bound, no two are
// the same up to the order of turns of opposite faces, shortest first, the
// solver's own answer first among its length, as many as asked for, the same
// list on every run.

#include "CubeText.h"
#include "CubieCube.h"
#include "ShortSolver.h"
#include "Solutions.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <set>

namespace {

// The list's invariants for the cube: each solves it within nBound moves,
// distinct up to commuting turns, shortest first, the solver's own answer
// leading its length.
void CheckList(const BYTE colors[54], int nBound, const std::vector<std::string>& solutions)
{
    ASSERT_FALSE(solutions.empty());
    std::string strFirst;
    ASSERT_EQ(SolveShort(colors, nBound, strFirst), kSolved);
    std::set<std::string> canonical;
    for (size_t i = 0; i < solutions.size(); ++i) {
        CCubeSolver cube;
        LoadCube(cube, colors);
        cube.ExecuteMoves(solutions[i]);
        EXPECT_TRUE(cube.IsSolved()) << solutions[i];
        EXPECT_LE(solutions[i].size() / 3, static_cast<size_t>(nBound));
        EXPECT_TRUE(canonical.insert(CanonicalMoves(solutions[i])).second) << solutions[i];
        if (i > 0) {
            EXPECT_LE(solutions[i - 1].size(), solutions[i].size());
        }
    }
    for (const std::string& s : solutions)
        if (s.size() == strFirst.size()) {
            EXPECT_EQ(s, strFirst);
            break;
        }
}

TEST(Solutions, RandomCubesGetAsManyAsAskedForDistinctValidInOrderAndDeterministic)
{
    std::mt19937 rng(13);
    for (int k = 0; k < 20; ++k) {
        BYTE colors[54];
        cubie::WriteFacelets(cubie::RandomCubieCube(rng), kStandard, colors);
        for (size_t nCount : {size_t(12), size_t(3)}) {
            std::vector<std::string> solutions, again;
            ASSERT_EQ(SolveShortSeveral(colors, 20, nCount, solutions), kSolved);
            EXPECT_EQ(solutions.size(), nCount);
            CheckList(colors, 20, solutions);
            ASSERT_EQ(SolveShortSeveral(colors, 20, nCount, again), kSolved);
            EXPECT_EQ(again, solutions);
        }
    }
}

// A cube a few moves from solved: its fewest moves first, then longer ones
// from the larger bounds, up to the count.
TEST(Solutions, NearCubesShortestFirstThenLonger)
{
    for (const char* pszScramble : {"R+.", "R+.T+.", "R+.T-.F*.", "F+.B+.R*.", "T+.D-.R*.L*.F+."}) {
        CCubeSolver cube;
        cube.ExecuteMoves(pszScramble);
        BYTE colors[54];
        ReadCube(cube, colors);
        std::vector<std::string> solutions;
        ASSERT_EQ(SolveShortSeveral(colors, 20, 8, solutions), kSolved);
        EXPECT_EQ(solutions.size(), 8u) << pszScramble;
        CheckList(colors, 20, solutions);
        EXPECT_EQ(solutions[0].size(), std::string(pszScramble).size()) << pszScramble;
        EXPECT_GT(solutions.back().size(), solutions[0].size()) << pszScramble;
    }
}

TEST(Solutions, CancelledGivesWhatWasFound)
{
    std::mt19937 rng(5);
    BYTE colors[54];
    cubie::WriteFacelets(cubie::RandomCubieCube(rng), kStandard, colors);
    std::atomic<bool> bCancel{true};
    SeveralOptions options;
    options.pCancel = &bCancel;
    std::vector<std::string> solutions;
    ASSERT_EQ(SolveShortSeveral(colors, 20, 12, solutions, options), kSolved);
    ASSERT_EQ(solutions.size(), 1u); // the solver's own answer only
    CheckList(colors, 20, solutions);
}

TEST(Solutions, SolvedAndBadCubes)
{
    BYTE colors[54];
    cubie::WriteFacelets(cubie::CubieCube(), kStandard, colors);
    std::vector<std::string> solutions;
    ASSERT_EQ(SolveShortSeveral(colors, 20, 5, solutions), kSolved);
    EXPECT_EQ(solutions, std::vector<std::string>{""});
    const BYTE blank[54] = {};
    EXPECT_EQ(SolveShortSeveral(blank, 20, 5, solutions), kBadCubelets);
    EXPECT_TRUE(solutions.empty());
}

TEST(Solutions, CanonicalOrderOfOppositeFaces)
{
    EXPECT_EQ(CanonicalMoves("D+.T-.R*."), CanonicalMoves("T-.D+.R*."));
    EXPECT_EQ(CanonicalMoves("L+.R-."), "R-.L+.");
    EXPECT_EQ(CanonicalMoves("F+.B*.F+.R+."), "F*.B*.R+.");
    EXPECT_EQ(CanonicalMoves("R+.L+.R-."), "L+.");
    EXPECT_NE(CanonicalMoves("T+.R+."), CanonicalMoves("R+.T+."));
    EXPECT_NE(CanonicalMoves("T+.D+."), CanonicalMoves("T+.D-."));
}

} // namespace
