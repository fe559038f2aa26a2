#pragma once
// The large pruning tables of the short solver: the exact distance to H of
// every cube (phase 1), and within H the exact distance to solving the
// corners and the eight T/D-layer edges (phase 2).
//
// Each table has one row per class of a coordinate under the 16 axis
// symmetries (Symmetries.h) and a column for every value of a second
// coordinate, seen through the symmetry that takes the first to its class's
// representative. An entry holds the distance modulo 3 in two bits: a search
// knows the distance of its node, and a move changes it by at most one, so
// the remainder names the distance of each neighbour.

#include "MoveTables.h"
#include "PruningTables.h"
#include "Symmetries.h"
#include "TableCache.h"

#include <cstdint>
#include <string>
#include <vector>

namespace shortsolver {

void* AllocateLarge(size_t nBytes);
void FreeLarge(void* p, size_t nBytes) noexcept;

// Allocates large arrays on 2 MB boundaries and, where the system supports
// it, asks for large pages for them: far fewer pages to map when the tables
// are read or computed, and fewer misses of the address translation cache
// when the search reads them at random.
template <class T>
struct LargePageAllocator {
    using value_type = T;
    LargePageAllocator() = default;
    template <class U>
    LargePageAllocator(const LargePageAllocator<U>&) noexcept
    {
    }
    T* allocate(size_t n) { return static_cast<T*>(AllocateLarge(n * sizeof(T))); }
    void deallocate(T* p, size_t n) noexcept { FreeLarge(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const LargePageAllocator<U>&) const noexcept
    {
        return true;
    }
    template <class U>
    bool operator!=(const LargePageAllocator<U>&) const noexcept
    {
        return false;
    }
};

// Classes of a coordinate under the axis symmetries.
struct SymClasses {
    // [value]: class * kAxisSymCount + a symmetry that takes the value to
    // the class's representative.
    std::vector<std::uint32_t, LargePageAllocator<std::uint32_t>> classOf;
    std::vector<std::uint32_t> rep;        // [class]: its least value
    std::vector<std::uint16_t> stabiliser; // [class]: bit s set when symmetry s keeps rep

    // conj(value, s): the coordinate of the cube conjugated by symmetry s.
    template <class Conj>
    void Build(size_t nCount, Conj conj);
    size_t Bytes() const;
};

// Two-bit entries (0..2: distance modulo 3; kUnknown while building), each
// row padded to whole bytes.
class Mod3Table {
public:
    static constexpr int kUnknown = 3;

    void Reset(size_t nRows, size_t nColumns);
    int Get(size_t row, size_t column) const
    {
        return (m_data[row * m_nStride + (column >> 2)] >> ((column & 3) * 2)) & 3;
    }
    void Set(size_t row, size_t column, int value)
    {
        std::uint8_t& b = m_data[row * m_nStride + (column >> 2)];
        const int shift = static_cast<int>(column & 3) * 2;
        b = static_cast<std::uint8_t>((b & ~(3 << shift)) | (value << shift));
    }
    const void* EntryAddress(size_t row, size_t column) const { return &m_data[row * m_nStride + (column >> 2)]; }
    std::uint8_t* Data() { return m_data.data(); }
    size_t Stride() const { return m_nStride; } // bytes per row
    const std::uint8_t* Data() const { return m_data.data(); }
    size_t Bytes() const { return m_data.size(); }

private:
    std::vector<std::uint8_t, LargePageAllocator<std::uint8_t>> m_data;
    size_t m_nStride = 0;
};

// The exact distance of a state by walking down a complete table of
// distances modulo 3: each step goes to the first neighbour whose entry is one
// less. solved(s), entry(s) and neighbour(s, k) for k < nMoves; nMax when a
// walk would go further (no complete table lacks a way down).
template <class State, class Solved, class Entry, class Neighbour>
int WalkDown(State s, Solved solved, Entry entry, Neighbour neighbour, int nMoves, int nMax = 30)
{
    int nDistance = 0;
    while (!solved(s) && nDistance < nMax) {
        const int want = (entry(s) + 2) % 3;
        int k = 0;
        for (; k < nMoves; ++k) {
            const State t = neighbour(s, k);
            if (entry(t) == want) {
                s = t;
                break;
            }
        }
        if (k == nMoves)
            return nMax;
        ++nDistance;
    }
    return nDistance;
}

// Classes of the flip-slice values and of the corner permutations under the
// axis symmetries.
constexpr size_t kFlipSliceClassCount = 64430;
constexpr size_t kCornerClassCount = 2768;

struct DepthTables {
    SymClasses flipSlice; // value flip * coord::kSliceCount + slice
    // [flip-slice class * kMoveCount + move]: flipSlice.classOf of the
    // class's representative after the move. A search that follows a cube's
    // class and symmetry finds all its children's classes in one row here.
    std::vector<std::uint32_t, LargePageAllocator<std::uint32_t>> classMove;
    SymClasses corners;   // corner permutation
    std::vector<std::uint16_t> twistConj; // [twist * kAxisSymCount + s]
    std::vector<std::uint16_t> edge8Conj; // [edge8 perm * kAxisSymCount + s]
    Mod3Table phase1; // [flip-slice class][twist seen through its symmetry]
    Mod3Table phase2; // [corner class][edge8 perm seen through its symmetry]

