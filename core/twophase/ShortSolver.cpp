#include "ShortSolver.h"

#include "Bits.h"
#include "CubieCube.h"
#include "Symmetries.h"
#include "TableCache.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace shortsolver {

namespace {

std::atomic<bool> g_bTablesReady{false};

constexpr int kOpposite[cubie::kFaceCount] = {5, 4, 3, 2, 1, 0};
constexpr int kMaxPath = kMaxMaxLength + 1;
// Longest phase 2 tried in the first pass.
constexpr int kShortPhase2 = 13;
// Every cube within this many moves of solved gets the fewest moves.
constexpr int kNearLength = 10;
// Nodes the search may visit after its first solution, looking for a shorter one.
constexpr std::uint64_t kImproveNodes = 300;

// Whether move m may follow a move of face nLastFace (-1: none): never the
// same face twice, and of two opposite faces only the lower slot first.
inline bool MayFollow(int nFace, int nLastFace)
{
    return nLastFace < 0 || (nFace != nLastFace && !(nFace == kOpposite[nLastFace] && nFace < nLastFace));
}

// Bit m set for each quarter turn of F, R, L or B: the moves that leave H,
// and so the only ones that may end phase 1.
constexpr std::uint32_t kLeavesHMask = (5u << 3) | (5u << 6) | (5u << 9) | (5u << 12);

// One cube as the search sees it: the entered cube on one axis, or its inverse.
struct Variant {
    cubie::CubieCube cube;
    int faceOf[cubie::kFaceCount];
    bool bInverse = false;
    bool bSkip = false;
    int twist = 0;
    // The flip-slice coordinate's class * kAxisSymCount + its symmetry.
    std::uint32_t flipSliceClass = 0;
    int nDistance = 0; // to H
    unsigned stabiliser = 1; // bit s set when axis symmetry s keeps the cube
};

class Search {
public:
    Search(const ShortSolverTables& tables, int nMaxLength)
        : m_mt(tables.moves), m_pt(tables.pruning), m_dt(tables.depth), m_nMaxLength(nMaxLength),
          m_nMaxPhase2(nMaxLength)
    {
        for (int nLast = -1; nLast < cubie::kFaceCount; ++nLast) {
            std::uint32_t bits = 0;
            for (int m = 0; m < kMoveCount; ++m)
                if (MayFollow(MoveFace(m), nLast))
                    bits |= 1u << m;
            m_allowed[nLast + 1] = bits;
        }
    }

    // The longest solution Run may give from now on.
    void SetMaxLength(int nMaxLength) { m_nMaxLength = nMaxLength; }
    // Nodes visited so far, and a limit: once that many are visited, Run
    // gives up (OutOfBudget() then tells).
    std::uint64_t Nodes() const { return m_nNodes; }
    void SetNodeLimit(std::uint64_t nLimit) { m_nNodeLimit = m_nBudget = nLimit; }
    bool OutOfBudget() const { return m_nNodes >= m_nNodeLimit; }

    // Collecting (CollectSolutions): each solution met goes to pCollect, and
    // the search goes on while it asks for more. The node limit nLimit is
    // then reached in steps of kCollectStep nodes, after each of which
    // pCollect is asked whether to go on. (Run then returns true only when
    // pCollect has enough.)
    struct Collector {
        virtual ~Collector() = default;
        // The moves in the variant's frame; true: enough.
        virtual bool Found(const int* moves, int nMoves) = 0;
        // Every kCollectStep nodes: false to stop.
        virtual bool Step(std::uint64_t nNodes) = 0;
    };
    static constexpr std::uint64_t kCollectStep = std::uint64_t(1) << 16;
    void Collect(Collector* pCollect, std::uint64_t nLimit)
    {
        m_pCollect = pCollect;
        m_nBudget = nLimit;
        m_nNodeLimit = std::min(nLimit, m_nNodes + kCollectStep);
    }

