// The axis symmetries and the symmetry-reduced distance tables of the short
// solver, against references computed here without them: a wrong class, a
// wrong conjugation or a wrong entry makes the search cut a branch that holds
// the shortest solution, or walk a path that does not exist.
// ZELVORS_SHORT_CUBES scales the loops (smaller in the sanitizer build).

#include "Coordinates.h"
#include "CubieCube.h"
#include "DepthTables.h"
#include "ShortSolver.h"
#include "Symmetries.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#ifndef ZELVORS_SHORT_CUBES
#define ZELVORS_SHORT_CUBES 10000
#endif

namespace {

using namespace shortsolver;
using cubie::CubieCube;

// A full build (not the sanitizers') affords the exhaustive sweeps.
constexpr bool kFull = ZELVORS_SHORT_CUBES >= 1000;
const int kRandomCubes = std::max(10, ZELVORS_SHORT_CUBES / 50);

// Move face * 3 + turn as a cubie cube, from the quarter turns alone.
CubieCube MoveCube(int m)
{
    CubieCube c;
    for (int q = 0; q <= m % 3; ++q)
        c = c * cubie::FaceTurn(m / 3);
    return c;
}

bool InH(const CubieCube& c)
{
    return coord::Twist(c) == 0 && coord::Flip(c) == 0 && coord::SliceSorted(c) / 24 == coord::SolvedSlice();
}

// A cube of H: a random sequence of phase-2 moves.
CubieCube RandomInH(std::mt19937& rng, int nMoves = 40)
{
    CubieCube c;
    for (int n = 0; n < nMoves; ++n)
        c = c * MoveCube(kPhase2Moves[rng() % kPhase2MoveCount]);
    return c;
}

size_t FlipSliceOf(const CubieCube& c)
{
    return static_cast<size_t>(coord::Flip(c)) * coord::kSliceCount + static_cast<size_t>(coord::SliceSorted(c) / 24);
}

CubieCube FlipSliceCube(size_t v)
{
    CubieCube c;
    coord::SetFlip(c, static_cast<int>(v / coord::kSliceCount));
    coord::SetSliceSorted(c, static_cast<int>(v % coord::kSliceCount) * 24);
    return c;
}

CubieCube CornerCube(size_t v)
{
    CubieCube c;
    coord::SetCornerPerm(c, static_cast<int>(v));
    return c;
}

size_t CornersOf(const CubieCube& c)
{
    return static_cast<size_t>(coord::CornerPerm(c));
}

int Phase1(const ShortSolverTables& t, const CubieCube& c)
{
    return t.depth.Phase1Distance(t.moves, coord::Flip(c), coord::SliceSorted(c) / 24, coord::Twist(c));
}

int Phase2(const ShortSolverTables& t, const CubieCube& c, int nMax = 30)
{
    return t.depth.Phase2Distance(t.moves, t.pruning, coord::CornerPerm(c), coord::Edge8Perm(c),
                                  nMax);
}

// Plain breadth-first distances of every pair (a, b) from nStart = a * nB + b.
std::vector<std::uint8_t> PairDistances(int nA, const std::vector<std::uint16_t>& moveA, int nB,
                                        const std::vector<std::uint16_t>& moveB, size_t nStart)
{
    std::vector<std::uint8_t> dist(static_cast<size_t>(nA) * static_cast<size_t>(nB), 0xFF);
    std::vector<size_t> frontier = {nStart}, next;
    dist[nStart] = 0;
    for (std::uint8_t d = 1; !frontier.empty(); ++d, frontier.swap(next)) {
        next.clear();
        for (size_t i : frontier)
            for (int k = 0; k < kMoveCount; ++k) {
                const size_t j =
                    static_cast<size_t>(moveA[i / nB * kMoveCount + k]) * nB + moveB[i % nB * kMoveCount + k];
                if (dist[j] == 0xFF) {
                    dist[j] = d;
                    next.push_back(j);
                }
            }
    }
    return dist;
}

// ---------------------------------------------------------------------------
// The 16 symmetries of the T/D axis

TEST(AxisSymmetry, IdentityMirrorsInversesAndMoveMaps)
{
    const std::set<int> phase2(std::begin(kPhase2Moves), std::end(kPhase2Moves));
    int nMirrors = 0;
    for (int s = 0; s < kAxisSymCount; ++s) {
        const AxisSymmetry& a = GetAxisSymmetry(s);
        nMirrors += a.bMirror;
        ASSERT_GE(a.inverse, 0);
        ASSERT_LT(a.inverse, kAxisSymCount);
        EXPECT_EQ(GetAxisSymmetry(a.inverse).inverse, s) << s;
        EXPECT_EQ(GetAxisSymmetry(a.inverse).bMirror, a.bMirror) << s;
        std::set<int> images;
        for (int m = 0; m < kMoveCount; ++m) {
            const int to = a.moveTo[m];
            ASSERT_GE(to, 0);
            ASSERT_LT(to, kMoveCount);
            images.insert(to);
            EXPECT_EQ(phase2.count(m), phase2.count(to)) << "symmetry " << s << " move " << m;
            // T and D stay on the axis; a half turn stays half; a mirror reverses the sense.
            EXPECT_EQ(m / 3 == 0 || m / 3 == 5, to / 3 == 0 || to / 3 == 5) << s << " " << m;
            EXPECT_EQ(to % 3, a.bMirror ? 2 - m % 3 : m % 3) << s << " " << m;
            EXPECT_EQ(GetAxisSymmetry(a.inverse).moveTo[to], m) << s << " " << m;
            EXPECT_EQ(ConjugateAxis(MoveCube(m), s), MoveCube(to)) << "symmetry " << s << " move " << m;
        }
        EXPECT_EQ(images.size(), static_cast<size_t>(kMoveCount)) << s;
        EXPECT_EQ(ConjugateAxis(CubieCube(), s), CubieCube()) << s;
    }
    EXPECT_EQ(nMirrors, 8);
    const AxisSymmetry& id = GetAxisSymmetry(0);
    EXPECT_FALSE(id.bMirror);
    EXPECT_EQ(id.inverse, 0);
    for (int m = 0; m < kMoveCount; ++m)
        EXPECT_EQ(id.moveTo[m], m);
}

TEST(AxisSymmetry, ConjugationRespectsMovesProductsInversesAndH)
{
    std::mt19937 rng(11);
    for (int n = 0; n < kRandomCubes; ++n) {
        const CubieCube x = cubie::RandomCubieCube(rng);
        const CubieCube y = cubie::RandomCubieCube(rng);
        const CubieCube h = RandomInH(rng);
        ASSERT_EQ(ConjugateAxis(x, 0), x);
        for (int s = 0; s < kAxisSymCount; ++s) {
            const AxisSymmetry& a = GetAxisSymmetry(s);
            const CubieCube xs = ConjugateAxis(x, s);
            ASSERT_TRUE(xs.IsSolvable()) << s;
            ASSERT_EQ(ConjugateAxis(xs, a.inverse), x) << s;
            ASSERT_EQ(ConjugateAxis(x * y, s), xs * ConjugateAxis(y, s)) << s;
            ASSERT_EQ(ConjugateAxis(x.Inverse(), s), xs.Inverse()) << s;
            for (int m = 0; m < kMoveCount; ++m)
                ASSERT_EQ(ConjugateAxis(x * MoveCube(m), s), xs * MoveCube(a.moveTo[m])) << s << " " << m;
            ASSERT_TRUE(InH(ConjugateAxis(h, s))) << s;
        }
    }
}

TEST(AxisSymmetry, ConjugationsOfACubeWithoutSymmetryAreSixteenAndClose)
{
    std::mt19937 rng(12);
    const CubieCube x = cubie::RandomCubieCube(rng);
    std::vector<CubieCube> images;
    for (int s = 0; s < kAxisSymCount; ++s)
        images.push_back(ConjugateAxis(x, s));
    for (int s = 0; s < kAxisSymCount; ++s)
        for (int t = 0; t < s; ++t)
            ASSERT_NE(images[static_cast<size_t>(s)], images[static_cast<size_t>(t)]) << s << " " << t;

    // Conjugating by s then by t is conjugating by one u, the same for every cube.
    std::vector<CubieCube> others;
    for (int n = 0; n < 10; ++n)
        others.push_back(cubie::RandomCubieCube(rng));
    for (int s = 0; s < kAxisSymCount; ++s) {
        std::set<int> products;
        for (int t = 0; t < kAxisSymCount; ++t) {
            const CubieCube st = ConjugateAxis(images[static_cast<size_t>(s)], t);
            const auto it = std::find(images.begin(), images.end(), st);
            ASSERT_NE(it, images.end()) << s << " then " << t;
            const int u = static_cast<int>(it - images.begin());
            products.insert(u);
            for (const CubieCube& o : others)
                ASSERT_EQ(ConjugateAxis(ConjugateAxis(o, s), t), ConjugateAxis(o, u)) << s << " " << t;
            if (t == GetAxisSymmetry(s).inverse) {
                EXPECT_EQ(u, 0) << s;
            }
        }
        EXPECT_EQ(products.size(), static_cast<size_t>(kAxisSymCount)) << s;
    }
}

// ---------------------------------------------------------------------------
// Classes

// Every value sampled (every nStep-th, and every class) is checked against
// the conjugations it claims.
template <class CubeOf, class CoordOf>
void CheckClasses(const SymClasses& sc, size_t nCount, size_t nClasses, CubeOf cubeOf, CoordOf coordOf, size_t nStep)
{
    ASSERT_EQ(sc.classOf.size(), nCount);
    ASSERT_EQ(sc.rep.size(), nClasses);
    ASSERT_EQ(sc.stabiliser.size(), nClasses);
    for (size_t c = 0; c < nClasses; ++c) {
        if (c > 0) {
            ASSERT_LT(sc.rep[c - 1], sc.rep[c]) << c;
        }
        ASSERT_LT(sc.rep[c], nCount);
        const std::uint32_t cs = sc.classOf[sc.rep[c]];
        ASSERT_EQ(cs / kAxisSymCount, c) << "representative " << sc.rep[c];
        ASSERT_TRUE(sc.stabiliser[c] & 1) << c;
        const CubieCube r = cubeOf(sc.rep[c]);
        for (int s = 0; s < kAxisSymCount; ++s)
            ASSERT_EQ((sc.stabiliser[c] >> s & 1) != 0, coordOf(ConjugateAxis(r, s)) == sc.rep[c])
                << "class " << c << " symmetry " << s;
    }
    for (size_t v = 0; v < nCount; v += nStep) {
        const std::uint32_t cs = sc.classOf[v];
        ASSERT_LT(cs / kAxisSymCount, nClasses) << v;
        const std::uint32_t rep = sc.rep[cs / kAxisSymCount];
        ASSERT_LE(rep, v);
        const CubieCube c = cubeOf(v);
        ASSERT_EQ(coordOf(ConjugateAxis(c, static_cast<int>(cs % kAxisSymCount))), rep) << "value " << v;
        // Classes are whole orbits: every image lies in the same class.
        if (v % (nStep * 7) != 0)
            continue;
        for (int s = 1; s < kAxisSymCount; ++s)
            ASSERT_EQ(sc.classOf[coordOf(ConjugateAxis(c, s))] / kAxisSymCount, cs / kAxisSymCount) << v << " " << s;
    }
}

TEST(DepthTables, FlipSliceClassesAreOrbitsWithTheirLeastMembers)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    CheckClasses(t.depth.flipSlice, static_cast<size_t>(coord::kFlipCount) * coord::kSliceCount, kFlipSliceClassCount,
                 FlipSliceCube, FlipSliceOf, kFull ? 1 : 61);
}

