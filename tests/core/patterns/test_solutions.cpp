// Several solutions of one cube: each solves it within the bound, no two are
// the same up to the order of turns of opposite faces, shortest first, the
// solver's own answer first among its length, the same list on every run.

#include "CubeText.h"
#include "CubieCube.h"
#include "ShortSolver.h"
#include "Solutions.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

const BYTE kStandard[6] = {1, 2, 3, 4, 5, 6};

TEST(Solutions, DistinctValidInOrderAndDeterministic)
{
    std::mt19937 rng(13);
    size_t nMany = 0;
    for (int k = 0; k < 30; ++k) {
        BYTE colors[54];
        cubie::WriteFacelets(cubie::RandomCubieCube(rng), kStandard, colors);
        std::vector<std::string> solutions, again;
        ASSERT_EQ(SolveShortSeveral(colors, 20, 10, solutions), kSolved);
        ASSERT_FALSE(solutions.empty());
        ASSERT_LE(solutions.size(), 10u);
        std::string strFirst;
        ASSERT_EQ(SolveShort(colors, 20, strFirst), kSolved);
        std::set<std::string> canonical;
        for (size_t i = 0; i < solutions.size(); ++i) {
            CCubeSolver cube;
            LoadCube(cube, colors);
            cube.ExecuteMoves(solutions[i]);
            EXPECT_TRUE(cube.IsSolved()) << solutions[i];
            EXPECT_LE(solutions[i].size() / 3, 20u);
            EXPECT_TRUE(canonical.insert(CanonicalMoves(solutions[i])).second) << solutions[i];
            if (i > 0)
                EXPECT_LE(solutions[i - 1].size(), solutions[i].size());
        }
        // The solver's own answer leads its length.
        for (const std::string& s : solutions)
            if (s.size() == strFirst.size()) {
                EXPECT_EQ(s, strFirst);
                break;
            }
        ASSERT_EQ(SolveShortSeveral(colors, 20, 10, again), kSolved);
        EXPECT_EQ(again, solutions);
        // Asking for fewer gives the head of the list.
        ASSERT_EQ(SolveShortSeveral(colors, 20, 2, again), kSolved);
        EXPECT_EQ(again, std::vector<std::string>(solutions.begin(), solutions.begin() + static_cast<long>(again.size())));
        nMany += solutions.size() > 1;
    }
    EXPECT_GT(nMany, 20u); // most cubes have more than one
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
    EXPECT_NE(CanonicalMoves("T+.R+."), CanonicalMoves("R+.T+."));
}

} // namespace