    // Fills moves with the solution in v's own frame; false when none of
    // exactly d1 phase-1 moves extends to one within the bound.
    bool Run(const Variant& v, int d1, int nMaxPhase2, int* moves, int& nMoves)
    {
        if (OutOfBudget())
            return false;
        m_nMaxPhase2 = nMaxPhase2;
        m_nD1 = d1;
        m_nEdgesCached = 0;
        std::copy(v.cube.ep, v.cube.ep + cubie::EDGE_COUNT, m_ep[0]);
        m_cornerAt[0] = static_cast<std::uint16_t>(coord::CornerPerm(v.cube));
        m_sliceAt[0] = static_cast<std::uint16_t>(coord::SliceSorted(v.cube));
        if (!Phase1(v.twist, v.flipSliceClass, v.nDistance, 0, d1, v.stabiliser))
            return false;
        nMoves = m_nD1 + m_nD2;
        std::copy(m_path, m_path + nMoves, moves);
        return true;
    }

private:
    // A node of phase 1 at distance nDistance from H with `left` moves to go.
    // stab: the symmetries that keep the cube and every move so far, so that
    // of moves one of them maps onto each other only the first need be tried.
    // cs: the flip-slice coordinate's class * kAxisSymCount + the symmetry
    // that takes the cube to the class's representative.
    bool Phase1(int twist, std::uint32_t cs, int nDistance, int depth, int left, unsigned stab)
    {
        if (++m_nNodes >= m_nNodeLimit && !MoreNodes())
            return false;
        if (depth > 0) {
            // The parent fetched these rows on its entry.
            const size_t m = static_cast<size_t>(m_path[depth - 1]);
            m_cornerAt[depth] = m_mt.cornerPerm[static_cast<size_t>(m_cornerAt[depth - 1]) * kMoveCount + m];
            m_sliceAt[depth] = m_mt.sliceSorted[static_cast<size_t>(m_sliceAt[depth - 1]) * kMoveCount + m];
        }
        // Only a cube in H gets here: a run's start at distance 0, or the
        // last move of the branch below, which checks it.
        if (left == 0)
            return Phase2Start();
        // Every child reads its corner and slice coordinates from these rows.
        Prefetch(&m_mt.cornerPerm[static_cast<size_t>(m_cornerAt[depth]) * kMoveCount]);
        Prefetch(&m_mt.sliceSorted[static_cast<size_t>(m_sliceAt[depth]) * kMoveCount]);
        std::uint32_t moves = m_allowed[depth > 0 ? MoveFace(m_path[depth - 1]) + 1 : 0];
        if (stab != 1)
            moves &= ~SymmetricRepeats(stab);
        const std::uint16_t* twistRow = &m_mt.twist[static_cast<size_t>(twist) * kMoveCount];
        // The children's flip-slice classes are one row of classMove; the
        // cube seen through its symmetry nSym is the class's representative,
        // on which move m is sym.moveTo[m].
        const std::uint32_t* classRow = &m_dt.classMove[static_cast<size_t>(cs / kAxisSymCount) * kMoveCount];
        const int nSym = static_cast<int>(cs % kAxisSymCount);
        const AxisSymmetry& sym = m_syms[nSym];
        if (left == 1) {
            // The last move must reach H: the coordinates tell without the
            // tables. Phase 2 then first reads the corner-slice bound of each
            // such move, fetched here for all of them.
            int leaves[kMoveCount];
            int nLeaves = 0;
            for (moves &= kLeavesHMask; moves != 0; moves &= moves - 1) {
                const int m = LowestBit(moves);
                if (twistRow[m] != 0 || classRow[sym.moveTo[m]] / kAxisSymCount != m_nClassOfH)
                    continue;
                leaves[nLeaves++] = m;
                const size_t cp = m_mt.cornerPerm[static_cast<size_t>(m_cornerAt[depth]) * kMoveCount + m];
                const size_t sp = m_mt.sliceSorted[static_cast<size_t>(m_sliceAt[depth]) * kMoveCount + m] % 24;
                Prefetch(&m_pt.cornerSlicePerm[cp * 24 + sp]);
            }
            for (int i = 0; i < nLeaves; ++i) {
                m_path[depth] = leaves[i];
                ForgetFrom(depth);
                if (Phase1(0, m_nClassOfH * kAxisSymCount, 0, depth + 1, 0, 1))
                    return true;
                if (OutOfBudget())
                    return false;
            }
            return false;
        }
        // The children's entries lie far apart in the large table, so all are
        // fetched before the first is read and the waits overlap.
        Child children[kMoveCount];
        int nChildren = 0;
        for (std::uint32_t rest = moves; rest != 0; rest &= rest - 1) {
            Child& c = children[nChildren++];
            c.m = LowestBit(rest);
            c.twist = twistRow[c.m];
            const std::uint32_t next = classRow[sym.moveTo[c.m]];
            const int nChildSym = m_syms[next % kAxisSymCount].after[nSym];
            c.cs = next - next % kAxisSymCount + static_cast<std::uint32_t>(nChildSym);
            c.column = m_dt.twistConj[static_cast<size_t>(c.twist) * kAxisSymCount + static_cast<size_t>(nChildSym)];
            Prefetch(m_dt.phase1.EntryAddress(next / kAxisSymCount, c.column));
        }
        int nKept = 0;
        int kept[kMoveCount];
        std::uint32_t skipped = 0;
        for (int i = 0; i < nChildren; ++i) {
            Child& c = children[i];
            if (skipped >> c.m & 1)
                continue;
            c.d = DepthTables::NextDistance(nDistance, m_dt.phase1.Get(c.cs / kAxisSymCount, c.column));
            if (c.d >= left) {
                // The face's three turns lead to cubes one turn apart, so
                // their distances differ by at most one.
                if (c.d > left)
                    skipped |= 7u << (MoveFace(c.m) * 3);
                continue;
            }
            kept[nKept++] = i;
            const std::uint32_t* row = &m_dt.classMove[static_cast<size_t>(c.cs / kAxisSymCount) * kMoveCount];
            Prefetch(row);
            Prefetch(row + kMoveCount - 1);
        }
        for (int i = 0; i < nKept; ++i) {
            const Child& c = children[kept[i]];
            m_path[depth] = c.m;
            ForgetFrom(depth);
            if (Phase1(c.twist, c.cs, c.d, depth + 1, left - 1,
                       stab == 1 ? 1 : Keeping(stab, c.m)))
                return true;
            if (OutOfBudget())
                return false;
        }
        return false;
    }