TEST(DepthTables, CornerClassesAreOrbitsWithTheirLeastMembers)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    CheckClasses(t.depth.corners, static_cast<size_t>(coord::kCornerPermCount), kCornerClassCount, CornerCube,
                 CornersOf, kFull ? 1 : 7);
}

TEST(DepthTables, ConjugatedCoordinatesAgreeWithConjugatedCubes)
{
    const DepthTables& d = ShortSolverTables::Get().depth;
    ASSERT_EQ(d.twistConj.size(), static_cast<size_t>(coord::kTwistCount) * kAxisSymCount);
    ASSERT_EQ(d.edge8Conj.size(), static_cast<size_t>(coord::kEdge8PermCount) * kAxisSymCount);
    // The stored columns hold any cube's coordinate after the symmetry, not
    // only the cubes the setters make.
    std::mt19937 rng(13);
    for (int n = 0; n < kRandomCubes; ++n) {
        const CubieCube x = cubie::RandomCubieCube(rng);
        const CubieCube h = RandomInH(rng);
        const size_t twist = static_cast<size_t>(coord::Twist(x));
        const size_t edge8 = static_cast<size_t>(coord::Edge8Perm(h));
        for (int s = 0; s < kAxisSymCount; ++s) {
            const CubieCube xs = ConjugateAxis(x, s);
            ASSERT_EQ(d.twistConj[twist * kAxisSymCount + static_cast<size_t>(s)], coord::Twist(xs)) << s;
            ASSERT_EQ(d.flipSlice.classOf[FlipSliceOf(xs)] / kAxisSymCount,
                      d.flipSlice.classOf[FlipSliceOf(x)] / kAxisSymCount)
                << s;
            ASSERT_EQ(d.corners.classOf[CornersOf(xs)] / kAxisSymCount, d.corners.classOf[CornersOf(x)] / kAxisSymCount)
                << s;
            ASSERT_EQ(d.edge8Conj[edge8 * kAxisSymCount + static_cast<size_t>(s)],
                      coord::Edge8Perm(ConjugateAxis(h, s)))
                << s;
        }
    }
    CubieCube c;
    for (int v = 0; v < coord::kTwistCount; ++v) {
        coord::SetTwist(c, v);
        for (int s = 0; s < kAxisSymCount; ++s)
            ASSERT_EQ(d.twistConj[static_cast<size_t>(v) * kAxisSymCount + static_cast<size_t>(s)],
                      coord::Twist(ConjugateAxis(c, s)))
                << v << " " << s;
    }
    c = CubieCube();
    for (int v = 0; v < coord::kEdge8PermCount; v += kFull ? 1 : 13) {
        coord::SetEdge8Perm(c, v);
        for (int s = 0; s < kAxisSymCount; ++s)
            ASSERT_EQ(d.edge8Conj[static_cast<size_t>(v) * kAxisSymCount + static_cast<size_t>(s)],
                      coord::Edge8Perm(ConjugateAxis(c, s)))
                << v << " " << s;
    }
}

