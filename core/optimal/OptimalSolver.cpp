#include "OptimalSolver.h"

#include "Bits.h"
#include "CubeSolver.h"
#include "CubieCube.h"
#include "Symmetries.h"
#include "TableCache.h"
#include "Threads.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>
#include <thread>
#include <utility>
#include <vector>

namespace optimal {

using shortsolver::DepthTables;
using shortsolver::kAxisCount;
using shortsolver::kAxisSymCount;
using shortsolver::kMoveCount;
using shortsolver::MoveFace;

namespace {

// Bumped whenever the tables' layout or meaning changes.
constexpr std::uint32_t kSmallTablesVersion = 2;

int Cores()
{
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 2;
}

} // namespace

void OptimalTables::Compute()
{
    shortsolver::Alongside([this] { shortsolver::BuildCornerDistances(corners, base.moves, base.depth); },
                           [this] { BuildExactPhase1(phase1Exact, base.moves, base.depth, Cores()); });
}

bool OptimalTables::ReadCache(const std::string& strPath)
{
    corners.Reset(shortsolver::kCornerClassCount, coord::kTwistCount);
    phase1Exact.Reset(shortsolver::kFlipSliceClassCount, coord::kTwistCount);
    std::uint64_t checksum = 0;
    if (!tablecache::Load(strPath, kSmallTablesVersion,
                          {{corners.Data(), corners.Bytes()}, {phase1Exact.Data(), phase1Exact.Bytes()}}, &checksum) ||
        checksum != kFingerprint)
        return false;
    // Every entry a distance (the padding of the rows aside), the solved corners at 0.
    for (size_t r = 0; r < shortsolver::kCornerClassCount; ++r)
        for (size_t c = 0; c < static_cast<size_t>(coord::kTwistCount); ++c)
            if (corners.Get(r, c) == shortsolver::Mod3Table::kUnknown)
                return false;
    return CornerEntry(0, 0) == 0 && ExactPhase1Entry(phase1Exact, base.depth, 0, coord::SolvedSlice(), 0) == 0;
}

bool OptimalTables::WriteCache(const std::string& strPath) const
{
    return tablecache::Save(strPath, kSmallTablesVersion,
                            {{corners.Data(), corners.Bytes()}, {phase1Exact.Data(), phase1Exact.Bytes()}});
}

int OptimalTables::CornerDistance(int cp, int twist) const
{
    const auto& mt = base.moves;
    using State = std::pair<int, int>; // corner permutation, twist
    return shortsolver::WalkDown(
        State{cp, twist}, [](const State& s) { return s.first == 0 && s.second == 0; },
        [this](const State& s) { return CornerEntry(s.first, s.second); },
        [&mt](const State& s, int k) {
            const size_t m = static_cast<size_t>(k);
            return State{mt.cornerPerm[static_cast<size_t>(s.first) * kMoveCount + m],
                         mt.twist[static_cast<size_t>(s.second) * kMoveCount + m]};
        },
        kMoveCount);
}

namespace {

std::string CachePath(const char* name)
{
    const std::string strFolder = shortsolver::ShortSolverTables::CacheFolderInUse();
    return strFolder.empty() ? std::string() : strFolder + "/" + name;
}

// The machine's physical memory in bytes (0: unknown).
std::uint64_t PhysicalMemory()
{
#ifdef _WIN32
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
#else
    const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && size > 0 ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(size) : 0;
#endif
}

std::mutex g_problemMutex;
std::string g_strLargeProblem = "not yet made";

void SetLargeProblem(const std::string& s)
{
    std::lock_guard<std::mutex> lock(g_problemMutex);
    g_strLargeProblem = s;
}

// The large table beside p's, read from the cache or computed and written
// there; none (and the reason kept) where memory does not allow.
void AddLargeTable(OptimalTables& t, const std::function<void(double)>& progress, const std::atomic<bool>* pCancel)
{
    const std::uint64_t nNeeded = LargeTable::ExpectedBytes();
    const std::uint64_t nMemory = PhysicalMemory();
    // The table, the short solver's, and room for the rest of the system.
    if (nMemory != 0 && nMemory < nNeeded + (std::uint64_t(1) << 30)) {
        SetLargeProblem("the large table needs " + std::to_string(nNeeded >> 20) + " MB of memory, and this machine has " +
                        std::to_string(nMemory >> 20) + " MB in all");
        return;
    }
    try {
        auto large = std::make_unique<LargeTable>();
        const std::string strPath = CachePath(LargeTable::kCacheFileName);
        if (strPath.empty() || !large->Load(strPath)) {
            if (!large->Build(t.base.moves, t.base.depth.twistConj, Cores(), progress, pCancel))
                throw OptimalTables::Cancelled();
            if (!strPath.empty())
                large->Save(strPath);
        }
        t.large = std::move(large);
        SetLargeProblem("");
    } catch (const std::bad_alloc&) {
        SetLargeProblem("the large table's " + std::to_string(nNeeded >> 20) + " MB of memory could not be had");
    }
}

} // namespace

OptimalTables::Size OptimalTables::DefaultSize()
{
    const char* p = std::getenv(kSizeVariable);
    return p && std::string(p) == "small" ? Size::SMALL : Size::LARGE;
}

std::string OptimalTables::LargeTableProblem()
{
    std::lock_guard<std::mutex> lock(g_problemMutex);
    return g_strLargeProblem;
}

bool OptimalTables::LargeTableReady()
{
    const std::string strPath = CachePath(LargeTable::kCacheFileName);
    std::error_code ec;
    return !strPath.empty() && std::filesystem::file_size(strPath, ec) > LargeTable::ExpectedBytes() && !ec;
}

const OptimalTables& OptimalTables::Get(Size size, const std::function<void(double)>& progress,
                                        const std::atomic<bool>* pCancel)
{
    static std::once_flag once[2];
    static const OptimalTables* pTables[2] = {nullptr, nullptr};
    const int n = size == Size::LARGE ? 1 : 0;
    // (A Cancelled thrown here leaves the flag unset: the next call tries again.)
    std::call_once(once[n], [n, &progress, pCancel] {
        const auto& base = shortsolver::ShortSolverTables::Get();
        const std::string strPath = CachePath(kCacheFileName);
        auto p = std::make_unique<OptimalTables>(base);
        if (!strPath.empty() && p->ReadCache(strPath)) {
            p->origin = Origin::CACHE;
        } else {
            p->Compute();
            p->origin = !strPath.empty() && p->WriteCache(strPath) ? Origin::COMPUTED_AND_SAVED : Origin::COMPUTED;
        }
        if (n == 1)
            AddLargeTable(*p, progress, pCancel);
        pTables[n] = p.release();
    });
    return *pTables[n];
}

namespace {

constexpr int kOpposite[cubie::kFaceCount] = {5, 4, 3, 2, 1, 0};
constexpr int kMaxDepth = 30;
// Lengths below this are searched before the short solver is asked for its
// solution (they take less time than it does).
constexpr int kShortSolverFrom = 11;
// From there, before (or beside) each length, the two-phase search of that
// length, as many of its nodes as the length before took (an eighth of the
// time, its nodes being that much quicker): now and then it meets a solution
// long before the first in this search's order, and where it does not, it
// has cost little.
constexpr std::uint64_t kTwoPhaseNodesPerNode = 1;
// Subtrees by the first moves: this many of them, or for a cube with
// symmetries (whose subtrees are fewer, see Search::IsFirstOfItsImages) one more.
constexpr int kPrefixLength = 3;
constexpr int kSymmetricPrefixLength = 4;
static_assert(kSymmetricPrefixLength <= 4 && kPrefixLength <= 4, "Search::PrefixCode numbers four moves at most");
// Nodes between looks at the cancel flag and at the other threads' finds.
constexpr std::uint64_t kPollMask = 4095;

inline bool MayFollow(int nFace, int nLastFace)
{
    return nLastFace < 0 || (nFace != nLastFace && !(nFace == kOpposite[nLastFace] && nFace < nLastFace));
}

// The table the bound of each axis reads: the short solver's phase-1 table
// (flip and the middle layer's places), or the large one (flip and the middle
// layer's places and order).
struct AxisTable {
    const shortsolver::SymClasses* classes;
    const std::uint32_t* classMove;
    const shortsolver::Mod3Table* table;
    bool bSorted; // the slice coordinate is the sorted one
    std::uint32_t nGoalClass; // the class of the goal's flip and slice
};

AxisTable TableOf(const OptimalTables& t)
{
    const std::uint32_t solved = static_cast<std::uint32_t>(coord::SliceSorted(cubie::CubieCube::Solved()));
    if (t.large)
        return {&t.large->classes, t.large->classMove.data(), &t.large->distances, true,
                t.large->classes.classOf[solved] / kAxisSymCount};
    const DepthTables& d = t.base.depth;
    return {&d.flipSlice, d.classMove.data(), &d.phase1, false,
            d.flipSlice.classOf[static_cast<size_t>(coord::SolvedSlice())] / kAxisSymCount};
}

// The cube seen from one axis: its twist, the flip-slice class * 16 + its
// symmetry, and its exact distance to the axis table's goal.
struct AxisState {
    std::uint16_t twist;
    std::uint32_t cs;
    int distance;
};

// The inverse of the cube seen from one axis (its pieces, as it changes by a
// move before it), and its coordinates there.
struct InverseState {
    cubie::CubieCube cube;
    std::uint16_t flip, twist;
    std::uint16_t sliceSorted;
    int bound; // its bound (Search::ReadInverseBound)
};

struct Node {
    AxisState axis[kAxisCount];
    InverseState inverse[kAxisCount];
    std::uint16_t cornerPerm; // the twist is axis 0's (T/D as entered)
    int cornerDistance;
    int inverseBound;
    // A solution's last move turns a face of one axis, which keeps that
    // axis's goal, so the cube stands at that goal a move before it is
    // solved; and its first move likewise for the inverse. So one of the
    // three is always less than the moves left, for each.
    int LeastAxisDistance() const { return std::min({axis[0].distance, axis[1].distance, axis[2].distance}); }
    int LeastInverseBound() const { return std::min({inverse[0].bound, inverse[1].bound, inverse[2].bound}); }
    int Bound() const
    {
        const int nAxes = LeastAxisDistance(), nInverse = LeastInverseBound();
        return std::max({axis[0].distance, axis[1].distance, axis[2].distance, cornerDistance, inverseBound,
                         nAxes > 0 ? nAxes + 1 : 0, nInverse > 0 ? nInverse + 1 : 0});
    }
};

// m * c for a face turn m: the pieces of c carried along by a turn before it.
inline cubie::CubieCube TurnThen(const cubie::CubieCube& m, const cubie::CubieCube& c)
{
    static constexpr std::int8_t kMod3[6] = {0, 1, 2, 0, 1, 2};
    cubie::CubieCube r;
    for (int i = 0; i < cubie::CORNER_COUNT; ++i) {
        r.cp[i] = m.cp[c.cp[i]];
        r.co[i] = kMod3[m.co[c.cp[i]] + c.co[i]];
    }
    for (int i = 0; i < cubie::EDGE_COUNT; ++i) {
        r.ep[i] = m.ep[c.ep[i]];
        r.eo[i] = static_cast<std::int8_t>(m.eo[c.ep[i]] ^ c.eo[i]);
    }
    return r;
}

struct Task {
    Node node;
    int moves[kSymmetricPrefixLength];
    int nMoves;
};

class Search {
public:
    Search(const OptimalTables& tables, const cubie::CubieCube& cube)
        : m_t(tables), m_mt(tables.base.moves), m_dt(tables.base.depth), m_at(TableOf(tables)), m_cube(cube)
    {
        for (int a = 0; a < kAxisCount; ++a) {
            int faceOf[cubie::kFaceCount];
            m_axisCube[a] = shortsolver::SeenFromAxis(cube, a, faceOf);
            for (int s = 0; s < cubie::kFaceCount; ++s)
                for (int t = 0; t < 3; ++t) {
                    m_moveOn[a][faceOf[s] * 3 + t] = static_cast<std::int8_t>(s * 3 + t);
                    m_bKeepsInverse[a][faceOf[s] * 3 + t] = s == 0 || s == kOpposite[0] || (!m_at.bSorted && t == 1);
                }
        }
        for (int m = 0; m < kMoveCount; ++m) {
            cubie::CubieCube turn;
            for (int q = 0; q <= m % 3; ++q)
                turn = turn * cubie::FaceTurn(MoveFace(m));
            m_inverseTurn[m] = turn.Inverse();
        }
        // The whole-cube symmetries that leave the cube as it is: the cube
        // seen from an axis, then through one of its 16 symmetries.
        for (int a = 0; a < kAxisCount; ++a)
            for (int s = a == 0 ? 1 : 0; s < kAxisSymCount; ++s)
                if (shortsolver::ConjugateAxis(m_axisCube[a], s) == cube) {
                    std::array<std::int8_t, kMoveCount> image{};
                    for (int m = 0; m < kMoveCount; ++m)
                        image[static_cast<size_t>(m)] = m_syms[s].moveTo[m_moveOn[a][m]];
                    m_symmetries.push_back(image);
                }
        for (size_t i = 0; i < m_symmetries.size(); ++i)
            for (int m = 0; m < kMoveCount; ++m) {
                const int nImage = m_symmetries[i][static_cast<size_t>(m)];
                if (nImage < m)
                    m_mapsEarlier[m] |= std::uint64_t(1) << i;
                else if (nImage == m)
                    m_keeps[m] |= std::uint64_t(1) << i;
            }
    }