    // The moves that a symmetry in stab maps onto an earlier move.
    static std::uint32_t SymmetricRepeats(unsigned stab)
    {
        std::uint32_t bits = 0;
        for (int s = 1; s < kAxisSymCount; ++s)
            if (stab >> s & 1)
                for (int m = 0; m < kMoveCount; ++m)
                    if (GetAxisSymmetry(s).moveTo[m] < m)
                        bits |= 1u << m;
        return bits;
    }
    // The symmetries of stab that keep move m.
    static unsigned Keeping(unsigned stab, int m)
    {
        unsigned kept = 0;
        for (int s = 0; s < kAxisSymCount; ++s)
            if ((stab >> s & 1) && GetAxisSymmetry(s).moveTo[m] == m)
                kept |= 1u << s;
        return kept;
    }

    struct Child {
        int m, twist, d;
        std::uint32_t cs; // flip-slice class * kAxisSymCount + symmetry
        size_t column;
    };

    bool Phase2Start()
    {
        const int nBudget = std::min(m_nMaxLength - m_nD1, m_nMaxPhase2);
        const int cp = m_cornerAt[m_nD1];
        const int sp = m_sliceAt[m_nD1] % 24;
        const int nCornerBound = m_pt.cornerSlicePerm[cp * 24 + sp];
        if (nCornerBound > nBudget)
            return false;
        for (size_t n = static_cast<size_t>(m_nEdgesCached); n < static_cast<size_t>(m_nD1); ++n) {
            const cubie::CubieCube& mc = m_mt.moveCube[m_path[n]];
            for (int i = 0; i < cubie::EDGE_COUNT; ++i)
                m_ep[n + 1][i] = m_ep[n][mc.ep[i]];
        }
        m_nEdgesCached = m_nD1;
        cubie::CubieCube c;
        std::copy(m_ep[m_nD1], m_ep[m_nD1] + cubie::EDGE_COUNT, c.ep);
        const int e8 = coord::Edge8Perm(c);
        if (m_pt.edgeSlicePerm[static_cast<size_t>(e8) * 24 + static_cast<size_t>(sp)] > nBudget)
            return false;
        // The table's distance is at least that of the corners alone, of the
        // edges alone and of the edges with the corners' places, and has the
        // entry's remainder modulo 3: often enough to rule the node out
        // without walking down the table.
        const int nAlone = std::max({static_cast<int>(m_pt.cornerPermDistance[cp]),
                                     static_cast<int>(m_pt.edge8PermDistance[e8]), m_pt.EdgeCornerPlace(e8, cp)});
        if (nAlone + (m_dt.Phase2Entry(cp, e8) - nAlone % 3 + 3) % 3 > nBudget)
            return false;
        const int nDistance = m_dt.Phase2Distance(m_mt, m_pt, cp, e8, nBudget);
        const int nLastFace = m_nD1 > 0 ? MoveFace(m_path[m_nD1 - 1]) : -1;
        for (int d2 = std::max(nDistance, nCornerBound); d2 <= nBudget; ++d2)
            if (Phase2(cp, e8, sp, nDistance, m_nD1, d2, nLastFace)) {
                m_nD2 = d2;
                return true;
            }
        return false;
    }

    bool Phase2(int cp, int e8, int sp, int nDistance, int depth, int left, int nLastFace)
    {
        if (++m_nNodes >= m_nNodeLimit && !MoreNodes())
            return false;
        if (left == 0)
            return cp == 0 && e8 == 0 && sp == 0 && (!m_pCollect || m_pCollect->Found(m_path, depth));
        for (int k = 0; k < kPhase2MoveCount; ++k) {
            const int m = kPhase2Moves[k];
            const int f = MoveFace(m);
            if (!MayFollow(f, nLastFace))
                continue;
            const int nCp = m_pt.cornerPermMove[cp * kPhase2MoveCount + k];
            const int nSp = m_pt.slicePermMove[sp * kPhase2MoveCount + k];
            // As in phase 1, a bound above `left` rules out the face's other
            // turns too (only T and D have more than one here: k < 6).
            const int nCorner = m_pt.cornerSlicePerm[nCp * 24 + nSp];
            if (nCorner >= left) {
                if (nCorner > left && k < 6)
                    k = k - k % 3 + 2;
                continue;
            }
            const int nE8 = m_mt.edge8Perm[e8 * kPhase2MoveCount + k];
            const int d = DepthTables::NextDistance(nDistance, m_dt.Phase2Entry(nCp, nE8));
            if (d >= left) {
                if (d > left && k < 6)
                    k = k - k % 3 + 2;
                continue;
            }
            m_path[depth] = m;
            if (Phase2(nCp, nE8, nSp, d, depth + 1, left - 1, f))
                return true;
            if (OutOfBudget())
                return false;
        }
        return false;
    }

    // At the node limit: true when collecting and the budget and the cancel
    // flag allow another step.
    bool MoreNodes()
    {
        if (m_nNodeLimit >= m_nBudget)
            return false;
        if (!m_pCollect->Step(m_nNodes)) {
            m_nBudget = m_nNodeLimit;
            return false;
        }
        m_nNodeLimit = std::min(m_nBudget, m_nNodeLimit + kCollectStep);
        return true;
    }