// ---------------------------------------------------------------------------
// Exact distances near the goal, by breadth-first search over coordinates

TEST(DepthTables, Phase1DistancesNearHAreExact)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    const MoveTables& mt = t.moves;
    const int nDepth = kFull ? 5 : 4;
    using Key = std::uint64_t; // (flip * kSliceCount + slice) * kTwistCount + twist
    auto key = [](size_t f, size_t s, size_t tw) -> Key {
        return (f * coord::kSliceCount + s) * coord::kTwistCount + tw;
    };
    std::unordered_map<Key, int> dist;
    std::vector<Key> frontier = {key(0, static_cast<size_t>(coord::SolvedSlice()), 0)}, next;
    dist[frontier[0]] = 0;
    auto neighbour = [&mt, &key](Key k, int m) {
        const size_t tw = k % coord::kTwistCount, fs = k / coord::kTwistCount;
        const size_t f = fs / coord::kSliceCount, s = fs % coord::kSliceCount;
        return key(mt.flip[f * kMoveCount + static_cast<size_t>(m)], mt.slice[s * kMoveCount + static_cast<size_t>(m)],
                   mt.twist[tw * kMoveCount + static_cast<size_t>(m)]);
    };
    auto phase1 = [&t](Key k) {
        const size_t fs = k / coord::kTwistCount;
        return t.depth.Phase1Distance(t.moves, static_cast<int>(fs / coord::kSliceCount),
                                      static_cast<int>(fs % coord::kSliceCount),
                                      static_cast<int>(k % coord::kTwistCount));
    };
    for (int d = 0; d <= nDepth; ++d) {
        next.clear();
        for (Key k : frontier) {
            ASSERT_EQ(phase1(k), d) << "flip-slice " << k / coord::kTwistCount << " twist " << k % coord::kTwistCount;
            for (int m = 0; m < kMoveCount; ++m) {
                const Key n = neighbour(k, m);
                if (dist.emplace(n, d + 1).second)
                    next.push_back(n);
            }
        }
        frontier.swap(next);
    }
    // The first level beyond: some of its states (all of them in a full build)
    // are no nearer than the search says.
    const size_t nStep = kFull ? 1 : 97;
    for (size_t i = 0; i < frontier.size(); i += nStep)
        ASSERT_EQ(phase1(frontier[i]), nDepth + 1) << "flip-slice " << frontier[i] / coord::kTwistCount;
    EXPECT_GT(dist.size(), 1000u);
}

