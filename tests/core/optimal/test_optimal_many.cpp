// Many optimal solutions: every solution of the fewest moves, in move order,
// as a brute-force walk over every move sequence finds them; then those one
// move longer; as many as asked for, the same on one and two threads, each
// distinct also up to the order of turns of opposite faces.

#include "CubeText.h"
#include "CubieCube.h"
#include "MoveWalk.h"
#include "OptimalSolver.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using cubie::CubieCube;

using testsupport::Commuted;
using testsupport::Scrambled;
using testsupport::Turn;

// Every sequence of exactly nLeft more moves that solves c, in move order
// (faces in slot order, turns + * -; never one face twice running, of two
// opposite faces the lower slot first).
void AllSolutions(const CubieCube& c, int nLeft, std::vector<int>& path, std::vector<std::string>& out)
{
    if (nLeft == 0) {
        if (c == CubieCube())
            out.push_back(testsupport::ModelText(path));
        return;
    }
    for (int m = 0; m < 18; ++m) {
        const int f = m / 3;
        if (!testsupport::MayFollow(f, path.empty() ? -1 : path.back() / 3))
            continue;
        path.push_back(m);
        AllSolutions(Turn(c, m), nLeft - 1, path, out);
        path.pop_back();
    }
}

void ExpectEachSolves(const BYTE colors[54], const std::vector<std::string>& solutions)
{
    std::set<std::string> distinct;
    for (const std::string& s : solutions) {
        CCubeSolver model;
        LoadCube(model, colors);
        model.ExecuteMoves(s);
        EXPECT_TRUE(model.IsSolved()) << s;
        EXPECT_TRUE(distinct.insert(Commuted(s)).second) << s;
    }
}

struct Case {
    std::vector<int> scramble;
    int nLength; // the cube's fewest moves
};

const Case kCases[] = {
    {{0, 4}, 2},                   // T+ R+: one solution
    {{0, 15}, 2},                  // T+ D+: two orders, one solution
    {{7, 1, 10, 14}, 4},           // R* F* L+ B-
    {{2, 6, 12, 3, 9}, 5},         // T- R+ B+ F+ L+
    {{13, 7, 13, 7}, 4},           // B* R* B* R*: more than one of 4
};

TEST(OptimalMany, EveryShortestSolutionInMoveOrderOnOneAndTwoThreads)
{
    for (const Case& c : kCases) {
        const CubieCube cube = Scrambled(c.scramble);
        BYTE colors[54];
        cubie::WriteFacelets(cube, kStandard, colors);
        std::vector<std::string> all;
        std::vector<int> path;
        AllSolutions(cube, c.nLength, path, all);
        ASSERT_FALSE(all.empty());
        OptimalOptions options;
        options.nSolutions = 1000;
        const OptimalResult one = SolveOptimal(colors, options);
        ASSERT_EQ(one.nResult, 0);
        EXPECT_EQ(one.length, c.nLength);
        EXPECT_TRUE(one.bProven);
        EXPECT_EQ(one.solutions, all) << testsupport::ModelText(c.scramble);
        EXPECT_EQ(one.moves, all[0]);
        ExpectEachSolves(colors, one.solutions);
        options.nThreads = 2;
        EXPECT_EQ(SolveOptimal(colors, options).solutions, all);
        // Fewer asked for: the first of them.
        options.nSolutions = 2;
        const OptimalResult two = SolveOptimal(colors, options);
        EXPECT_EQ(two.solutions, std::vector<std::string>(all.begin(), all.begin() + std::min<long>(2, all.size())));
        // The plain answer: one of them, alone.
        options.nSolutions = 1;
        options.nThreads = 1;
        const OptimalResult plain = SolveOptimal(colors, options);
        EXPECT_NE(std::find(all.begin(), all.end(), plain.moves), all.end()) << plain.moves;
        EXPECT_EQ(plain.solutions, std::vector<std::string>{plain.moves});
    }
}

// Cubes whose plain answer the two-phase search meets before the optimal
// search's own at that length (the second in an order of its own, L before R
// once): still one of the shortest solutions, written as the search orders
// two opposite faces, and the same on two threads.
TEST(OptimalMany, AnAnswerTheTwoPhaseSearchMeetsIsOneOfTheShortest)
{
    const struct {
        const char* digits; // slot-major colours
        int nLength;
    } kCubes[] = {
        {"345316552431621665444435613226443633121655152223162415", 14},
        {"652314541612622332366432461413542615312353444161265555", 15},
    };
    for (const auto& c : kCubes) {
        BYTE colors[54];
        for (int i = 0; i < 54; ++i)
            colors[i] = static_cast<BYTE>(c.digits[i] - '0');
        OptimalOptions options;
        options.nSolutions = 1000;
        const std::vector<std::string> all = SolveOptimal(colors, options).solutions;
        ASSERT_FALSE(all.empty());
        options.nSolutions = 1;
        const OptimalResult plain = SolveOptimal(colors, options);
        EXPECT_EQ(plain.length, c.nLength);
        EXPECT_TRUE(plain.bProven);
        EXPECT_NE(std::find(all.begin(), all.end(), plain.moves), all.end()) << plain.moves;
        ExpectEachSolves(colors, {plain.moves});
        options.nThreads = 2;
        EXPECT_EQ(SolveOptimal(colors, options).moves, plain.moves);
    }
}