    const MoveTables& m_mt;
    const PruningTables& m_pt;
    const DepthTables& m_dt;
    int m_nMaxLength;
    std::uint64_t m_nNodes = 0;
    std::uint64_t m_nNodeLimit = ~std::uint64_t(0);
    std::uint64_t m_nBudget = ~std::uint64_t(0); // the node limit, when collecting reached in steps
    Collector* m_pCollect = nullptr;
    // The flip-slice class of H's cubes (H's only flip-slice value is a class of its own).
    const std::uint32_t m_nClassOfH =
        m_dt.flipSlice.classOf[static_cast<size_t>(coord::SolvedSlice())] / kAxisSymCount;
    const AxisSymmetry* const m_syms = &GetAxisSymmetry(0);
    int m_nMaxPhase2;
    // [last face + 1]: the moves that may follow a move of that face (first: none).
    std::uint32_t m_allowed[cubie::kFaceCount + 1] = {};
    int m_nD1 = 0;
    int m_nD2 = 0;
    int m_path[kMaxPath] = {};
    void ForgetFrom(int depth)
    {
        m_nEdgesCached = std::min(m_nEdgesCached, depth);
    }
    // After the first n phase-1 moves of the variant: its corner permutation
    // and sorted slice coordinates, set on entering the node at depth n, and
    // its edges, valid for n <= m_nEdgesCached.
    std::uint16_t m_cornerAt[kMaxPath] = {};
    std::uint16_t m_sliceAt[kMaxPath] = {};
    std::int8_t m_ep[kMaxPath][cubie::EDGE_COUNT] = {};
    int m_nEdgesCached = 0;
};

// Far more nodes than correct tables need for any cube (the most seen over
// 20,000 random cubes was below 2^22): tables read from a file that take
// longer are wrong.
constexpr std::uint64_t kTrustedNodeLimit = std::uint64_t(1) << 27;

// The fewest moves for a cube within kNearLength moves of solved: an
// iterative-deepening search over the moves of the cube as entered, bounded
// by the exact distance to H seen from each of the three axes (no cube is
// nearer to solved than to H). The answer is the first solution in move order
// at the shortest length.
class NearSearch {
public:
    NearSearch(const ShortSolverTables& tables, const cubie::CubieCube& cube, const Variant* variants)
        : m_mt(tables.moves), m_dt(tables.depth), m_cube(cube)
    {
        for (int a = 0; a < kAxisCount; ++a) {
            const Variant& v = variants[2 * a];
            for (int s = 0; s < cubie::kFaceCount; ++s)
                for (int t = 0; t < 3; ++t)
                    m_moveOn[a][v.faceOf[s] * 3 + t] = static_cast<std::int8_t>(s * 3 + t);
            m_root.axis[a] = {static_cast<std::uint16_t>(v.twist), v.flipSliceClass, v.nDistance};
        }
        m_root.cornerPerm = static_cast<std::uint16_t>(coord::CornerPerm(cube));
    }

    // The solution's moves as entered (length nMoves) when one of at most
    // nMaxLength moves exists; nBound: a lower bound of the cube's distance.
    bool Run(int nBound, int nMaxLength, int* moves, int& nMoves)
    {
        for (int d = nBound; d <= nMaxLength; ++d)
            if (Dfs(m_root, 0, d, -1)) {
                std::copy(m_path, m_path + d, moves);
                nMoves = d;
                return true;
            }
        return false;
    }

private:
    struct AxisState {
        std::uint16_t twist;
        std::uint32_t cs; // flip-slice class * kAxisSymCount + symmetry
        int distance;     // to H
    };
    struct Node {
        AxisState axis[kAxisCount];
        std::uint16_t cornerPerm; // as entered
    };

    bool Dfs(const Node& n, int depth, int left, int nLastFace)
    {
        if (left == 0)
            return n.cornerPerm == 0 && Solves(depth);
        // Every child's entries are fetched before the first is read, so the waits overlap.
        Node children[kMoveCount];
        size_t entries[kMoveCount][kAxisCount];
        int moves[kMoveCount];
        int nChildren = 0;
        for (int m = 0; m < kMoveCount; ++m) {
            if (!MayFollow(MoveFace(m), nLastFace))
                continue;
            Node& c = children[nChildren];
            for (int a = 0; a < kAxisCount; ++a) {
                const AxisState& s = n.axis[a];
                const int mm = m_moveOn[a][m];
                AxisState& ca = c.axis[a];
                ca.twist = m_mt.twist[static_cast<size_t>(s.twist) * kMoveCount + static_cast<size_t>(mm)];
                const int nSym = static_cast<int>(s.cs % kAxisSymCount);
                const std::uint32_t next = m_dt.classMove[static_cast<size_t>(s.cs / kAxisSymCount) * kMoveCount +
                                                          static_cast<size_t>(m_syms[nSym].moveTo[mm])];
                const int nChildSym = m_syms[next % kAxisSymCount].after[nSym];
                ca.cs = next - next % kAxisSymCount + static_cast<std::uint32_t>(nChildSym);
                entries[nChildren][a] =
                    m_dt.twistConj[static_cast<size_t>(ca.twist) * kAxisSymCount + static_cast<size_t>(nChildSym)];
                Prefetch(m_dt.phase1.EntryAddress(ca.cs / kAxisSymCount, entries[nChildren][a]));
            }
            c.cornerPerm = m_mt.cornerPerm[static_cast<size_t>(n.cornerPerm) * kMoveCount + static_cast<size_t>(m)];
            moves[nChildren++] = m;
        }
        for (int i = 0; i < nChildren; ++i) {
            Node& c = children[i];
            bool bKept = true;
            for (int a = 0; a < kAxisCount && bKept; ++a) {
                AxisState& ca = c.axis[a];
                ca.distance = DepthTables::NextDistance(n.axis[a].distance,
                                                        m_dt.phase1.Get(ca.cs / kAxisSymCount, entries[i][a]));
                bKept = ca.distance < left;
            }
            if (!bKept)
                continue;
            m_path[depth] = moves[i];
            if (Dfs(c, depth + 1, left - 1, MoveFace(moves[i])))
                return true;
        }
        return false;
    }