    // The symmetries of the cube (bit i: m_symmetries[i]) that map each of
    // these moves to itself. Deeper in the search, a move that one of the
    // symmetries keeping the moves so far maps to an earlier move is left
    // out as IsFirstOfItsImages leaves out first moves: the moves so far
    // followed by its image (in the search's order, since the image keeps
    // the move before it) come first.
    std::uint64_t Keeping(const int* moves, int nMoves) const
    {
        std::uint64_t mask = m_symmetries.size() >= 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << m_symmetries.size()) - 1;
        for (int i = 0; i < nMoves; ++i)
            mask &= m_keeps[moves[i]];
        return mask;
    }

    // Whether no symmetry of the cube maps these first moves (in the order
    // the search allows: of two opposite faces turned in a row, the lower
    // slot first) to ones earlier in move order. A symmetry maps every
    // solution to a solution of the same length, whose first moves come no
    // later than the image of these, so the first in move order of a
    // solution's images always starts with moves that pass.
    bool IsFirstOfItsImages(const int* moves, int nMoves) const
    {
        for (const auto& image : m_symmetries) {
            int seen[kSymmetricPrefixLength];
            for (int i = 0; i < nMoves; ++i)
                seen[i] = image[static_cast<size_t>(moves[i])];
            for (int i = 0; i + 1 < nMoves; ++i)
                if (MoveFace(seen[i + 1]) == kOpposite[MoveFace(seen[i])] && MoveFace(seen[i + 1]) < MoveFace(seen[i]))
                    std::swap(seen[i], seen[i + 1]);
            if (std::lexicographical_compare(seen, seen + nMoves, moves, moves + nMoves))
                return false;
        }
        return true;
    }