TEST(DepthTables, Phase2DistancesNearTheGoalAreExact)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    const MoveTables& mt = t.moves;
    ASSERT_EQ(t.pruning.cornerPermMove.size(), static_cast<size_t>(coord::kCornerPermCount) * kPhase2MoveCount);
    const int nDepth = kFull ? 6 : 5;
    const size_t nEdges = coord::kEdge8PermCount;
    // Key corner * 8! + edge8; the corners move by the full move table, not the
    // phase-2 copy the distance walk uses.
    std::unordered_map<size_t, int> dist;
    std::vector<size_t> frontier = {0}, next;
    dist[0] = 0;
    for (int d = 0; d <= nDepth; ++d) {
        next.clear();
        for (size_t k : frontier) {
            const int c = static_cast<int>(k / nEdges), e = static_cast<int>(k % nEdges);
            ASSERT_EQ(t.depth.Phase2Distance(mt, t.pruning, c, e, 30), d)
                << "corners " << c << " edges " << e;
            if (d > 0) {
                // Above the bound: reported as the bound plus one.
                ASSERT_EQ(t.depth.Phase2Distance(mt, t.pruning, c, e, d - 1), d);
                ASSERT_EQ(t.depth.Phase2Distance(mt, t.pruning, c, e, d), d);
            }
            for (int j = 0; j < kPhase2MoveCount; ++j) {
                const size_t n =
                    static_cast<size_t>(
                        mt.cornerPerm[static_cast<size_t>(c) * kMoveCount + static_cast<size_t>(kPhase2Moves[j])]) *
                        nEdges +
                    mt.edge8Perm[static_cast<size_t>(e) * kPhase2MoveCount + static_cast<size_t>(j)];
                if (dist.emplace(n, d + 1).second)
                    next.push_back(n);
            }
        }
        frontier.swap(next);
    }
    const size_t nStep = kFull ? 1 : 97;
    for (size_t i = 0; i < frontier.size(); i += nStep) {
        const int c = static_cast<int>(frontier[i] / nEdges), e = static_cast<int>(frontier[i] % nEdges);
        ASSERT_EQ(t.depth.Phase2Distance(mt, t.pruning, c, e, 30), nDepth + 1)
            << "corners " << c << " edges " << e;
    }
}

