// Many optimal solutions: every solution of the fewest moves, in move order,
// as a brute-force walk over every move sequence finds them; then those one
// move longer; as many as asked for, the same on one and two threads, each
// distinct also up to the order of turns of opposite faces.

#include "CubeText.h"
#include "CubieCube.h"
#include "OptimalSolver.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using cubie::CubieCube;

const BYTE kStandard[6] = {1, 2, 3, 4, 5, 6};
const char kLetters[] = "TFRLBD";
const int kOpposite[6] = {5, 4, 3, 2, 1, 0};

CubieCube Turn(CubieCube c, int nMove)
{
    for (int q = 0; q <= nMove % 3; ++q)
        c = c * cubie::FaceTurn(nMove / 3);
    return c;
}

CubieCube Scrambled(const std::vector<int>& moves)
{
    CubieCube c;
    for (int m : moves)
        c = Turn(c, m);
    return c;
}

std::string Text(const std::vector<int>& moves)
{
    std::string s;
    for (int m : moves) {
        s += kLetters[m / 3];
        s += "+*-"[m % 3];
        s += '.';
    }
    return s;
}

// Every sequence of exactly nLeft more moves that solves c, in move order
// (faces in slot order, turns + * -; never one face twice running, of two
// opposite faces the lower slot first).
void AllSolutions(const CubieCube& c, int nLeft, std::vector<int>& path, std::vector<std::string>& out)
{
    if (nLeft == 0) {
        if (c == CubieCube())
            out.push_back(Text(path));
        return;
    }
    for (int m = 0; m < 18; ++m) {
        const int f = m / 3;
        if (!path.empty()) {
            const int last = path.back() / 3;
            if (f == last || (f == kOpposite[last] && f < last))
                continue;
        }
        path.push_back(m);
        AllSolutions(Turn(c, m), nLeft - 1, path, out);
        path.pop_back();
    }
}

// The moves with two turns of opposite faces side by side put lower slot first.
std::string Commuted(const std::string& s)
{
    std::string t = s;
    for (size_t p = 0; p + 5 < t.size(); p += 3) {
        const int a = static_cast<int>(std::string(kLetters).find(t[p]));
        const int b = static_cast<int>(std::string(kLetters).find(t[p + 3]));
        if (kOpposite[a] == b && b < a)
            std::swap_ranges(t.begin() + static_cast<long>(p), t.begin() + static_cast<long>(p) + 2,
                             t.begin() + static_cast<long>(p) + 3);
    }
    return t;
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
        EXPECT_EQ(one.solutions, all) << Text(c.scramble);
        EXPECT_EQ(one.moves, all[0]);
        ExpectEachSolves(colors, one.solutions);
        options.nThreads = 2;
        EXPECT_EQ(SolveOptimal(colors, options).solutions, all);
        // Fewer asked for: the first of them.
        options.nSolutions = 2;
        const OptimalResult two = SolveOptimal(colors, options);
        EXPECT_EQ(two.solutions, std::vector<std::string>(all.begin(), all.begin() + std::min<long>(2, all.size())));
        // The plain answer is unchanged: the first in move order.
        options.nSolutions = 1;
        options.nThreads = 1;
        const OptimalResult plain = SolveOptimal(colors, options);
        EXPECT_EQ(plain.moves, all[0]);
        EXPECT_EQ(plain.solutions, std::vector<std::string>{all[0]});
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
        EXPECT_EQ(one.solutions, expected) << Text(c.scramble);
        EXPECT_LE(one.solutions.size(), nCount);
        ExpectEachSolves(colors, one.solutions);
        options.nThreads = 2;
        options.nFromDepth = c.nLength; // as after a solve that proved it
        const OptimalResult two = SolveOptimal(colors, options);
        EXPECT_EQ(two.solutions, expected);
        EXPECT_EQ(two.length, c.nLength);
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