    Node Root() const
    {
        Node n{};
        for (int a = 0; a < kAxisCount; ++a) {
            const cubie::CubieCube& c = m_axisCube[a];
            const int flip = coord::Flip(c), sorted = coord::SliceSorted(c);
            n.axis[a].twist = static_cast<std::uint16_t>(coord::Twist(c));
            if (m_at.bSorted) {
                n.axis[a].cs = m_at.classes->classOf[static_cast<size_t>(flip) * coord::kSliceSortedCount +
                                                     static_cast<size_t>(sorted)];
                n.axis[a].distance = m_t.large->Distance(m_mt, m_dt.twistConj, flip, sorted, n.axis[a].twist);
            } else {
                n.axis[a].cs = m_at.classes->classOf[static_cast<size_t>(flip) * coord::kSliceCount +
                                                     static_cast<size_t>(sorted / 24)];
                n.axis[a].distance = m_dt.Phase1Distance(m_mt, flip, sorted / 24, n.axis[a].twist);
            }
        }
        n.cornerPerm = static_cast<std::uint16_t>(coord::CornerPerm(m_axisCube[0]));
        n.cornerDistance = m_t.CornerDistance(n.cornerPerm, n.axis[0].twist);
        n.inverseBound = 0;
        for (int a = 0; a < kAxisCount; ++a) {
            InverseState& s = n.inverse[a];
            s.cube = m_axisCube[a].Inverse();
            SetInverseCoordinates(s);
            InverseProbe probe = StartInverseProbe(s);
            s.bound = FinishInverseProbe(probe);
            n.inverseBound = std::max(n.inverseBound, s.bound);
        }
        return n;
    }