    bool Solves(int nMoves) const
    {
        cubie::CubieCube c = m_cube;
        for (int i = 0; i < nMoves; ++i)
            for (int q = 0; q <= m_path[i] % 3; ++q)
                c = c * cubie::FaceTurn(MoveFace(m_path[i]));
        return c == cubie::CubieCube::Solved();
    }

    const MoveTables& m_mt;
    const DepthTables& m_dt;
    const cubie::CubieCube m_cube;
    const AxisSymmetry* const m_syms = &GetAxisSymmetry(0);
    std::int8_t m_moveOn[kAxisCount][kMoveCount] = {}; // a move as entered, seen on each axis
    Node m_root{};
    int m_path[kMaxPath] = {};
};

} // namespace

namespace {

// The cache file holds every computed table, so that reading it is all a
// second start does. These are the ones beside the large tables, in their
// order there, as T (a tablecache Destination or Segment).
template <class T, class Tables>
std::vector<T> SmallArrays(Tables& t)
{
    std::vector<T> arrays;
    auto add = [&arrays](auto& v) { arrays.push_back(T{v.data(), v.size() * sizeof(v[0])}); };
    add(t.moves.twist);
    add(t.moves.flip);
    add(t.moves.sliceSorted);
    add(t.moves.slice);
    add(t.moves.cornerPerm);
    add(t.moves.edge8Perm);
    add(t.pruning.cornerPermMove);
    add(t.pruning.slicePermMove);
    add(t.pruning.cornerSlicePerm);
    add(t.pruning.edgeSlicePerm);
    add(t.pruning.cornerPlace);
    add(t.pruning.edgeCornerPlace);
    return arrays;
}

template <class Vector>
bool AllBelow(const Vector& v, size_t nLimit)
{
    return std::all_of(v.begin(), v.end(), [nLimit](auto n) { return static_cast<size_t>(n) < nLimit; });
}

} // namespace

bool ShortSolverTables::ReadCache(const std::string& strPath)
{
    moves.BuildMoveCubes();
    moves.Allocate();
    pruning.Allocate();
    std::uint64_t checksum = 0;
    if (!depth.Load(strPath, SmallArrays<tablecache::Destination>(*this), &checksum) ||
        checksum != kFingerprint || !IndicesInRange())
        return false;
    pruning.BuildSingleDistances(moves);
    return SpotCheck();
}

std::uint64_t ShortSolverTables::Fingerprint() const
{
    return depth.Checksum(SmallArrays<tablecache::Segment>(*this));
}

bool ShortSolverTables::WriteCache(const std::string& strPath) const
{
    return depth.Save(strPath, SmallArrays<tablecache::Segment>(*this));
}

void ShortSolverTables::Compute()
{
    moves.Build();
    pruning.Build(moves);
    depth.Build(moves);
}

bool ShortSolverTables::IndicesInRange() const
{
    using namespace coord;
    const size_t nFlipSliceCodes = kFlipSliceClassCount * kAxisSymCount;
    return AllBelow(moves.twist, kTwistCount) && AllBelow(moves.flip, kFlipCount) &&
           AllBelow(moves.sliceSorted, kSliceSortedCount) && AllBelow(moves.slice, kSliceCount) &&
           AllBelow(moves.cornerPerm, kCornerPermCount) && AllBelow(moves.edge8Perm, kEdge8PermCount) &&
           AllBelow(pruning.cornerPermMove, kCornerPermCount) && AllBelow(pruning.slicePermMove, kSlicePermCount) &&
           AllBelow(pruning.cornerPlace, PruningTables::kCornerPlaceCount) &&
           AllBelow(depth.flipSlice.classOf, nFlipSliceCodes) && AllBelow(depth.classMove, nFlipSliceCodes) &&
           AllBelow(depth.flipSlice.rep, static_cast<size_t>(kFlipCount) * kSliceCount) &&
           AllBelow(depth.corners.classOf, kCornerClassCount * kAxisSymCount) &&
           AllBelow(depth.corners.rep, kCornerPermCount) && AllBelow(depth.twistConj, kTwistCount) &&
           AllBelow(depth.edge8Conj, kEdge8PermCount);
}

