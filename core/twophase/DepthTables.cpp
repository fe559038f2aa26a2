#include "DepthTables.h"
#include "DistanceBuild.h"

#include "Bits.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <new>
#include <thread>

namespace shortsolver {

namespace {

// Bumped whenever the tables' layout or meaning changes, so that an older
// cache file is rebuilt rather than misread.
constexpr std::uint32_t kCacheVersion = 5;


// table[v * kAxisSymCount + s]: the coordinate get() of the cube set(v)
// conjugated by symmetry s.
template <class Set, class Get>
void ConjugateTable(std::vector<std::uint16_t>& table, int nCount, Set set, Get get)
{
    table.assign(static_cast<size_t>(nCount) * kAxisSymCount, 0);
    cubie::CubieCube c;
    for (int v = 0; v < nCount; ++v) {
        set(c, v);
        for (int s = 0; s < kAxisSymCount; ++s)
            table[static_cast<size_t>(v) * kAxisSymCount + static_cast<size_t>(s)] =
                static_cast<std::uint16_t>(get(ConjugateAxis(c, s)));
    }
}

} // namespace

void* AllocateLarge(size_t nBytes)
{
    constexpr size_t kPageBytes = 4096;
    constexpr size_t kLargePage = size_t(2) << 20;
    if (nBytes < kLargePage)
        return ::operator new(nBytes);
    // Whole large pages, so that the last one is not shared.
    const size_t nSize = (nBytes + kLargePage - 1) / kLargePage * kLargePage;
    void* p = ::operator new(nSize, std::align_val_t(kLargePage));
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    (void)madvise(p, nSize, MADV_HUGEPAGE); // a hint: refused, it costs only time
#endif
    // The system clears each page at its first touch, which for tables of
    // hundreds of megabytes takes longer than filling them: touched here on
    // every core, so that the filling that follows finds them ready.
    constexpr size_t kTouchAcross = size_t(64) << 20;
    const unsigned nCores = std::thread::hardware_concurrency();
    if (nSize >= kTouchAcross && nCores > 1) {
        const size_t nPages = nSize / kPageBytes;
        const int nParts = static_cast<int>(std::min<unsigned>(nCores, 8));
        ForBlocks(nPages, (nPages + static_cast<size_t>(nParts) - 1) / static_cast<size_t>(nParts), nParts,
                  [p](size_t first, size_t last, size_t) {
                      auto* q = static_cast<volatile unsigned char*>(p);
                      for (size_t i = first; i < last; ++i)
                          q[i * kPageBytes] = 0;
                  });
    }
    return p;
}

void FreeLarge(void* p, size_t nBytes) noexcept
{
    if (nBytes < (size_t(2) << 20))
        ::operator delete(p);
    else
        ::operator delete(p, std::align_val_t(size_t(2) << 20));
}

size_t SymClasses::Bytes() const
{
    return (classOf.size() + rep.size()) * sizeof(std::uint32_t) + stabiliser.size() * sizeof(std::uint16_t);
}

void Mod3Table::Reset(size_t nRows, size_t nColumns)
{
    m_nStride = (nColumns + 3) / 4;
    m_data.assign(nRows * m_nStride, 0xFF);
}

void DepthTables::Allocate()
{
    // The class counts are fixed by the cube (Build finds the same; the tests
    // check that it does).
    flipSlice.classOf.assign(static_cast<size_t>(coord::kFlipCount) * coord::kSliceCount, 0);
    flipSlice.rep.assign(kFlipSliceClassCount, 0);
    flipSlice.stabiliser.assign(kFlipSliceClassCount, 0);
    corners.classOf.assign(static_cast<size_t>(coord::kCornerPermCount), 0);
    corners.rep.assign(kCornerClassCount, 0);
    corners.stabiliser.assign(kCornerClassCount, 0);
    classMove.assign(kFlipSliceClassCount * kMoveCount, 0);
    twistConj.assign(static_cast<size_t>(coord::kTwistCount) * kAxisSymCount, 0);
    edge8Conj.assign(static_cast<size_t>(coord::kEdge8PermCount) * kAxisSymCount, 0);
    phase1.Reset(kFlipSliceClassCount, coord::kTwistCount);
    phase2.Reset(kCornerClassCount, coord::kEdge8PermCount);
}

namespace {

// The value move k takes a flip-and-slice value v to (see BuildFlipSliceClasses).
struct FlipSliceMove {
    const std::uint16_t* flipMove;
    const std::uint16_t* sliceMove;
    size_t nSlices;
    size_t operator()(size_t v, int k) const
    {
        const size_t flip = v / nSlices, slice = v % nSlices;
        return static_cast<size_t>(flipMove[flip * kMoveCount + static_cast<size_t>(k)]) * nSlices +
               sliceMove[slice * kMoveCount + static_cast<size_t>(k)];
    }
};

} // namespace

void BuildFlipSliceClasses(const MoveTables& moves, bool bOrder, SymClasses& classes,
                           std::vector<std::uint32_t, LargePageAllocator<std::uint32_t>>& classMove)
{
    const int nPer = bOrder ? 1 : 24; // sorted slice coordinates a value stands for
    const FlipSliceMove move{moves.flip.data(), bOrder ? moves.sliceSorted.data() : moves.slice.data(),
                             static_cast<size_t>(coord::kSliceSortedCount / nPer)};
    cubie::CubieCube c;
    classes.Build(static_cast<size_t>(coord::kFlipCount) * move.nSlices, [&c, &move, nPer](size_t v, int s) {
        coord::SetFlip(c, static_cast<int>(v / move.nSlices));
        coord::SetSliceSorted(c, static_cast<int>(v % move.nSlices) * nPer);
        const cubie::CubieCube d = ConjugateAxis(c, s);
        return static_cast<size_t>(coord::Flip(d)) * move.nSlices + static_cast<size_t>(coord::SliceSorted(d) / nPer);
    });
    classMove.assign(classes.rep.size() * kMoveCount, 0);
    for (size_t r = 0; r < classes.rep.size(); ++r)
        for (int k = 0; k < kMoveCount; ++k)
            classMove[r * kMoveCount + static_cast<size_t>(k)] = classes.classOf[move(classes.rep[r], k)];
}

void DepthTables::Build(const MoveTables& moves)
{
    using cubie::CubieCube;
    // Phase 2 on a second thread, phase 1 here: they share nothing but the
    // move tables, which both only read.
    auto buildPhase2 = [this, &moves] {
        CubieCube c;
        corners.Build(coord::kCornerPermCount, [&c](size_t v, int s) {
            coord::SetCornerPerm(c, static_cast<int>(v));
            return static_cast<size_t>(coord::CornerPerm(ConjugateAxis(c, s)));
        });
        ConjugateTable(edge8Conj, coord::kEdge8PermCount, coord::SetEdge8Perm, coord::Edge8Perm);
        const std::uint16_t* cornerMove = moves.cornerPerm.data();
        BuildDistances(
            phase2, corners,
            RowMoveOf(corners,
                      [cornerMove](size_t v, int k) {
                          return static_cast<size_t>(cornerMove[v * kMoveCount + static_cast<size_t>(kPhase2Moves[k])]);
                      }),
            kPhase2MoveCount, coord::kEdge8PermCount, moves.edge8Perm.data(), edge8Conj.data(), 0);
    };
    Alongside(buildPhase2, [&] {
        ConjugateTable(twistConj, coord::kTwistCount, coord::SetTwist, coord::Twist);
        BuildFlipSliceClasses(moves, false, flipSlice, classMove);
        BuildDistances(
            phase1, flipSlice, RowMoveOf(classMove.data(), kMoveCount),
            kMoveCount, coord::kTwistCount, moves.twist.data(), twistConj.data(),
            static_cast<size_t>(coord::SolvedSlice()));
    });
}

namespace {

// The arrays of the cache file, in their order there, as T (Destination or
// Segment) made by of(vector) and raw(pointer, bytes).
template <class T, class Tables, class Of, class Raw>
std::vector<T> CacheArrays(Tables& t, Of of, Raw raw)
{
    return {of(t.flipSlice.classOf), of(t.flipSlice.rep),
            of(t.flipSlice.stabiliser), of(t.classMove),
            of(t.corners.classOf),      of(t.corners.rep),
            of(t.corners.stabiliser),   of(t.twistConj),
            of(t.edge8Conj),            raw(t.phase1.Data(), t.phase1.Bytes()),
            raw(t.phase2.Data(), t.phase2.Bytes())};
}

} // namespace

bool DepthTables::Load(const std::string& path, const std::vector<tablecache::Destination>& extra,
                       std::uint64_t* pChecksum)
{
    using tablecache::Destination;
    Allocate();
    std::vector<Destination> all = CacheArrays<Destination>(
        *this, [](auto& v) { return Destination{v.data(), v.size() * sizeof(v[0])}; },
        [](std::uint8_t* p, size_t n) { return Destination{p, n}; });
    all.insert(all.end(), extra.begin(), extra.end());
    return tablecache::Load(path, kCacheVersion, all, pChecksum);
}

namespace {

std::vector<tablecache::Segment> SavedArrays(const DepthTables& t, const std::vector<tablecache::Segment>& extra)
{
    using tablecache::Segment;
    std::vector<Segment> all = CacheArrays<Segment>(
        t, [](const auto& v) { return Segment{v.data(), v.size() * sizeof(v[0])}; },
        [](const std::uint8_t* p, size_t n) { return Segment{p, n}; });
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
}

} // namespace

bool DepthTables::Save(const std::string& path, const std::vector<tablecache::Segment>& extra) const
{
    return tablecache::Save(path, kCacheVersion, SavedArrays(*this, extra));
}

std::uint64_t DepthTables::Checksum(const std::vector<tablecache::Segment>& extra) const
{
    return tablecache::PayloadChecksum(SavedArrays(*this, extra));
}

int DepthTables::Phase1Distance(const MoveTables& moves, int flip, int slice, int twist) const
{
    const int nSolvedSlice = coord::SolvedSlice();
    int nDistance = 0;
    // Each step finds a neighbour one closer; a complete table always has
    // one. The neighbours' entries lie far apart: their classes, then the
    // entries, are all fetched before the first is read.
    while ((flip != 0 || twist != 0 || slice != nSolvedSlice) && nDistance < 30) {
        const int want = (Phase1Entry(flip, slice, twist) + 2) % 3;
        int next[kMoveCount][3];
        const std::uint32_t* classes[kMoveCount];
        for (int k = 0; k < kMoveCount; ++k) {
            const size_t nMove = static_cast<size_t>(k);
            next[k][0] = moves.flip[static_cast<size_t>(flip) * kMoveCount + nMove];
            next[k][1] = moves.slice[static_cast<size_t>(slice) * kMoveCount + nMove];
            next[k][2] = moves.twist[static_cast<size_t>(twist) * kMoveCount + nMove];
            classes[k] = &flipSlice.classOf[static_cast<size_t>(next[k][0]) * coord::kSliceCount +
                                            static_cast<size_t>(next[k][1])];
            Prefetch(classes[k]);
        }
        size_t row[kMoveCount], column[kMoveCount];
        for (int k = 0; k < kMoveCount; ++k) {
            row[k] = *classes[k] / kAxisSymCount;
            column[k] = twistConj[static_cast<size_t>(next[k][2]) * kAxisSymCount + *classes[k] % kAxisSymCount];
            Prefetch(phase1.EntryAddress(row[k], column[k]));
        }
        int k = 0;
        while (k < kMoveCount && phase1.Get(row[k], column[k]) != want)
            ++k;
        if (k == kMoveCount)
            return 30; // no complete table lacks a way down
        flip = next[k][0];
        slice = next[k][1];
        twist = next[k][2];
        ++nDistance;
    }
    return nDistance;
}

int DepthTables::Phase2Distance(const MoveTables& moves, const PruningTables& pruning, int corner, int edge8,
                                int nMax) const
{
    int nDistance = 0;
    while (corner != 0 || edge8 != 0) {
        // The distance left is at least that of the corners alone, of the
        // edges alone and of the edges with the corners' places, with the entry's remainder modulo 3: a walk that
        // cannot end within nMax stops early.
        const int nEntry = Phase2Entry(corner, edge8);
        const int nAlone = std::max({static_cast<int>(pruning.cornerPermDistance[static_cast<size_t>(corner)]),
                                     static_cast<int>(pruning.edge8PermDistance[static_cast<size_t>(edge8)]),
                                     pruning.EdgeCornerPlace(edge8, corner)});
        if (nDistance + LeastWithRemainder(nAlone, nEntry) > nMax)
            return nMax + 1;
        // The neighbours' entries lie far apart: all are fetched before the first is read.
        const int want = (nEntry + 2) % 3;
        int next[kPhase2MoveCount][2];
        size_t row[kPhase2MoveCount], column[kPhase2MoveCount];
        for (int k = 0; k < kPhase2MoveCount; ++k) {
            const size_t nRow = static_cast<size_t>(k);
            next[k][0] = pruning.cornerPermMove[static_cast<size_t>(corner) * kPhase2MoveCount + nRow];
            next[k][1] = moves.edge8Perm[static_cast<size_t>(edge8) * kPhase2MoveCount + nRow];
            const std::uint32_t cs = corners.classOf[static_cast<size_t>(next[k][0])];
            row[k] = cs / kAxisSymCount;
            column[k] = edge8Conj[static_cast<size_t>(next[k][1]) * kAxisSymCount + cs % kAxisSymCount];
            Prefetch(phase2.EntryAddress(row[k], column[k]));
        }
        int k = 0;
        while (k < kPhase2MoveCount && phase2.Get(row[k], column[k]) != want)
            ++k;
        if (k == kPhase2MoveCount)
            return nMax + 1; // no complete table lacks a way down
        corner = next[k][0];
        edge8 = next[k][1];
        ++nDistance;
    }
    return nDistance;
}

void BuildCornerDistances(Mod3Table& table, const MoveTables& moves, const DepthTables& depth)
{
    const std::uint16_t* cornerMove = moves.cornerPerm.data();
    BuildDistances(
        table, depth.corners,
        RowMoveOf(depth.corners,
                  [cornerMove](size_t v, int k) {
                      return static_cast<size_t>(cornerMove[v * kMoveCount + static_cast<size_t>(k)]);
                  }),
        kMoveCount, coord::kTwistCount, moves.twist.data(), depth.twistConj.data(), 0);
}

size_t DepthTables::Bytes() const
{
    return flipSlice.Bytes() + corners.Bytes() + classMove.size() * sizeof(std::uint32_t) +
           (twistConj.size() + edge8Conj.size()) * sizeof(std::uint16_t) +
           phase1.Bytes() + phase2.Bytes();
}

} // namespace shortsolver