    // The bound of the inverse on one axis, read in three steps so that the
    // reads of several children overlap: its classes, then its entries.
    struct InverseProbe {
        const std::uint32_t* phase1Class;
        const std::uint32_t* axisClass; // null without the large table
        const InverseState* state;
        const std::uint8_t* phase1Entry;
        size_t phase1Column;
        size_t axisRow, axisColumn;
    };
    void SetInverseCoordinates(InverseState& s) const
    {
        s.flip = static_cast<std::uint16_t>(coord::Flip(s.cube));
        s.twist = static_cast<std::uint16_t>(coord::Twist(s.cube));
        s.sliceSorted = static_cast<std::uint16_t>(coord::SliceSorted(s.cube));
    }
    // Whether move m (as entered) turns a face of axis a, or (without the
    // large table, whose middle layer is in order) any face by a half turn.
    // Such a turn, made before the inverse, only swaps pieces that its
    // coordinates there do not tell apart: they and the bound stay as they were.
    bool KeepsInverse(int a, int m) const { return m_bKeepsInverse[a][m]; }
    // The child's inverse on axis a after such a move.
    void CarryInverse(const Node& n, int m, Node& child, int a) const
    {
        InverseState& s = child.inverse[a];
        s = n.inverse[a];
        s.cube = TurnThen(m_inverseTurn[m_moveOn[a][m]], n.inverse[a].cube);
    }
    // Whether a move that keeps the inverse's bound on some axis leaves it
    // above nLeft: the child is ruled out before any of its tables is read.
    bool InverseRulesOut(const Node& n, int m, int nLeft) const
    {
        for (int a = 0; a < kAxisCount; ++a)
            if (m_bKeepsInverse[a][m] && n.inverse[a].bound > nLeft)
                return true;
        return false;
    }
    // The child's inverse on axis a after move m (as entered), its classes fetched ahead.
    InverseProbe StartInverse(const Node& n, int m, Node& child, int a) const
    {
        InverseState& s = child.inverse[a];
        s.cube = TurnThen(m_inverseTurn[m_moveOn[a][m]], n.inverse[a].cube);
        SetInverseCoordinates(s);
        return StartInverseProbe(s);
    }
    InverseProbe StartInverseProbe(const InverseState& s) const
    {
        InverseProbe p{};
        p.state = &s;
        p.phase1Class = &m_dt.flipSlice.classOf[static_cast<size_t>(s.flip) * coord::kSliceCount +
                                                static_cast<size_t>(s.sliceSorted / 24)];
        shortsolver::Prefetch(p.phase1Class);
        if (m_at.bSorted) {
            p.axisClass = &m_at.classes->classOf[static_cast<size_t>(s.flip) * coord::kSliceSortedCount +
                                                 static_cast<size_t>(s.sliceSorted)];
            shortsolver::Prefetch(p.axisClass);
        }
        return p;
    }
    void FetchInverseEntries(InverseProbe& p) const
    {
        const size_t twist = p.state->twist;
        const std::uint32_t cs = *p.phase1Class;
        p.phase1Column = m_dt.twistConj[twist * kAxisSymCount + cs % kAxisSymCount];
        p.phase1Entry = static_cast<const std::uint8_t*>(m_t.phase1Exact.EntryAddress(cs / kAxisSymCount, p.phase1Column));
        shortsolver::Prefetch(p.phase1Entry);
        if (p.axisClass) {
            const std::uint32_t as = *p.axisClass;
            p.axisRow = as / kAxisSymCount;
            p.axisColumn = m_dt.twistConj[twist * kAxisSymCount + as % kAxisSymCount];
            shortsolver::Prefetch(m_at.table->EntryAddress(p.axisRow, p.axisColumn));
        }
    }
    // The least distance to the axis table's goal the inverse may have: at
    // least its phase-1 distance, with the remainder of its entry there.
    int ReadInverseBound(const InverseProbe& p) const
    {
        const int nPhase1 = (*p.phase1Entry >> ((p.phase1Column & 1) * 4)) & 15;
        return p.axisClass ? DepthTables::LeastWithRemainder(nPhase1, m_at.table->Get(p.axisRow, p.axisColumn)) : nPhase1;
    }
    int FinishInverseProbe(InverseProbe& p) const
    {
        FetchInverseEntries(p);
        return ReadInverseBound(p);
    }

    // The child of n by move m, its coordinates fetched ahead; Finish reads its bounds.
    void Start(const Node& n, int m, Node& child, size_t* entries) const
    {
        for (int a = 0; a < kAxisCount; ++a)
            entries[a] = StartAxis(n, m, child, a);
    }
    // Axis a of Start: the child's class and twist there, its entry's column
    // returned and the entry fetched ahead.
    size_t StartAxis(const Node& n, int m, Node& child, int a) const
    {
        const AxisState& s = n.axis[a];
        const int mm = m_moveOn[a][m];
        AxisState& c = child.axis[a];
        c.twist = m_mt.twist[static_cast<size_t>(s.twist) * kMoveCount + static_cast<size_t>(mm)];
        const int nSym = static_cast<int>(s.cs % kAxisSymCount);
        const std::uint32_t next = m_at.classMove[static_cast<size_t>(s.cs / kAxisSymCount) * kMoveCount +
                                                  static_cast<size_t>(m_syms[nSym].moveTo[mm])];
        const int nChildSym = m_syms[next % kAxisSymCount].after[nSym];
        c.cs = next - next % kAxisSymCount + static_cast<std::uint32_t>(nChildSym);
        const size_t column =
            m_dt.twistConj[static_cast<size_t>(c.twist) * kAxisSymCount + static_cast<size_t>(nChildSym)];
        shortsolver::Prefetch(m_at.table->EntryAddress(c.cs / kAxisSymCount, column));
        return column;
    }
    // Axis a of Finish.
    bool FinishAxis(const Node& n, Node& child, int a, size_t column, int nLeft) const
    {
        AxisState& c = child.axis[a];
        c.distance = DepthTables::NextDistance(n.axis[a].distance, m_at.table->Get(c.cs / kAxisSymCount, column));
        return c.distance <= nLeft;
    }
    // The child's corners and their distance; false when it exceeds nLeft.
    bool StartCorners(const Node& n, int m, Node& child, int nLeft) const
    {
        CornerProbe p = StartCornerProbe(n, m, child);
        FetchCornerEntry(p);
        return FinishCorners(n, p, child, nLeft);
    }
    // StartCorners in three steps, so that the reads of several children overlap.
    struct CornerProbe {
        const std::uint32_t* cornerClass;
        int twist;
        size_t row, column;
    };
    CornerProbe StartCornerProbe(const Node& n, int m, Node& child) const
    {
        CornerProbe p{};
        child.cornerPerm = m_mt.cornerPerm[static_cast<size_t>(n.cornerPerm) * kMoveCount + static_cast<size_t>(m)];
        p.twist = m_mt.twist[static_cast<size_t>(n.axis[0].twist) * kMoveCount + static_cast<size_t>(m)];
        p.cornerClass = &m_dt.corners.classOf[child.cornerPerm];
        shortsolver::Prefetch(p.cornerClass);
        return p;
    }
    void FetchCornerEntry(CornerProbe& p) const
    {
        const std::uint32_t cs = *p.cornerClass;
        p.row = cs / kAxisSymCount;
        p.column = m_dt.twistConj[static_cast<size_t>(p.twist) * kAxisSymCount + cs % kAxisSymCount];
        shortsolver::Prefetch(m_t.corners.EntryAddress(p.row, p.column));
    }
    bool FinishCorners(const Node& n, const CornerProbe& p, Node& child, int nLeft) const
    {
        child.cornerDistance = DepthTables::NextDistance(n.cornerDistance, m_t.corners.Get(p.row, p.column));
        return child.cornerDistance <= nLeft;
    }