// ---------------------------------------------------------------------------
// Exact distances far from the goal, by an independent search

// Iterative deepening over the phase-1 coordinates, bounded by plain
// breadth-first distances of coordinate pairs (each a lower bound).
class Phase1Search {
public:
    explicit Phase1Search(const MoveTables& mt) : m_mt(mt)
    {
        const size_t s0 = static_cast<size_t>(coord::SolvedSlice());
        m_twistSlice = PairDistances(coord::kTwistCount, mt.twist, coord::kSliceCount, mt.slice, s0);
        m_flipSlice = PairDistances(coord::kFlipCount, mt.flip, coord::kSliceCount, mt.slice, s0);
        m_twistFlip = PairDistances(coord::kTwistCount, mt.twist, coord::kFlipCount, mt.flip, 0);
    }

    int Shortest(int flip, int slice, int twist)
    {
        for (int n = Bound(flip, slice, twist);; ++n)
            if (Search(flip, slice, twist, n, -1))
                return n;
    }

private:
    int Bound(size_t flip, size_t slice, size_t twist) const
    {
        return std::max({m_twistSlice[twist * coord::kSliceCount + slice],
                         m_flipSlice[flip * coord::kSliceCount + slice],
                         m_twistFlip[twist * coord::kFlipCount + flip]});
    }
    bool Search(int flip, int slice, int twist, int nLeft, int nLastFace)
    {
        if (nLeft == 0)
            return flip == 0 && twist == 0 && slice == coord::SolvedSlice();
        for (int m = 0; m < kMoveCount; ++m) {
            const int face = m / 3;
            // The same face twice is one move; opposite faces commute, so
            // only one of their orders is tried (faces f and 5 - f are opposite).
            if (face == nLastFace || (face == 5 - nLastFace && face < nLastFace))
                continue;
            const int f = m_mt.flip[static_cast<size_t>(flip) * kMoveCount + static_cast<size_t>(m)];
            const int s = m_mt.slice[static_cast<size_t>(slice) * kMoveCount + static_cast<size_t>(m)];
            const int t = m_mt.twist[static_cast<size_t>(twist) * kMoveCount + static_cast<size_t>(m)];
            if (Bound(static_cast<size_t>(f), static_cast<size_t>(s), static_cast<size_t>(t)) < nLeft &&
                Search(f, s, t, nLeft - 1, face))
                return true;
        }
        return false;
    }

