#pragma once
// Pruning tables: for pairs of coordinates, the fewest moves that bring both
// to their solved values (phase 1: into H; phase 2: to the solved cube). Each
// is a lower bound on the moves still needed, so the search may cut a branch
// whose bound exceeds the moves it has left.

#include "MoveTables.h"
#include "Symmetries.h"

#include <cstdint>
#include <vector>

namespace shortsolver {

// Distances of at most 15, two to a byte (the search reads tables at random,
// so a smaller table is a faster one).
class NibbleTable {
public:
    void Pack(const std::vector<std::uint8_t>& values);
    int operator[](size_t i) const { return (m_data[i >> 1] >> ((i & 1) * 4)) & 15; }
    size_t Bytes() const { return m_data.size(); }
    // A hint that entry i is about to be read.
    void Prefetch(size_t i) const
    {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(&m_data[i >> 1]);
#else
        (void)i;
#endif
    }

private:
    std::vector<std::uint8_t> m_data;
};

struct PruningTables {
    // Phase 1: distances of (twist, slice), (flip, slice) and (twist, flip)
    // stored up to symmetry: the entry of a pair is at the class of its first
    // coordinate and the second conjugated alike. Read through the *Index functions.
    SymmetryTables sym;
    NibbleTable twistSlice, flipSlice, twistFlip;
    // Phase 2, [corner perm * 24 + slice perm], [edge8 perm * 24 + slice perm].
    std::vector<std::uint8_t> cornerSlicePerm, edgeSlicePerm;

    size_t TwistSliceIndex(int twist, int slice) const
    {
        const int c = sym.twistClass[twist];
        return static_cast<size_t>(c / kSymCount) * coord::kSliceCount +
               sym.sliceConj[slice * kSymCount + c % kSymCount];
    }
    size_t FlipSliceIndex(int flip, int slice) const
    {
        const int c = sym.flipClass[flip];
        return static_cast<size_t>(c / kSymCount) * coord::kSliceCount +
               sym.sliceConj[slice * kSymCount + c % kSymCount];
    }
    size_t TwistFlipIndex(int twist, int flip) const
    {
        const int c = sym.twistClass[twist];
        return static_cast<size_t>(c / kSymCount) * coord::kFlipCount +
               sym.flipConj[flip * kSymCount + c % kSymCount];
    }
    int TwistSlice(int twist, int slice) const { return twistSlice[TwistSliceIndex(twist, slice)]; }
    int FlipSlice(int flip, int slice) const { return flipSlice[FlipSliceIndex(flip, slice)]; }
    int TwistFlip(int twist, int flip) const { return twistFlip[TwistFlipIndex(twist, flip)]; }

    void Build(const MoveTables& moves);
    size_t Bytes() const;
};

} // namespace shortsolver