    // Fills the child's phase-1 distances; false as soon as one exceeds nLeft,
    // or when all three are nLeft (Node::LeastAxisDistance).
    bool Finish(const Node& n, Node& child, const size_t* entries, int nLeft) const
    {
        for (int a = 0; a < kAxisCount; ++a)
            if (!FinishAxis(n, child, a, entries[a], nLeft))
                return false;
        return nLeft == 0 || child.LeastAxisDistance() < nLeft;
    }

    // Fills the child's inverse bound; false when it exceeds nLeft.
    bool FinishInverse(const Node& n, int m, Node& child, int nLeft) const
    {
        child.inverseBound = 0;
        for (int a = 0; a < kAxisCount; ++a) {
            if (KeepsInverse(a, m)) {
                CarryInverse(n, m, child, a);
            } else {
                InverseProbe p = StartInverse(n, m, child, a);
                child.inverse[a].bound = FinishInverseProbe(p);
            }
            child.inverseBound = std::max(child.inverseBound, child.inverse[a].bound);
            if (child.inverseBound > nLeft)
                return false;
        }
        return true;
    }

    // Whether move m takes n's corners home and every axis's cube into H.
    bool SolvesAllButEdges(const Node& n, int m) const
    {
        if (m_mt.cornerPerm[static_cast<size_t>(n.cornerPerm) * kMoveCount + static_cast<size_t>(m)] != 0)
            return false;
        for (int a = 0; a < kAxisCount; ++a) {
            const AxisState& s = n.axis[a];
            const int mm = m_moveOn[a][m];
            if (m_mt.twist[static_cast<size_t>(s.twist) * kMoveCount + static_cast<size_t>(mm)] != 0)
                return false;
            const int nSym = static_cast<int>(s.cs % kAxisSymCount);
            const std::uint32_t next = m_at.classMove[static_cast<size_t>(s.cs / kAxisSymCount) * kMoveCount +
                                                      static_cast<size_t>(m_syms[nSym].moveTo[mm])];
            if (next / kAxisSymCount != m_at.nGoalClass)
                return false;
        }
        return true;
    }
    void FetchRows(const Node& n) const
    {
        for (const AxisState& s : n.axis) {
            const std::uint32_t* row = &m_at.classMove[static_cast<size_t>(s.cs / kAxisSymCount) * kMoveCount];
            shortsolver::Prefetch(row);
            shortsolver::Prefetch(row + kMoveCount - 1);
        }
    }

    // Whether the moves solve the cube as entered.
    bool Solves(const int* moves, int nMoves) const
    {
        cubie::CubieCube c = m_cube;
        for (int i = 0; i < nMoves; ++i)
            for (int q = 0; q <= moves[i] % 3; ++q)
                c = c * cubie::FaceTurn(MoveFace(moves[i]));
        return c == cubie::CubieCube::Solved();
    }

    // The subtrees of a search of nDepth moves, in move order, those the
    // bound rules out left out. With bFirstOnly, only the first solution
    // found is wanted: for a cube with symmetries, the subtrees
    // IsFirstOfItsImages rules out are left out too, and the subtrees that
    // took the most nodes at the length before (nodesBefore, by PrefixCode;
    // empty: none searched) come first, since a solution is likelier in a
    // larger tree (as many nodes: in move order).
    std::vector<Task> Tasks(const Node& root, int nDepth, bool bFirstOnly,
                            const std::vector<std::uint64_t>& nodesBefore = {}) const
    {
        std::vector<Task> tasks;
        Task t{};
        t.node = root;
        const bool bSymmetric = bFirstOnly && !m_symmetries.empty();
        AddTasks(tasks, t, std::min(nDepth, bSymmetric ? kSymmetricPrefixLength : kPrefixLength), nDepth);
        if (bSymmetric)
            tasks.erase(std::remove_if(tasks.begin(), tasks.end(),
                                       [this](const Task& k) { return !IsFirstOfItsImages(k.moves, k.nMoves); }),
                        tasks.end());
        if (bFirstOnly && !nodesBefore.empty())
            std::stable_sort(tasks.begin(), tasks.end(), [&nodesBefore](const Task& a, const Task& b) {
                return nodesBefore[PrefixCode(a)] > nodesBefore[PrefixCode(b)];
            });
        return tasks;
    }
    // A number for a subtree's first moves, below kPrefixCodes.
    static size_t PrefixCode(const Task& t)
    {
        size_t code = 0;
        for (int i = 0; i < t.nMoves; ++i)
            code = code * (kMoveCount + 1) + static_cast<size_t>(t.moves[i]) + 1;
        return code;
    }
    static constexpr size_t kPrefixCodes = (kMoveCount + 1) * (kMoveCount + 1) * (kMoveCount + 1) * (kMoveCount + 1);