    const MoveTables& m_mt;
    std::vector<std::uint8_t> m_twistSlice, m_flipSlice, m_twistFlip;
};

TEST(DepthTables, Phase1DistancesOfRandomCubesMatchAnIndependentSearch)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    Phase1Search search(t.moves);
    std::mt19937 rng(14);
    const int nCubes = kFull ? 20 : 3;
    int nLongest = 0;
    for (int n = 0; n < nCubes; ++n) {
        const CubieCube x = cubie::RandomCubieCube(rng);
        const int d = search.Shortest(coord::Flip(x), coord::SliceSorted(x) / 24, coord::Twist(x));
        ASSERT_EQ(Phase1(t, x), d) << "cube " << n;
        nLongest = std::max(nLongest, d);
    }
    // Uniformly random cubes lie far from H (at most 12 moves, mostly 10 or more).
    EXPECT_GE(nLongest, 9);
    EXPECT_LE(nLongest, 12);
}

// ---------------------------------------------------------------------------
// Consistency: symmetric cubes alike, neighbours one apart

TEST(DepthTables, DistancesAreAlikeForConjugatesAndChangeByOneAMove)
{
    const ShortSolverTables& t = ShortSolverTables::Get();
    std::mt19937 rng(15);
    for (int n = 0; n < kRandomCubes; ++n) {
        const CubieCube x = n % 4 == 0 ? CubieCube() * MoveCube(static_cast<int>(rng() % kMoveCount)) *
                                             MoveCube(static_cast<int>(rng() % kMoveCount))
                                       : cubie::RandomCubieCube(rng);
        const int d = Phase1(t, x);
        ASSERT_LE(d, 12);
        ASSERT_EQ(d == 0, InH(x)) << n;
        ASSERT_EQ(t.depth.Phase1Entry(coord::Flip(x), coord::SliceSorted(x) / 24, coord::Twist(x)), d % 3) << n;
        for (int s = 0; s < kAxisSymCount; ++s)
            ASSERT_EQ(Phase1(t, ConjugateAxis(x, s)), d) << "cube " << n << " symmetry " << s;
        bool bLower = false;
        for (int m = 0; m < kMoveCount; ++m) {
            const int dm = Phase1(t, x * MoveCube(m));
            ASSERT_LE(std::abs(dm - d), 1) << "cube " << n << " move " << m;
            bLower = bLower || dm == d - 1;
        }
        ASSERT_EQ(bLower, d > 0) << n;
    }
    for (int n = 0; n < kRandomCubes; ++n) {
        const CubieCube h = RandomInH(rng, n % 4 == 0 ? 3 : 40);
        const int d = Phase2(t, h);
        ASSERT_LE(d, 18);
        ASSERT_EQ(d == 0, coord::CornerPerm(h) == 0 && coord::Edge8Perm(h) == 0) << n;
        ASSERT_EQ(t.depth.Phase2Entry(coord::CornerPerm(h), coord::Edge8Perm(h)), d % 3) << n;
        for (int s = 0; s < kAxisSymCount; ++s)
            ASSERT_EQ(Phase2(t, ConjugateAxis(h, s)), d) << "cube " << n << " symmetry " << s;
        bool bLower = false;
        for (int k = 0; k < kPhase2MoveCount; ++k) {
            const int dk = Phase2(t, h * MoveCube(kPhase2Moves[k]));
            ASSERT_LE(std::abs(dk - d), 1) << "cube " << n << " move " << kPhase2Moves[k];
            bLower = bLower || dk == d - 1;
        }
        ASSERT_EQ(bLower, d > 0) << n;
    }
}

// ---------------------------------------------------------------------------
// The cache file

namespace fs = std::filesystem;

using testsupport::TempFolder;

template <class V> bool SameBytes(const V& a, const V& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0;
}