bool ShortSolverTables::SpotCheck() const
{
    using namespace coord;
    const int nSolvedSlice = SolvedSlice();
    // The solved cube's entries, and each class's representative is the
    // least value of its class, which it names with the identity.
    if (depth.Phase1Entry(0, nSolvedSlice, 0) != 0 || depth.Phase2Entry(0, 0) != 0)
        return false;
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    auto next = [&state](size_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<size_t>((state >> 33) % n);
    };
    for (int i = 0; i < 512; ++i) {
        const size_t c = next(kFlipSliceClassCount);
        const std::uint32_t rep = depth.flipSlice.rep[c];
        if (depth.flipSlice.classOf[rep] != c * kAxisSymCount)
            return false;
        // The class after a move, from the representative's coordinates.
        const size_t m = next(kMoveCount);
        const size_t flip = moves.flip[rep / kSliceCount * kMoveCount + m];
        const size_t slice = moves.slice[rep % kSliceCount * kMoveCount + m];
        if (depth.classMove[c * kMoveCount + m] != depth.flipSlice.classOf[flip * kSliceCount + slice])
            return false;
        const size_t k = next(kCornerClassCount);
        if (depth.corners.classOf[depth.corners.rep[k]] != k * kAxisSymCount)
            return false;
    }
    // Walks down the large tables: from every cube of a fixed sample and
    // from its neighbours, the goal within the largest distance (12 moves to
    // H, 18 within it), and a neighbour's distance one off at most.
    constexpr int kMaxPhase1 = 12, kMaxPhase2 = 18;
    for (int i = 0; i < 48; ++i) {
        const int flip = static_cast<int>(next(kFlipCount));
        const int slice = static_cast<int>(next(kSliceCount));
        const int twist = static_cast<int>(next(kTwistCount));
        const int d = depth.Phase1Distance(moves, flip, slice, twist);
        if (d > kMaxPhase1)
            return false;
        for (size_t m = 0; m < kMoveCount; ++m) {
            const int e = depth.Phase1Distance(moves, moves.flip[static_cast<size_t>(flip) * kMoveCount + m],
                                               moves.slice[static_cast<size_t>(slice) * kMoveCount + m],
                                               moves.twist[static_cast<size_t>(twist) * kMoveCount + m]);
            if (e > kMaxPhase1 || e < d - 1 || e > d + 1)
                return false;
        }
        const int corner = static_cast<int>(next(kCornerPermCount));
        const int edge8 = static_cast<int>(next(kEdge8PermCount));
        // Every pair is in H: the middle-layer edges' order makes up the parity.
        const int d2 = depth.Phase2Distance(moves, pruning, corner, edge8, kMaxPhase2);
        if (d2 > kMaxPhase2)
            return false;
        for (size_t k = 0; k < kPhase2MoveCount; ++k) {
            const int e = depth.Phase2Distance(moves, pruning,
                                               pruning.cornerPermMove[static_cast<size_t>(corner) * kPhase2MoveCount + k],
                                               moves.edge8Perm[static_cast<size_t>(edge8) * kPhase2MoveCount + k],
                                               kMaxPhase2);
            if (e > kMaxPhase2 || e < d2 - 1 || e > d2 + 1)
                return false;
        }
    }
    return true;
}

std::string ShortSolverTables::CacheFolderInUse()
{
    if (const char* pOverride = std::getenv(kCacheFolderVariable); pOverride && *pOverride)
        return pOverride;
    return tablecache::DefaultCacheFolder();
}

namespace {

std::atomic<const ShortSolverTables*> g_pTables{nullptr};
std::mutex g_recomputeMutex;

std::string CachePath()
{
    const std::string strFolder = ShortSolverTables::CacheFolderInUse();
    return strFolder.empty() ? std::string() : strFolder + "/" + ShortSolverTables::kCacheFileName;
}

// Computes the tables, and writes them to strPath ("" for none).
ShortSolverTables* ComputeTables(const std::string& strPath)
{
    auto* p = new ShortSolverTables();
    p->Compute();
    p->origin = !strPath.empty() && p->WriteCache(strPath) ? ShortSolverTables::Origin::COMPUTED_AND_SAVED
                                                          : ShortSolverTables::Origin::COMPUTED;
    return p;
}

} // namespace

const ShortSolverTables& ShortSolverTables::Get()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const std::string strPath = CachePath();
        auto* p = new ShortSolverTables();
        if (!strPath.empty() && p->ReadCache(strPath)) {
            p->origin = Origin::CACHE;
        } else {
            delete p;
            p = ComputeTables(strPath);
        }
        g_pTables.store(p, std::memory_order_release);
        g_bTablesReady.store(true, std::memory_order_release);
    });
    return *g_pTables.load(std::memory_order_acquire);
}