    const OptimalTables& m_t;
    const shortsolver::MoveTables& m_mt;
    const DepthTables& m_dt;
    const AxisTable m_at;
    const cubie::CubieCube m_cube;
    const shortsolver::AxisSymmetry* const m_syms = &shortsolver::GetAxisSymmetry(0);
    cubie::CubieCube m_axisCube[kAxisCount];
    std::int8_t m_moveOn[kAxisCount][kMoveCount] = {}; // a move as entered, seen on each axis
    bool m_bKeepsInverse[kAxisCount][kMoveCount] = {}; // see KeepsInverse
    cubie::CubieCube m_inverseTurn[kMoveCount];        // the inverse of each move
    // For each symmetry of the cube but the identity, the move each move becomes.
    std::vector<std::array<std::int8_t, kMoveCount>> m_symmetries;
    // [move]: bit i set when m_symmetries[i] maps the move to an earlier one, to itself.
    std::uint64_t m_mapsEarlier[kMoveCount] = {};
    std::uint64_t m_keeps[kMoveCount] = {};

private:
    void AddTasks(std::vector<Task>& tasks, const Task& t, int nPrefix, int nDepth) const
    {
        if (t.nMoves == nPrefix) {
            tasks.push_back(t);
            return;
        }
        const int nLast = t.nMoves > 0 ? MoveFace(t.moves[t.nMoves - 1]) : -1;
        for (int m = 0; m < kMoveCount; ++m) {
            if (!MayFollow(MoveFace(m), nLast))
                continue;
            Task c = t;
            size_t entries[kAxisCount];
            if (!StartCorners(t.node, m, c.node, nDepth - t.nMoves - 1))
                continue;
            Start(t.node, m, c.node, entries);
            if (!Finish(t.node, c.node, entries, nDepth - t.nMoves - 1) ||
                !FinishInverse(t.node, m, c.node, nDepth - t.nMoves - 1))
                continue;
            c.moves[c.nMoves++] = m;
            AddTasks(tasks, c, nPrefix, nDepth);
        }
    }
};

// What the threads of one length share.
struct Shared {
    const Search& search;
    const std::vector<Task>& tasks;
    int nDepth;
    const OptimalOptions& options;
    std::atomic<size_t> next{0};
    std::atomic<size_t> best;   // the lowest task with a solution so far (tasks.size(): none)
    std::atomic<bool> bStopped{false};
    const std::atomic<bool>* pLeave = nullptr; // set: stop, as for a cancel
    std::atomic<std::uint64_t> nodes{0};
    std::uint64_t nNodesBefore = 0;
    std::vector<std::vector<int>> solutions; // [task]: its solutions' moves one after the other
    std::vector<size_t> counts;              // [task]: how many
    std::vector<std::uint64_t> taskNodes;    // [task]: the nodes its search took
    std::mutex progressMutex;
    size_t nWanted = 1; // solutions wanted at this length
    int nRuledOut = nDepth - 1; // every length up to this one has no solution
    std::mutex foundMutex;

    Shared(const Search& s, const std::vector<Task>& t, int d, const OptimalOptions& o)
        : search(s), tasks(t), nDepth(d), options(o), best(t.size()), solutions(t.size()), counts(t.size()),
          taskNodes(t.size())
    {
    }

    // Keeps a solution of task i; true when the task has all it may give.
    // best becomes the lowest task that with those before it holds nWanted.
    bool Found(size_t i, const int* moves)
    {
        const std::lock_guard<std::mutex> lock(foundMutex);
        solutions[i].insert(solutions[i].end(), moves, moves + nDepth);
        ++counts[i];
        size_t nHeld = 0;
        for (size_t j = 0; j < best.load(); ++j) {
            nHeld += counts[j];
            if (nHeld >= nWanted) {
                best.store(j);
                break;
            }
        }
        return counts[i] >= nWanted;
    }
};

class Worker {
public:
    explicit Worker(Shared& shared) : m_s(shared), m_search(shared.search) {}

    void Run()
    {
        for (;;) {
            const size_t i = m_s.next.fetch_add(1);
            if (i >= m_s.tasks.size() || i > m_s.best.load() || m_s.bStopped.load())
                break;
            m_nTask = i;
            const Task& t = m_s.tasks[i];
            std::copy(t.moves, t.moves + t.nMoves, m_path);
            const int nLast = t.nMoves > 0 ? MoveFace(t.moves[t.nMoves - 1]) : -1;
            m_bAbort = false;
            // (Only when the first solution alone is wanted, as for the subtrees.)
            Dfs(t.node, t.nMoves, m_s.nDepth - t.nMoves, nLast,
                m_s.nWanted == 1 ? m_search.Keeping(t.moves, t.nMoves) : 0);
            m_s.taskNodes[i] = m_nNodes;
            Flush();
            if (m_s.options.progress && !m_s.bStopped.load()) {
                std::lock_guard<std::mutex> lock(m_s.progressMutex);
                m_s.options.progress({m_s.nDepth, m_s.nRuledOut, m_s.nNodesBefore + m_s.nodes.load()});
            }
        }
        Flush();
    }

private:
    void Flush()
    {
        m_s.nodes.fetch_add(m_nNodes);
        m_nNodes = 0;
    }

