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
                                        const std::vector<std::uint16_t>& moveB, size_t nStart)
{
    std::vector<std::uint8_t> t(static_cast<size_t>(nA) * nB, 0xFF);
    std::vector<size_t> frontier = {nStart}, next;
    t[nStart] = 0;
    for (std::uint8_t d = 1; !frontier.empty(); ++d, frontier.swap(next)) {
        next.clear();
        for (size_t i : frontier)
            for (int k = 0; k < kMoveCount; ++k) {
                const size_t j = static_cast<size_t>(moveA[i / nB * kMoveCount + k]) * nB +
                                 moveB[i % nB * kMoveCount + k];
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

TEST(ShortTables, HalfTurnsOfTheWholeCubeMapFacesToFaces)
{
    // Slots T F R L B D after each half turn: about T/D, R/L, F/B.
    const int kFaceAfter[kSymCount][6] = {
        {0, 1, 2, 3, 4, 5}, {0, 4, 3, 2, 1, 5}, {5, 4, 2, 3, 1, 0}, {5, 1, 3, 2, 4, 0}};
    for (int s = 0; s < kSymCount; ++s)
        for (int f = 0; f < 6; ++f)
            EXPECT_EQ(Conjugate(cubie::FaceTurn(f), s), cubie::FaceTurn(kFaceAfter[s][f])) << s << f;
}

TEST(ShortTables, SymmetryReducedTablesMatchPlainDistances)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    const MoveTables& mt = t.moves;
    const int s0 = coord::SolvedSlice();
    const auto ts = PairDistances(coord::kTwistCount, mt.twist, coord::kSliceCount, mt.slice, s0);
    const auto fs = PairDistances(coord::kFlipCount, mt.flip, coord::kSliceCount, mt.slice, s0);
    for (int a = 0; a < coord::kTwistCount; ++a)
        for (int b = 0; b < coord::kSliceCount; ++b)
            ASSERT_EQ(t.pruning.TwistSlice(a, b), ts[a * coord::kSliceCount + b]) << a << " " << b;
    for (int a = 0; a < coord::kFlipCount; ++a)
        for (int b = 0; b < coord::kSliceCount; ++b)
            ASSERT_EQ(t.pruning.FlipSlice(a, b), fs[a * coord::kSliceCount + b]) << a << " " << b;
    if (ZELVORS_SHORT_CUBES < 1000)
        return; // the largest table takes long in the sanitizer build
    const auto tf = PairDistances(coord::kTwistCount, mt.twist, coord::kFlipCount, mt.flip, 0);
    for (int a = 0; a < coord::kTwistCount; ++a)
        for (int b = 0; b < coord::kFlipCount; ++b)
            ASSERT_EQ(t.pruning.TwistFlip(a, b), tf[a * coord::kFlipCount + b]) << a << " " << b;
}

// The corners' places are a coordinate of their own: two corner
// permutations with the same places keep equal places under every phase-2
// move, and the places with the edges are 0 only when both are solved.
TEST(ShortTables, CornerPlacesFollowThePhase2Moves)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    const PruningTables& pt = t.pruning;
    const MoveTables& mt = t.moves;
    std::vector<int> after(static_cast<size_t>(PruningTables::kCornerPlaceCount) * kPhase2MoveCount, -1);
    std::vector<bool> seen(PruningTables::kCornerPlaceCount, false);
    for (int cp = 0; cp < coord::kCornerPermCount; ++cp) {
        const int place = pt.cornerPlace[cp];
        ASSERT_LT(place, PruningTables::kCornerPlaceCount);
        seen[static_cast<size_t>(place)] = true;
        for (int k = 0; k < kPhase2MoveCount; ++k) {
            int& a = after[static_cast<size_t>(place) * kPhase2MoveCount + k];
            const int next = pt.cornerPlace[mt.cornerPerm[cp * kMoveCount + kPhase2Moves[k]]];
            if (a < 0)
                a = next;
            ASSERT_EQ(a, next) << cp << " " << k;
        }
    }
    for (bool b : seen)
        EXPECT_TRUE(b);
    size_t nZero = 0;
    for (int e8 = 0; e8 < coord::kEdge8PermCount; ++e8)
        for (int p = 0; p < PruningTables::kCornerPlaceCount; ++p)
            nZero += pt.edgeCornerPlace[static_cast<size_t>(e8) * PruningTables::kCornerPlaceCount + p] == 0;
    EXPECT_EQ(nZero, 1u);
    EXPECT_EQ(pt.edgeCornerPlace[pt.cornerPlace[0]], 0);
    // One phase-2 move away: distance 1.
    for (int k = 0; k < kPhase2MoveCount; ++k) {
        const CubieCube& h = mt.moveCube[kPhase2Moves[k]];
        EXPECT_EQ(pt.edgeCornerPlace[static_cast<size_t>(coord::Edge8Perm(h)) * PruningTables::kCornerPlaceCount +
                                     pt.cornerPlace[coord::CornerPerm(h)]],
                  1)
            << k;
    }
}

// The lowering moves the search restricts itself to at a tight node: exactly
// the moves that bring the entry one lower, for every pair.
TEST(ShortTables, LoweringMovesAreExactlyThoseThatLowerTheEntry)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    const PruningTables& pt = t.pruning;
    const MoveTables& mt = t.moves;
    // Every pair, or every seventh in the sanitizer build.
    const int nStep = ZELVORS_SHORT_CUBES < 1000 ? 7 : 1;
    for (int a = 0; a < coord::kTwistCount; ++a)
        for (int b = a % nStep; b < coord::kSliceCount; b += nStep) {
            std::uint32_t expected = 0;
            for (int m = 0; m < kMoveCount; ++m)
                if (pt.TwistSlice(mt.twist[a * kMoveCount + m], mt.slice[b * kMoveCount + m]) <
                    pt.TwistSlice(a, b))
                    expected |= 1u << m;
            ASSERT_EQ(pt.twistSliceDown[PruningTables::TwistSliceIndex(a, b)], expected) << a << " " << b;
        }
    for (int a = 0; a < coord::kFlipCount; ++a)
        for (int b = a % nStep; b < coord::kSliceCount; b += nStep) {
            std::uint32_t expected = 0;
            for (int m = 0; m < kMoveCount; ++m)
                if (pt.FlipSlice(mt.flip[a * kMoveCount + m], mt.slice[b * kMoveCount + m]) < pt.FlipSlice(a, b))
                    expected |= 1u << m;
            ASSERT_EQ(pt.flipSliceDown[PruningTables::FlipSliceIndex(a, b)], expected) << a << " " << b;
        }
    // Every pair but the goal has a lowering move.
    EXPECT_EQ(pt.twistSliceDown[PruningTables::TwistSliceIndex(0, coord::SolvedSlice())], 0u);
    EXPECT_NE(pt.twistSliceDown[PruningTables::TwistSliceIndex(1, coord::SolvedSlice())], 0u);
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
        EXPECT_LE(pt.edgeCornerPlace[static_cast<size_t>(coord::Edge8Perm(h)) * PruningTables::kCornerPlaceCount +
                                     pt.cornerPlace[coord::CornerPerm(h)]],
                  nMoves);
    }
}

} // namespace
