// Coordinates, move tables and pruning tables against the cubie cube they
// describe: a wrong entry here makes the search miss solutions or give wrong ones.

#include "Coordinates.h"
#include "CubieCube.h"
#include "ShortSolver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

using namespace shortsolver;
using cubie::CubieCube;

TEST(ShortTables, EveryCoordinateValueRoundTrips)
{
    CubieCube c;
    for (int v = 0; v < coord::kTwistCount; ++v) {
        coord::SetTwist(c, v);
        ASSERT_EQ(coord::Twist(c), v);
        ASSERT_EQ(c.TwistSum(), 0);
    }
    for (int v = 0; v < coord::kFlipCount; ++v) {
        coord::SetFlip(c, v);
        ASSERT_EQ(coord::Flip(c), v);
        ASSERT_EQ(c.FlipSum(), 0);
    }
    for (int v = 0; v < coord::kSliceSortedCount; ++v) {
        coord::SetSliceSorted(c, v);
        ASSERT_EQ(coord::SliceSorted(c), v);
    }
    for (int v = 0; v < coord::kCornerPermCount; ++v) {
        coord::SetCornerPerm(c, v);
        ASSERT_EQ(coord::CornerPerm(c), v);
    }
    c = CubieCube();
    for (int v = 0; v < coord::kEdge8PermCount; ++v) {
        coord::SetEdge8Perm(c, v);
        ASSERT_EQ(coord::Edge8Perm(c), v);
        ASSERT_TRUE(c.IsWellFormed());
    }
    EXPECT_EQ(coord::SliceSorted(CubieCube()), coord::SolvedSlice() * 24);
}

TEST(ShortTables, MovesAgreeWithTheCubies)
{
    const MoveTables& mt = ShortSolverTables::Get().moves;
    std::mt19937 rng(5);
    for (int n = 0; n < 300; ++n) {
        const CubieCube c = cubie::RandomCubieCube(rng);
        for (int m = 0; m < kMoveCount; ++m) {
            const CubieCube d = c * mt.moveCube[m];
            ASSERT_EQ(mt.twist[coord::Twist(c) * kMoveCount + m], coord::Twist(d));
            ASSERT_EQ(mt.flip[coord::Flip(c) * kMoveCount + m], coord::Flip(d));
            ASSERT_EQ(mt.sliceSorted[coord::SliceSorted(c) * kMoveCount + m], coord::SliceSorted(d));
            ASSERT_EQ(mt.slice[coord::SliceSorted(c) / 24 * kMoveCount + m], coord::SliceSorted(d) / 24);
            ASSERT_EQ(mt.cornerPerm[coord::CornerPerm(c) * kMoveCount + m], coord::CornerPerm(d));
        }
    }
    // Edge permutation inside H, along random phase-2 move sequences.
    CubieCube h;
    for (int n = 0; n < 3000; ++n) {
        const int k = static_cast<int>(rng() % kPhase2MoveCount);
        const CubieCube d = h * mt.moveCube[kPhase2Moves[k]];
        ASSERT_EQ(mt.edge8Perm[coord::Edge8Perm(h) * kPhase2MoveCount + k], coord::Edge8Perm(d));
        h = d;
    }
}

// Each table is a distance: 0 exactly at the goal, never more than the moves
// a scramble used, and one move changes it by at most one.
TEST(ShortTables, PruningValuesAreDistances)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    const PruningTables& pt = t.pruning;
    const MoveTables& mt = t.moves;
    const int s0 = coord::SolvedSlice();
    EXPECT_EQ(pt.TwistSlice(0, s0), 0);
    EXPECT_EQ(pt.FlipSlice(0, s0), 0);
    EXPECT_EQ(pt.TwistFlip(0, 0), 0);
    EXPECT_EQ(pt.cornerSlicePerm[0], 0);
    EXPECT_EQ(pt.edgeSlicePerm[0], 0);

    std::mt19937 rng(6);
    for (int n = 0; n < 200; ++n) {
        CubieCube c;
        const int nMoves = 1 + static_cast<int>(rng() % 12);
        for (int i = 0; i < nMoves; ++i)
            c = c * mt.moveCube[rng() % kMoveCount];
        const int tw = coord::Twist(c), fl = coord::Flip(c), sl = coord::SliceSorted(c) / 24;
        EXPECT_LE(pt.TwistSlice(tw, sl), nMoves);
        EXPECT_LE(pt.FlipSlice(fl, sl), nMoves);
        EXPECT_LE(pt.TwistFlip(tw, fl), nMoves);
        for (int m = 0; m < kMoveCount; ++m) {
            const int tw2 = mt.twist[tw * kMoveCount + m], sl2 = mt.slice[sl * kMoveCount + m];
            EXPECT_LE(std::abs(pt.TwistSlice(tw, sl) - pt.TwistSlice(tw2, sl2)), 1);
        }
        CubieCube h;
        for (int i = 0; i < nMoves; ++i)
            h = h * mt.moveCube[kPhase2Moves[rng() % kPhase2MoveCount]];
        const int sp = coord::SliceSorted(h) % 24;
        EXPECT_LE(pt.cornerSlicePerm[coord::CornerPerm(h) * 24 + sp], nMoves);
        EXPECT_LE(pt.edgeSlicePerm[coord::Edge8Perm(h) * 24 + sp], nMoves);
    }
}

} // namespace