    // keeping: the symmetries of the cube (Search::Keeping) that keep every move so far.
    bool Dfs(const Node& n, int depth, int left, int nLastFace, std::uint64_t keeping)
    {
        if ((++m_nNodes & kPollMask) == 0) {
            if ((m_s.options.pCancel && m_s.options.pCancel->load(std::memory_order_relaxed)) ||
                (m_s.pLeave && m_s.pLeave->load(std::memory_order_relaxed)))
                m_s.bStopped.store(true);
            if (m_s.bStopped.load(std::memory_order_relaxed) || m_s.best.load(std::memory_order_relaxed) < m_nTask)
                m_bAbort = true;
        }
        if (m_bAbort)
            return false;
        if (left == 0)
            return m_search.Solves(m_path, depth) && m_s.Found(m_nTask, m_path);
        if (left == 1) {
            // The last move must solve the corners and bring every axis into
            // H: the coordinates tell without the tables.
            for (int m = 0; m < kMoveCount; ++m) {
                if (!MayFollow(MoveFace(m), nLastFace) || (keeping & m_search.m_mapsEarlier[m]) != 0 ||
                    !m_search.SolvesAllButEdges(n, m))
                    continue;
                m_path[depth] = m;
                if (m_search.Solves(m_path, depth + 1) && m_s.Found(m_nTask, m_path))
                    return true;
            }
            return false;
        }
        // Every entry of the children's three axes is fetched before the first
        // is read, so that the waits (most reads miss every cache) overlap:
        // one wait for them all costs less than one an axis, though it reads
        // some entries a first axis would have made needless.
        // (Kept for each depth, so that a node does not construct its children's pieces.)
        Node* const children = m_children[static_cast<size_t>(depth)].data();
        int moves[kMoveCount];
        int kept[kMoveCount];
        int nKept = 0;
        // A child's corners are at most one move further than this node's,
        // so only a node that far can lose a child to them: the others read
        // the corners of the children the other bounds keep, at the end.
        const bool bCornersFirst = n.cornerDistance >= left - 1;
        for (int m = 0; m < kMoveCount; ++m) {
            if (!MayFollow(MoveFace(m), nLastFace) || (keeping & m_search.m_mapsEarlier[m]) != 0 ||
                m_search.InverseRulesOut(n, m, left - 1))
                continue;
            moves[nKept] = m;
            kept[nKept] = nKept;
            ++nKept;
        }
        if (bCornersFirst) {
            // The corner bound first where it may rule children out: its
            // table is small, so its reads are quick (and overlap: each
            // waits on its class) and a child it rules out costs no more.
            Search::CornerProbe probes[kMoveCount];
            for (int k = 0; k < nKept; ++k)
                probes[k] = m_search.StartCornerProbe(n, moves[k], children[k]);
            for (int k = 0; k < nKept; ++k)
                m_search.FetchCornerEntry(probes[k]);
            int nStill = 0;
            for (int k = 0; k < nKept; ++k)
                if (m_search.FinishCorners(n, probes[k], children[k], left - 1))
                    kept[nStill++] = k;
            nKept = nStill;
        }
        size_t columns[kMoveCount][kAxisCount];
        for (int k = 0; k < nKept; ++k)
            for (int a = 0; a < kAxisCount; ++a)
                columns[k][a] = m_search.StartAxis(n, moves[kept[k]], children[kept[k]], a);
        {
            int nStill = 0;
            for (int k = 0; k < nKept; ++k)
                if (m_search.Finish(n, children[kept[k]], columns[k], left - 1))
                    kept[nStill++] = kept[k];
            nKept = nStill;
        }
        // The inverse of the children every axis keeps, on all three axes at
        // once: each read waits on one before it (its class), so reading all
        // of them together waits twice in all.
        // (An axis the move keeps needs no reads: its bound stays.)
        Search::InverseProbe probes[kMoveCount][kAxisCount];
        for (int k = 0; k < nKept; ++k)
            for (int a = 0; a < kAxisCount; ++a) {
                if (m_search.KeepsInverse(a, moves[kept[k]]))
                    m_search.CarryInverse(n, moves[kept[k]], children[kept[k]], a);
                else
                    probes[k][a] = m_search.StartInverse(n, moves[kept[k]], children[kept[k]], a);
            }
        for (int k = 0; k < nKept; ++k)
            for (int a = 0; a < kAxisCount; ++a)
                if (!m_search.KeepsInverse(a, moves[kept[k]]))
                    m_search.FetchInverseEntries(probes[k][a]);
        {
            int nStill = 0;
            for (int k = 0; k < nKept; ++k) {
                Node& c = children[kept[k]];
                c.inverseBound = 0;
                for (int a = 0; a < kAxisCount; ++a) {
                    if (!m_search.KeepsInverse(a, moves[kept[k]]))
                        c.inverse[a].bound = m_search.ReadInverseBound(probes[k][a]);
                    c.inverseBound = std::max(c.inverseBound, c.inverse[a].bound);
                }
                // A child at least two moves further than this node has
                // left proves this node cannot be solved in time either
                // (a move changes the distance by one at most).
                if (c.inverseBound >= left + 2)
                    return false;
                // (Its next move turns a face of an axis on which its
                // inverse is a move short of that: Node::LeastInverseBound.)
                if (c.inverseBound <= left - 1 && c.LeastInverseBound() < left - 1)
                    kept[nStill++] = kept[k];
            }
            nKept = nStill;
        }
        // Then the kept children's rows of the class move table, which their
        // own children need, and their corners.
        for (int k = 0; k < nKept; ++k)
            m_search.FetchRows(children[kept[k]]);
        if (!bCornersFirst)
            for (int k = 0; k < nKept; ++k)
                m_search.StartCorners(n, moves[kept[k]], children[kept[k]], left - 1);
        for (int k = 0; k < nKept; ++k) {
            const int i = kept[k];
            m_path[depth] = moves[i];
            if (Dfs(children[i], depth + 1, left - 1, MoveFace(moves[i]), keeping & m_search.m_keeps[moves[i]]))
                return true;
            if (m_bAbort)
                return false;
        }
        return false;
    }

    Shared& m_s;
    const Search& m_search;
    std::vector<std::array<Node, kMoveCount>> m_children = std::vector<std::array<Node, kMoveCount>>(kMaxDepth + 1);
    size_t m_nTask = 0;
    bool m_bAbort = false;
    std::uint64_t m_nNodes = 0;
    int m_path[kMaxDepth + 1] = {};
};

// A move's turn in the model's notation: + clockwise, * half, - counter-clockwise.
constexpr char kTurnMarks[] = "+*-";

std::string MoveString(const int* moves, int nMoves)
{
    static const char kLetters[] = "TFRLBD";
    std::string s;
    for (int i = 0; i < nMoves; ++i) {
        s += kLetters[MoveFace(moves[i])];
        s += kTurnMarks[moves[i] % 3];
        s += '.';
    }
    return s;
}

int CountMoves(const std::string& strMoves)
{
    return static_cast<int>(std::count(strMoves.begin(), strMoves.end(), '.'));
}

// A solution in the model's notation (face turns only) as this search's
// moves, of two opposite faces turned one after the other the lower slot
// first, as the search would have met it.
std::vector<int> SearchMoves(const std::string& strMoves)
{
    std::vector<int> moves;
    for (size_t p = 0; p + 2 < strMoves.size(); p += 3)
        moves.push_back(CCubeSolver::SlotOf(strMoves[p]) * 3 +
                        static_cast<int>(std::strchr(kTurnMarks, strMoves[p + 1]) - kTurnMarks));
    for (size_t i = 1; i < moves.size(); ++i)
        if (MoveFace(moves[i]) == kOpposite[MoveFace(moves[i - 1])] && MoveFace(moves[i]) < MoveFace(moves[i - 1]))
            std::swap(moves[i], moves[i - 1]);
    return moves;
}

} // namespace

} // namespace optimal