    // Sizes the tables; Build or Load then fills them.
    void Allocate();
    // Computes everything (seconds; the two tables on two threads).
    void Build(const MoveTables& moves);
    // The cache file: a whole, unchanged file of this format fills the
    // tables (and the extra arrays, which must be sized as when saved) and
    // returns true; anything else returns false.
    // returns true (with *pChecksum, when given, the file's checksum of what
    // it read); anything else returns false.
    bool Load(const std::string& path, const std::vector<tablecache::Destination>& extra = {},
              std::uint64_t* pChecksum = nullptr);
    bool Save(const std::string& path, const std::vector<tablecache::Segment>& extra = {}) const;
    // The checksum a file of these tables and the extra arrays would hold.
    std::uint64_t Checksum(const std::vector<tablecache::Segment>& extra = {}) const;

    // The least distance no smaller than nAtLeast that is nMod3 modulo 3: a
    // bound from an entry and any lower bound of the same distance.
    static int LeastWithRemainder(int nAtLeast, int nMod3) { return nAtLeast + (nMod3 - nAtLeast % 3 + 3) % 3; }

    int Phase1Entry(int flip, int slice, int twist) const
    {
        const std::uint32_t cs = flipSlice.classOf[static_cast<size_t>(flip) * coord::kSliceCount +
                                                   static_cast<size_t>(slice)];
        return phase1.Get(cs / kAxisSymCount,
                          twistConj[static_cast<size_t>(twist) * kAxisSymCount + cs % kAxisSymCount]);
    }
    int Phase2Entry(int corner, int edge8) const
    {
        const std::uint32_t cs = corners.classOf[static_cast<size_t>(corner)];
        return phase2.Get(cs / kAxisSymCount,
                          edge8Conj[static_cast<size_t>(edge8) * kAxisSymCount + cs % kAxisSymCount]);
    }
    // The distance of a neighbour of a node at distance nDistance whose
    // entry is nEntry (an unknown entry, which no complete table has, counts
    // as out of reach).
    static int NextDistance(int nDistance, int nEntry)
    {
        static constexpr signed char kStep[3][4] = {{0, 1, -1, 99}, {-1, 0, 1, 99}, {1, -1, 0, 99}};
        return nDistance + kStep[nDistance % 3][nEntry];
    }
    // The exact distance to H, found by walking down the table.
    int Phase1Distance(const MoveTables& moves, int flip, int slice, int twist) const;
    // The exact phase-2 distance of the corners and eight edges, or nMax + 1
    // when it is larger than nMax.
    int Phase2Distance(const MoveTables& moves, const PruningTables& pruning, int corner, int edge8, int nMax) const;

    size_t Bytes() const;
};

// The exact distance of every corner state (permutation and twist) from the
// solved corners, in the same form as the phase-1 table: a row per corner
// permutation class of depth.corners, a column per twist seen through its
// symmetry (depth.twistConj). For the optimal solver's bound.
void BuildCornerDistances(Mod3Table& table, const MoveTables& moves, const DepthTables& depth);

} // namespace shortsolver