TEST(OptimalMany, ThenOneMoveLongerUpToTheCountFromAKnownLength)
{
    for (const Case& c : kCases) {
        const CubieCube cube = Scrambled(c.scramble);
        BYTE colors[54];
        cubie::WriteFacelets(cube, kStandard, colors);
        std::vector<std::string> shortest, longer;
        std::vector<int> path;
        AllSolutions(cube, c.nLength, path, shortest);
        AllSolutions(cube, c.nLength + 1, path, longer);
        const size_t nCount = shortest.size() + 3;
        std::vector<std::string> expected = shortest;
        expected.insert(expected.end(), longer.begin(),
                        longer.begin() + std::min<long>(3, static_cast<long>(longer.size())));
        OptimalOptions options;
        options.nSolutions = nCount;
        options.bOneLonger = true;
        const OptimalResult one = SolveOptimal(colors, options);
        EXPECT_EQ(one.solutions, expected) << testsupport::ModelText(c.scramble);
        EXPECT_LE(one.solutions.size(), nCount);
        ExpectEachSolves(colors, one.solutions);
        options.nThreads = 2;
        options.nFromDepth = c.nLength; // as after a solve that proved it
        const OptimalResult two = SolveOptimal(colors, options);
        EXPECT_EQ(two.solutions, expected);
        EXPECT_EQ(two.length, c.nLength);
    }
}

// A cube with symmetries skips the subtrees whose first moves some symmetry
// maps to earlier ones, and moves deeper: the answer is still one of the
// shortest solutions the full list (which skips nothing) has, and the same
// on one thread and on two.
TEST(OptimalMany, ACubeWithSymmetriesStillGetsAShortestSolution)
{
    std::vector<std::vector<int>> scrambles = {
        {7, 10, 1, 16, 4, 13},        // checkerboard: R* L* T* D* F* B*
        {1, 7, 10, 1, 7, 10},         // T* R* L* T* R* L*
        {0, 17, 6, 11, 3, 14, 0, 17}, // six spots: T+ D- R+ L- F+ B- T+ D-
        {4, 13, 0, 17, 7, 10, 0, 17}, // four spots
        {9, 6, 3, 12, 2, 17, 11, 8},  // L+ R+ F+ B+ T- D- L- R-
    };
    // Every cube of up to three moves (single turns, turns of opposite faces,
    // and many without a symmetry).
    for (int a = 0; a < 18; ++a) {
        scrambles.push_back({a});
        for (int b = 0; b < 18; ++b) {
            if (!testsupport::MayFollow(b / 3, a / 3))
                continue;
            scrambles.push_back({a, b});
            for (int c = 0; c < 18; ++c)
                if (testsupport::MayFollow(c / 3, b / 3))
                    scrambles.push_back({a, b, c});
        }
    }
    // And every cube of four and of five half turns (many of them symmetric
    // deeper than the subtrees' first moves).
    std::vector<std::vector<int>> halves = {{}};
    for (int n = 1; n <= 5; ++n) {
        std::vector<std::vector<int>> longer;
        for (const std::vector<int>& h : halves)
            for (int f = 0; f < 6; ++f)
                if (testsupport::MayFollow(f, h.empty() ? -1 : h.back() / 3)) {
                    longer.push_back(h);
                    longer.back().push_back(f * 3 + 1);
                }
        halves = longer;
        if (n >= 4)
            scrambles.insert(scrambles.end(), halves.begin(), halves.end());
    }
    for (const std::vector<int>& scramble : scrambles) {
        BYTE colors[54];
        cubie::WriteFacelets(Scrambled(scramble), kStandard, colors);
        OptimalOptions options;
        options.nSolutions = 1000;
        const OptimalResult all = SolveOptimal(colors, options);
        ASSERT_TRUE(all.bProven);
        std::string strOnOne;
        for (int nThreads : {1, 2}) {
            options.nSolutions = 1;
            options.nThreads = nThreads;
            const OptimalResult first = SolveOptimal(colors, options);
            EXPECT_TRUE(first.bProven);
            EXPECT_NE(std::find(all.solutions.begin(), all.solutions.end(), first.moves), all.solutions.end())
                << testsupport::ModelText(scramble) << " on " << nThreads;
            if (nThreads == 1)
                strOnOne = first.moves;
            else
                EXPECT_EQ(first.moves, strOnOne) << testsupport::ModelText(scramble);
        }
    }
}

TEST(OptimalMany, SolvedCubeHasTheEmptySolutionOnly)
{
    BYTE colors[54];
    cubie::WriteFacelets(CubieCube(), kStandard, colors);
    OptimalOptions options;
    options.nSolutions = 5;
    options.bOneLonger = true;
    const OptimalResult r = SolveOptimal(colors, options);
    EXPECT_EQ(r.solutions, std::vector<std::string>{""});
}

} // namespace
