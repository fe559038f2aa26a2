// Coordinates, move tables and pruning tables against the cubie cube they
// describe: a wrong entry here makes the search miss solutions or give wrong ones.

#include "Coordinates.h"
#include "CubieCube.h"
#include "ShortSolver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#ifndef ZELVORS_SHORT_CUBES
#define ZELVORS_SHORT_CUBES 10000
#endif

namespace {

using namespace shortsolver;
using cubie::CubieCube;

// Plain breadth-first distances over every pair (a, b), as a reference.
std::vector<std::uint8_t> PairDistances(int nA, const std::vector<std::uint16_t>& moveA, int nB,
                                        const std::vector<std::uint16_t>& moveB, size_t nStart, int nMoves)
{
    std::vector<std::uint8_t> t(static_cast<size_t>(nA) * nB, 0xFF);
    std::vector<size_t> frontier = {nStart}, next;
    t[nStart] = 0;
    for (std::uint8_t d = 1; !frontier.empty(); ++d, frontier.swap(next)) {
        next.clear();
        for (size_t i : frontier)
            for (int k = 0; k < nMoves; ++k) {
                const size_t j = static_cast<size_t>(moveA[i / nB * nMoves + k]) * nB + moveB[i % nB * nMoves + k];
                if (t[j] == 0xFF) {
                    t[j] = d;
                    next.push_back(j);
                }
            }
    }
    return t;
}

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

// The phase-2 bound is the plain distance of the corner and slice permutations.
TEST(ShortTables, CornerSliceTableMatchesPlainDistances)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    const PruningTables& pt = t.pruning;
    const auto plain = PairDistances(coord::kCornerPermCount, pt.cornerPermMove, coord::kSlicePermCount,
                                     pt.slicePermMove, 0, kPhase2MoveCount);
    ASSERT_EQ(pt.cornerSlicePerm.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i)
        ASSERT_EQ(pt.cornerSlicePerm[i], plain[i]) << i;

    // The phase-2 move copies are the full tables' entries of those moves.
    const MoveTables& mt = t.moves;
    CubieCube h;
    std::mt19937 rng(6);
    for (int n = 0; n < 2000; ++n) {
        const int k = static_cast<int>(rng() % kPhase2MoveCount);
        const CubieCube d = h * mt.moveCube[kPhase2Moves[k]];
        ASSERT_EQ(pt.cornerPermMove[coord::CornerPerm(h) * kPhase2MoveCount + k], coord::CornerPerm(d));
        ASSERT_EQ(pt.slicePermMove[coord::SliceSorted(h) % 24 * kPhase2MoveCount + k], coord::SliceSorted(d) % 24);
        h = d;
    }
}

// The phase-2 bounds read before a walk down the large table: the edges with
// the slice, and the edges with the corners' places, are plain distances; the
// places are a coordinate of their own (equal places stay equal under every
// phase-2 move), so their distance never exceeds the corners' and edges'.
TEST(ShortTables, EdgeBoundsMatchPlainDistances)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    const PruningTables& pt = t.pruning;
    const MoveTables& mt = t.moves;
    const auto edgeSlice = PairDistances(coord::kEdge8PermCount, mt.edge8Perm, coord::kSlicePermCount,
                                         pt.slicePermMove, 0, kPhase2MoveCount);
    ASSERT_EQ(pt.edgeSlicePerm.size(), edgeSlice.size());
    for (size_t i = 0; i < edgeSlice.size(); ++i)
        ASSERT_EQ(pt.edgeSlicePerm[i], edgeSlice[i]) << i;

    std::vector<std::uint16_t> placeMove(static_cast<size_t>(PruningTables::kCornerPlaceCount) * kPhase2MoveCount,
                                         0xFFFF);
    for (int cp = 0; cp < coord::kCornerPermCount; ++cp) {
        const int place = pt.cornerPlace[static_cast<size_t>(cp)];
        ASSERT_LT(place, PruningTables::kCornerPlaceCount);
        for (int k = 0; k < kPhase2MoveCount; ++k) {
            std::uint16_t& after = placeMove[static_cast<size_t>(place) * kPhase2MoveCount + static_cast<size_t>(k)];
            const int next = pt.cornerPlace[pt.cornerPermMove[static_cast<size_t>(cp) * kPhase2MoveCount +
                                                              static_cast<size_t>(k)]];
            if (after == 0xFFFF)
                after = static_cast<std::uint16_t>(next);
            ASSERT_EQ(after, next) << cp << " " << k;
        }
    }
    const auto edgePlace = PairDistances(coord::kEdge8PermCount, mt.edge8Perm, PruningTables::kCornerPlaceCount,
                                         placeMove, pt.cornerPlace[0], kPhase2MoveCount);
    const int nStep = ZELVORS_SHORT_CUBES < 1000 ? 13 : 1;
    for (int e8 = 0; e8 < coord::kEdge8PermCount; e8 += nStep)
        for (int cp = 0; cp < coord::kCornerPermCount; cp += 97)
            ASSERT_EQ(pt.EdgeCornerPlace(e8, cp),
                      edgePlace[static_cast<size_t>(e8) * PruningTables::kCornerPlaceCount + pt.cornerPlace[cp]])
                << e8 << " " << cp;
}

} // namespace