const ShortSolverTables& ShortSolverTables::Recomputed(const ShortSolverTables& suspect)
{
    if (suspect.origin != Origin::CACHE)
        return suspect;
    Get(); // (the tables made at all before they are replaced)
    std::lock_guard<std::mutex> lock(g_recomputeMutex);
    const ShortSolverTables* p = g_pTables.load(std::memory_order_acquire);
    if (p->origin == Origin::CACHE) {
        // Kept, never freed: other threads may be searching the old tables.
        // (A pointer the exit never destroys, so the old tables stay reachable.)
        static auto* const retired = new std::vector<const ShortSolverTables*>();
        retired->push_back(p);
        p = ComputeTables(CachePath());
        g_pTables.store(p, std::memory_order_release);
    }
    return *p;
}

bool ShortSolverTables::IsReady()
{
    return g_bTablesReady.load(std::memory_order_acquire);
}

} // namespace shortsolver

namespace shortsolver {
namespace {

// The cube on each axis and as its inverse there, their coordinates and
// distances. bEvery: none skipped and no symmetry of the cube used, so that
// a search meets every solution rather than one of each set of symmetric ones.
void MakeVariants(const cubie::CubieCube& cube, const ShortSolverTables& tables, Variant* variants, bool bEvery)
{
    for (int a = 0; a < kAxisCount; ++a) {
        Variant& v = variants[2 * a];
        v.cube = SeenFromAxis(cube, a, v.faceOf);
        Variant& w = variants[2 * a + 1];
        w.cube = v.cube.Inverse();
        std::copy(v.faceOf, v.faceOf + cubie::kFaceCount, w.faceOf);
        w.bInverse = true;
    }
    // A cube that looks the same on two axes or as its own inverse (the cube
    // with every edge flipped, say) is searched once.
    for (int i = 0; i < 2 * kAxisCount && !bEvery; ++i)
        for (int j = 0; j < i; ++j)
            if (!variants[j].bSkip && variants[j].cube == variants[i].cube)
                variants[i].bSkip = true;
    for (int i = 0; i < 2 * kAxisCount; ++i) {
        Variant& v = variants[i];
        v.twist = coord::Twist(v.cube);
        const int flip = coord::Flip(v.cube);
        const int slice = coord::SliceSorted(v.cube) / 24;
        v.flipSliceClass = tables.depth.flipSlice.classOf[static_cast<size_t>(flip) * coord::kSliceCount +
                                                          static_cast<size_t>(slice)];
        v.nDistance = tables.depth.Phase1Distance(tables.moves, flip, slice, v.twist);
        for (int s = 1; s < kAxisSymCount && !bEvery; ++s)
            if (ConjugateAxis(v.cube, s) == v.cube)
                v.stabiliser |= 1u << s;
    }
}

// The search of SolveShort for a real cube: true with strMoves the solution,
// false when none was found within nodeLimit nodes (correct tables always
// find one well within it).
bool SearchShort(const cubie::CubieCube& cube, int nMaxLength, std::string& strMoves, const ShortSolverTables& tables,
                 std::uint64_t nodeLimit)
{
    strMoves.clear();
    Search search(tables, nMaxLength);
    search.SetNodeLimit(nodeLimit);
    Variant variants[2 * kAxisCount];
    MakeVariants(cube, tables, variants, false);

    static const char kLetters[] = "TFRLBD";
    static const char kTurns[] = "+*-";
    int moves[kMaxMaxLength + 1];
    int nMoves = 0;

    // A cube near solved gets the fewest moves. No cube is nearer to solved
    // than to H seen from any axis, for the cube or for its inverse.
    int nBound = 0;
    for (const Variant& v : variants)
        nBound = std::max(nBound, v.nDistance);
    // Every length up to this one is ruled out once the near search has run.
    const int nRuledOut = std::max(nBound - 1, kNearLength);
    if (nBound <= kNearLength) {
        NearSearch near(tables, cube, variants);
        if (near.Run(nBound, kNearLength, moves, nMoves)) {
            for (int i = 0; i < nMoves; ++i) {
                strMoves += kLetters[MoveFace(moves[i])];
                strMoves += kTurns[moves[i] % 3];
                strMoves += '.';
            }
            return true;
        }
    }

    // Long phase-2 searches rarely pay: first every phase-1 length with a
    // phase 2 of at most kShortPhase2 moves, then (rarely reached) the rest,
    // so that the search stays complete. After the first solution the search
    // goes on for one shorter, within kImproveNodes more nodes, until a
    // solution one move longer than the lengths ruled out is found.
    int nLength = nMaxLength; // the longest solution still wanted
    bool bFound = false;
    for (int nPass = 0; nPass < 2; ++nPass)
    for (int d1 = 0; d1 <= nLength; ++d1)
        for (const Variant& v : variants) {
            const int nMaxPhase2 = nPass == 0 ? kShortPhase2 : nLength;
            if (nPass == 1 && nLength - d1 <= kShortPhase2)
                continue;
            if (v.bSkip || v.nDistance > d1)
                continue;
            // The same phase-1 length again, each time for a shorter total.
            while (d1 <= nLength && search.Run(v, d1, nMaxPhase2, moves, nMoves)) {
                if (v.bInverse) {
                    std::reverse(moves, moves + nMoves);
                    for (int i = 0; i < nMoves; ++i)
                        moves[i] = InverseMove(moves[i]);
                }
                // The moves are checked on the cube as entered: tables that passed
                // every check of their file yet were wrong would make the search
                // miss solutions, never return a false one.
                cubie::CubieCube check = cube;
                for (int i = 0; i < nMoves; ++i)
                    for (int q = 0; q <= moves[i] % 3; ++q)
                        check = check * cubie::FaceTurn(v.faceOf[MoveFace(moves[i])]);
                if (check != cubie::CubieCube::Solved())
                    break;
                strMoves.clear();
                for (int i = 0; i < nMoves; ++i) {
                    strMoves += kLetters[v.faceOf[MoveFace(moves[i])]];
                    strMoves += kTurns[moves[i] % 3];
                    strMoves += '.';
                }
                if (!bFound)
                    search.SetNodeLimit(search.Nodes() + kImproveNodes);
                bFound = true;
                nLength = nMoves - 1;
                if (nLength <= nRuledOut)
                    return true;
                search.SetMaxLength(nLength);
            }
            if (bFound && search.OutOfBudget())
                return true;
        }
    // Only wrong tables find none: every cube has a solution of 20 moves or fewer.
    return bFound;
}

// Hands the solutions of one variant's search, in the cube's own frame and
// checked on it, to the caller's function.
class Collecting : public Search::Collector {
public:
    Collecting(const cubie::CubieCube& cube, const CollectOptions& options) : m_cube(cube), m_options(options) {}
    const Variant* pVariant = nullptr;
    bool bEnough = false;

