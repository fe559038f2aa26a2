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

private:
    std::vector<std::uint8_t> m_data;
};

struct PruningTables {
    // Phase 1: distances of (twist, slice), (flip, slice) and (twist, flip).
    // They are computed up to symmetry (sym); the two small ones are then
    // written out in full, [first * count of second + second], which saves
    // the search two dependent reads per entry. The largest stays reduced:
    // in full it would no longer fit the processor's cache beside the rest.
    SymmetryTables sym;
    NibbleTable twistSlice, flipSlice, twistFlip;
    // At the same index as twistSlice and flipSlice: bit m set when move m
    // lowers the entry by one (a search whose entry equals the moves it has
    // left need try only those).
    std::vector<std::uint32_t> twistSliceDown, flipSliceDown;
    // The phase-2 moves on the corner and the slice permutation,
    // [value * kPhase2MoveCount + phase-2 move]: the phase-2 search's own
    // copies, half the size of the full move tables' rows.
    std::vector<std::uint16_t> cornerPermMove, slicePermMove;
    // Phase 2, [corner perm * 24 + slice perm], [edge8 perm * 24 + slice perm].
    std::vector<std::uint8_t> cornerSlicePerm, edgeSlicePerm;
    // Phase 2: which positions hold the four T corners and the corners'
    // parity, kCornerPlaceCount values, [corner perm]; and the distances of
    // [edge8 perm * kCornerPlaceCount + that].
    static constexpr int kCornerPlaceCount = 140;
    std::vector<std::uint8_t> cornerPlace;
    NibbleTable edgeCornerPlace;

    static size_t TwistSliceIndex(int twist, int slice)
    {
        return static_cast<size_t>(twist) * coord::kSliceCount + static_cast<size_t>(slice);
    }
    static size_t FlipSliceIndex(int flip, int slice)
    {
        return static_cast<size_t>(flip) * coord::kSliceCount + static_cast<size_t>(slice);
    }
    // The twist-flip table, the largest, stays reduced by symmetry: at the
    // class of the twist, the flip conjugated alike.
    size_t TwistFlipIndex(int twist, int flip) const
    {
        const int c = sym.twistClass[static_cast<size_t>(twist)];
        return static_cast<size_t>(c / kSymCount) * coord::kFlipCount +
               sym.flipConj[static_cast<size_t>(flip) * kSymCount + static_cast<size_t>(c % kSymCount)];
    }
    int TwistSlice(int twist, int slice) const { return twistSlice[TwistSliceIndex(twist, slice)]; }
    int FlipSlice(int flip, int slice) const { return flipSlice[FlipSliceIndex(flip, slice)]; }
    int TwistFlip(int twist, int flip) const { return twistFlip[TwistFlipIndex(twist, flip)]; }

    void Build(const MoveTables& moves);
    size_t Bytes() const;
};

} // namespace shortsolver