bool SameTables(const DepthTables& a, const DepthTables& b)
{
    return SameBytes(a.flipSlice.classOf, b.flipSlice.classOf) && SameBytes(a.flipSlice.rep, b.flipSlice.rep) &&
           SameBytes(a.classMove, b.classMove) &&
           SameBytes(a.flipSlice.stabiliser, b.flipSlice.stabiliser) &&
           SameBytes(a.corners.classOf, b.corners.classOf) && SameBytes(a.corners.rep, b.corners.rep) &&
           SameBytes(a.corners.stabiliser, b.corners.stabiliser) && SameBytes(a.twistConj, b.twistConj) &&
           SameBytes(a.edge8Conj, b.edge8Conj) && a.phase1.Bytes() == b.phase1.Bytes() &&
           std::memcmp(a.phase1.Data(), b.phase1.Data(), a.phase1.Bytes()) == 0 &&
           a.phase2.Bytes() == b.phase2.Bytes() && std::memcmp(a.phase2.Data(), b.phase2.Data(), a.phase2.Bytes()) == 0;
}

TEST(DepthTables, CacheFileGivesBackEveryByteAndRefusesDamage)
{
    const DepthTables& shared = ShortSolverTables::Get().depth;
    const TempFolder folder("zelvors-depth-tables");
    const fs::path file = folder.path / "tables.bin";
    ASSERT_TRUE(shared.Save(file.string()));
    {
        DepthTables loaded;
        ASSERT_TRUE(loaded.Load(file.string()));
        EXPECT_TRUE(SameTables(loaded, shared));
    }
    const testsupport::Bytes bytes = testsupport::ReadFileBytes(file);
    ASSERT_GT(bytes.size(), shared.phase1.Bytes() + shared.phase2.Bytes());

    DepthTables other;
    const fs::path damaged = folder.path / "damaged.bin";
    testsupport::Bytes b(bytes.begin(), bytes.end() - 1);
    testsupport::WriteFileBytes(damaged, b);
    EXPECT_FALSE(other.Load(damaged.string())) << "truncated by one byte";

    // The phase-2 table is the last segment, the phase-1 table the one before.
    b = bytes;
    b[b.size() - shared.phase2.Bytes() - shared.phase1.Bytes() / 2] ^= 0x10;
    testsupport::WriteFileBytes(damaged, b);
    EXPECT_FALSE(other.Load(damaged.string())) << "a byte of the phase-1 table changed";

    EXPECT_FALSE(other.Load((folder.path / "missing.bin").string()));
}

// A file that is whole and of this version but holds an index out of range
// (written by a faulty build, say) is refused like a damaged one: the search
// would read outside its tables.
TEST(ShortSolverTables, CacheWithAnIndexOutOfRangeIsRefused)
{
    const ShortSolverTables& shared = ShortSolverTables::Get();
    const TempFolder folder("zelvors-depth-tables");
    const std::string file = (folder.path / "tables.bin").string();
    auto copy = std::make_unique<ShortSolverTables>(shared);
    ASSERT_TRUE(copy->IndicesInRange());
    ASSERT_TRUE(copy->WriteCache(file));
    {
        auto read = std::make_unique<ShortSolverTables>();
        ASSERT_TRUE(read->ReadCache(file));
        EXPECT_TRUE(SameTables(read->depth, shared.depth));
        EXPECT_TRUE(SameBytes(read->moves.cornerPerm, shared.moves.cornerPerm));
        EXPECT_TRUE(SameBytes(read->pruning.edgeCornerPlace, shared.pruning.edgeCornerPlace));
    }
    auto refused = [&](const char* what, auto& entry, auto value) {
        const auto old = entry;
        entry = value;
        EXPECT_FALSE(copy->IndicesInRange()) << what;
        EXPECT_TRUE(copy->WriteCache(file)) << what;
        auto read = std::make_unique<ShortSolverTables>();
        EXPECT_FALSE(read->ReadCache(file)) << what;
        entry = old;
    };
    refused("class move", copy->depth.classMove[12345], 0xFFFFFFFFu);
    refused("flip-slice class", copy->depth.flipSlice.classOf.back(), kFlipSliceClassCount * kAxisSymCount);
    refused("corner class", copy->depth.corners.classOf[7], 0x7FFFFFFFu);
    refused("twist conjugate", copy->depth.twistConj[99], std::uint16_t(coord::kTwistCount));
    refused("corner move", copy->moves.cornerPerm[777], std::uint16_t(coord::kCornerPermCount));
    refused("slice move", copy->pruning.slicePermMove[3], std::uint16_t(24));
    refused("corner place", copy->pruning.cornerPlace[5], std::uint8_t(200));
    EXPECT_TRUE(copy->IndicesInRange());
}

} // namespace