    bool Found(const int* path, int nMoves) override
    {
        const Variant& v = *pVariant;
        int moves[kMaxPath];
        std::copy(path, path + nMoves, moves);
        if (v.bInverse) {
            std::reverse(moves, moves + nMoves);
            for (int i = 0; i < nMoves; ++i)
                moves[i] = InverseMove(moves[i]);
        }
        static const char kLetters[] = "TFRLBD";
        static const char kTurns[] = "+*-";
        cubie::CubieCube check = m_cube;
        std::string strMoves;
        for (int i = 0; i < nMoves; ++i) {
            const int nFace = v.faceOf[MoveFace(moves[i])];
            for (int q = 0; q <= moves[i] % 3; ++q)
                check = check * cubie::FaceTurn(nFace);
            strMoves += kLetters[nFace];
            strMoves += kTurns[moves[i] % 3];
            strMoves += '.';
        }
        // Wrong tables may miss solutions, never make a false one pass.
        if (check == cubie::CubieCube::Solved() && m_options.found(strMoves))
            bEnough = true;
        return bEnough;
    }
    bool Step(std::uint64_t nNodes) override
    {
        if (m_options.progress)
            m_options.progress(nNodes);
        return !(m_options.pCancel && m_options.pCancel->load(std::memory_order_relaxed));
    }

private:
    const cubie::CubieCube m_cube;
    const CollectOptions& m_options;
};

} // namespace

std::uint64_t CollectSolutions(const BYTE colors[54], int nMaxLength, const CollectOptions& options,
                               const ShortSolverTables& tables)
{
    cubie::CubieCube cube;
    if (cubie::ReadVerdict(colors, &cube) != 0 || cube == cubie::CubieCube::Solved())
        return 0;
    nMaxLength = std::min(std::max(nMaxLength, 1), kMaxMaxLength);
    Search search(tables, nMaxLength);
    Variant variants[2 * kAxisCount];
    MakeVariants(cube, tables, variants, true);
    Collecting collecting(cube, options);
    search.Collect(&collecting, options.nNodes);
    int moves[kMaxPath];
    int nMoves = 0;
    // As SearchShort's order: short phase 2 first, then the rest.
    for (int nPass = 0; nPass < 2; ++nPass)
        for (int d1 = 0; d1 <= nMaxLength; ++d1)
            for (const Variant& v : variants) {
                if ((nPass == 1 && nMaxLength - d1 <= kShortPhase2) || v.nDistance > d1)
                    continue;
                collecting.pVariant = &v;
                search.Run(v, d1, nPass == 0 ? kShortPhase2 : nMaxLength, moves, nMoves);
                if (collecting.bEnough || search.OutOfBudget())
                    return search.Nodes();
            }
    return search.Nodes();
}

} // namespace shortsolver

int SolveShort(const BYTE colors[54], int nMaxLength, std::string& strMoves,
               const shortsolver::ShortSolverTables& tables)
{
    using namespace shortsolver;
    strMoves.clear();
    cubie::CubieCube cube;
    const int nVerdict = cubie::ReadVerdict(colors, &cube);
    if (nVerdict != 0)
        return nVerdict;
    nMaxLength = std::min(std::max(nMaxLength, kMinMaxLength), kMaxMaxLength);
    // Tables read from a file passed every check there, yet a search that
    // finds nothing, or takes far longer than any cube needs, means they are
    // wrong: then the cube is solved again with tables computed here.
    const bool bTrusted = tables.origin != ShortSolverTables::Origin::CACHE;
    if (SearchShort(cube, nMaxLength, strMoves, tables, bTrusted ? UINT64_MAX : kTrustedNodeLimit))
        return kSolved;
    if (!bTrusted && SearchShort(cube, nMaxLength, strMoves, ShortSolverTables::Recomputed(tables), UINT64_MAX))
        return kSolved;
    // Unreachable with tables computed here.
    return kUnsolvable;
}
