// The short solver's search carried on past its first solution: within a
// bound it meets every solution there is (a brute-force walk over every move
// sequence is the reference), each checked, in the same order on every run;
// the node budget, the caller's "enough" and the cancel flag stop it.

#include "CubeText.h"
#include "CubieCube.h"
#include "MoveWalk.h"
#include "ShortSolver.h"
#include "TestCube.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using cubie::CubieCube;

using testsupport::Commuted;
using testsupport::kModelLetters;
using testsupport::Turn;

// Every sequence of at most nLeft more moves that solves c (never one face
// twice running, of two opposite faces the lower slot first).
void AllSolutions(const CubieCube& c, int nLeft, std::string& path, int nLast, std::set<std::string>& out)
{
    if (c == CubieCube())
        out.insert(path);
    if (nLeft == 0)
        return;
    for (int m = 0; m < 18; ++m) {
        const int f = m / 3;
        if (!testsupport::MayFollow(f, nLast))
            continue;
        path += kModelLetters[f];
        path += "+*-"[m % 3];
        path += '.';
        AllSolutions(Turn(c, m), nLeft - 1, path, f, out);
        path.resize(path.size() - 3);
    }
}

std::vector<std::string> Collect(const BYTE colors[54], int nBound, std::uint64_t nNodes, size_t nEnough = 0,
                                 const std::atomic<bool>* pCancel = nullptr)
{
    std::vector<std::string> met;
    shortsolver::CollectOptions options;
    options.nNodes = nNodes;
    options.pCancel = pCancel;
    options.found = [&](const std::string& s) {
        met.push_back(s);
        return nEnough != 0 && met.size() >= nEnough;
    };
    shortsolver::CollectSolutions(colors, nBound, options);
    return met;
}

TEST(CollectSolutions, MeetsEverySolutionWithinTheBound)
{
    const std::vector<std::vector<int>> scrambles = {{4}, {0, 4}, {7, 1, 10}, {2, 6, 12, 3}, {13, 7, 13, 7}, {0, 15, 4}};
    for (const std::vector<int>& scramble : scrambles) {
        CubieCube cube;
        for (int m : scramble)
            cube = Turn(cube, m);
        BYTE colors[54];
        cubie::WriteFacelets(cube, kStandard, colors);
        const int nBound = static_cast<int>(scramble.size()) + 2;
        std::set<std::string> all;
        std::string path;
        AllSolutions(cube, nBound, path, -1, all);
        const std::vector<std::string> met = Collect(colors, nBound, UINT64_MAX);
        std::set<std::string> canonical;
        for (const std::string& s : met) {
            CCubeSolver model;
            LoadCube(model, colors);
            model.ExecuteMoves(s);
            EXPECT_TRUE(model.IsSolved()) << s;
            EXPECT_LE(s.size() / 3, static_cast<size_t>(nBound));
            canonical.insert(Commuted(s));
        }
        EXPECT_EQ(canonical, all) << scramble.size();
        EXPECT_EQ(Collect(colors, nBound, UINT64_MAX), met); // the same order on every run
    }
}

TEST(CollectSolutions, StopsWhenToldTheBudgetRunsOutOrCancelled)
{
    std::mt19937 rng(3);
    BYTE colors[54];
    cubie::WriteFacelets(cubie::RandomCubieCube(rng), kStandard, colors);
    const std::vector<std::string> many = Collect(colors, 20, std::uint64_t(1) << 22);
    ASSERT_GT(many.size(), 5u);
    // Enough after three: the first three met.
    EXPECT_EQ(Collect(colors, 20, std::uint64_t(1) << 22, 3),
              std::vector<std::string>(many.begin(), many.begin() + 3));
    // Fewer nodes: what was met before they ran out, the same.
    const std::vector<std::string> fewer = Collect(colors, 20, std::uint64_t(1) << 20);
    ASSERT_LE(fewer.size(), many.size());
    EXPECT_EQ(fewer, std::vector<std::string>(many.begin(), many.begin() + static_cast<long>(fewer.size())));
    const std::atomic<bool> bCancel{true};
    EXPECT_LE(Collect(colors, 20, UINT64_MAX, 0, &bCancel).size(), many.size()); // ends at once
    // Solved and no cube: nothing.
    BYTE solved[54];
    cubie::WriteFacelets(CubieCube(), kStandard, solved);
    EXPECT_TRUE(Collect(solved, 20, UINT64_MAX).empty());
    const BYTE blank[54] = {};
    EXPECT_TRUE(Collect(blank, 20, UINT64_MAX).empty());
}

} // namespace