OptimalResult SolveOptimal(const BYTE colors[54], const OptimalOptions& options, const optimal::OptimalTables& tables)
{
    using namespace optimal;
    OptimalResult result;
    cubie::CubieCube cube;
    result.nResult = cubie::ReadVerdict(colors, &cube);
    if (result.nResult != 0)
        return result;

    const Search search(tables, cube);
    const Node root = search.Root();
    const int nMaxDepth = std::min(std::max(options.nMaxDepth, 0), kMaxDepth);
    const int nThreads = std::max(options.nThreads, 1);
    // The short solver's solution, asked for when the search gets long or stops.
    std::string strShort;
    int nShort = -1;
    auto shortSolution = [&] {
        if (nShort < 0) {
            SolveShort(colors, shortsolver::kDefaultMaxLength, strShort, tables.base);
            nShort = CountMoves(strShort);
        }
    };
    auto known = [&](int nRuledOut) {
        shortSolution();
        result.moves = strShort;
        result.length = nShort;
        result.bProven = nShort == nRuledOut + 1;
        result.solutions = {strShort};
        return result;
    };

    const size_t nWanted = std::max<size_t>(options.nSolutions, 1);
    // One length searched: the solutions in move order (up to n; all of the
    // tasks before the last that holds one, when cancelled), and whether it
    // was stopped.
    // For the first solution alone: the nodes each subtree took at the
    // length before, by its first moves (Search::PrefixCode).
    std::vector<std::uint64_t> nodesBefore;
    std::uint64_t nLengthNodes = 0; // the nodes the length before took (0: none searched)
    auto searchLength = [&](int d, size_t n, std::vector<std::vector<int>>& found, int nRuledOut,
                            const std::atomic<bool>* pLeave) {
        const std::vector<Task> tasks = search.Tasks(root, d, n == 1, nodesBefore);
        Shared shared(search, tasks, d, options);
        shared.pLeave = pLeave;
        shared.nNodesBefore = result.nodes;
        shared.nWanted = n;
        shared.nRuledOut = nRuledOut;
        shortsolver::OnThreads(nThreads, [&shared](size_t) { Worker(shared).Run(); });
        result.nodes += shared.nodes.load();
        if (n == 1) {
            nodesBefore.assign(Search::kPrefixCodes, 0);
            for (size_t i = 0; i < tasks.size(); ++i)
                nodesBefore[Search::PrefixCode(tasks[i])] = shared.taskNodes[i];
        }
        // Every task up to best was searched to the end (a task is only left
        // when those before it hold what is wanted), unless stopped; the
        // ones after it may have been left part way.
        const size_t nLast = std::min(shared.best.load(), tasks.size() - (tasks.empty() ? 0 : 1));
        for (size_t i = 0; i <= nLast && i < tasks.size(); ++i)
            for (size_t k = 0; k < shared.counts[i] && found.size() < n; ++k)
                found.emplace_back(shared.solutions[i].begin() + static_cast<long>(k) * d,
                                   shared.solutions[i].begin() + static_cast<long>(k + 1) * d);
        return shared.bStopped.load();
    };

    for (int d = std::min(std::max(root.Bound(), options.nFromDepth), nMaxDepth + 1); d <= nMaxDepth; ++d) {
        if (options.pCancel && options.pCancel->load())
            return known(d - 1);
        if (d >= kShortSolverFrom) {
            shortSolution();
            if (nShort <= d && nWanted == 1) // every shorter length ruled out
                return known(d - 1);
        }
        if (options.progress)
            options.progress({d, d - 1, result.nodes});
        // The two-phase search of this length first (beside this one, on
        // more than one thread): a solution it meets within its nodes is the
        // answer even where this search would have met one sooner, so that
        // node counts alone decide.
        std::string strTwoPhase;
        std::atomic<bool> bTwoPhaseFound{false};
        auto twoPhase = [&, d] {
            shortsolver::CollectOptions collect;
            collect.nNodes = nLengthNodes * kTwoPhaseNodesPerNode;
            collect.pCancel = options.pCancel;
            collect.found = [&, d](const std::string& strMoves) {
                if (CountMoves(strMoves) != d) // (shorter ones are ruled out)
                    return false;
                strTwoPhase = strMoves;
                bTwoPhaseFound.store(true);
                return true;
            };
            shortsolver::CollectSolutions(colors, d, collect, tables.base);
        };
        std::thread beside;
        if (nWanted == 1 && d >= kShortSolverFrom && nLengthNodes > 0) {
            if (nThreads == 1)
                twoPhase();
            else
                beside = std::thread(twoPhase);
        }
        std::vector<std::vector<int>> found;
        const std::uint64_t nNodesBefore = result.nodes;
        bool bStopped = !bTwoPhaseFound.load() && searchLength(d, nWanted, found, d - 1, &bTwoPhaseFound);
        if (beside.joinable())
            beside.join();
        if (bTwoPhaseFound.load()) {
            found.assign(1, SearchMoves(strTwoPhase));
            bStopped = false;
        }
        if (!found.empty()) {
            // Found: the first solutions (stopped or not, the first is one
            // of this length, and no shorter one exists).
            result.moves = MoveString(found[0].data(), d);
            result.length = d;
            result.bProven = true;
            for (const std::vector<int>& moves : found)
                result.solutions.push_back(MoveString(moves.data(), d));
            if (options.bOneLonger && !bStopped && found.size() < nWanted && d + 1 <= nMaxDepth) {
                if (options.progress)
                    options.progress({d + 1, d, result.nodes});
                found.clear();
                searchLength(d + 1, nWanted - result.solutions.size(), found, d - 1, nullptr);
                for (const std::vector<int>& moves : found)
                    result.solutions.push_back(MoveString(moves.data(), d + 1));
            }
            return result;
        }
        if (bStopped)
            return known(d - 1);
        nLengthNodes = result.nodes - nNodesBefore;
    }
    return known(nMaxDepth);
}
