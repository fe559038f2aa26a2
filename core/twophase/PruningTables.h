#pragma once
// The phase-2 tables besides the large ones of DepthTables.h: the phase-2
// moves on the corner and slice permutations, and the distance of the two
// together, a bound that costs a single read before a phase 2 begins.

#include "MoveTables.h"

#include <cstdint>
#include <vector>

namespace shortsolver {

struct PruningTables {
    // The phase-2 moves on the corner and the slice permutation,
    // [value * kPhase2MoveCount + phase-2 move]: the phase-2 search's own
    // copies, half the size of the full move tables' rows.
    std::vector<std::uint16_t> cornerPermMove, slicePermMove;
    // Phase 2, [corner perm * 24 + slice perm]: the fewest phase-2 moves that
    // solve both.
    std::vector<std::uint8_t> cornerSlicePerm;
    // Phase 2, [edge8 perm * 24 + slice perm]: the same for the edges.
    std::vector<std::uint8_t> edgeSlicePerm;
    // Phase 2: which positions hold the four T corners, and the corners'
    // parity, [corner perm] (kCornerPlaceCount values, which the phase-2
    // moves act on by themselves); and the fewest phase-2 moves that solve
    // the eight edges and those together, two to a byte at
    // [edge8 perm * kCornerPlaceCount + place]. A bound on the large phase-2
    // table's distance that one read gives.
    static constexpr int kCornerPlaceCount = 140;
    std::vector<std::uint8_t> cornerPlace;
    std::vector<std::uint8_t> edgeCornerPlace;
    int EdgeCornerPlace(int edge8, int corner) const
    {
        const size_t i = static_cast<size_t>(edge8) * kCornerPlaceCount + cornerPlace[static_cast<size_t>(corner)];
        return (edgeCornerPlace[i >> 1] >> ((i & 1) * 4)) & 15;
    }
    // Phase 2, [corner perm] and [edge8 perm]: the fewest phase-2 moves that
    // solve each alone (made in no time, so never read from a file).
    std::vector<std::uint8_t> cornerPermDistance, edge8PermDistance;

    void Build(const MoveTables& moves);
    // The tables sized (for reading them from a file).
    void Allocate();
    // cornerPermDistance and edge8PermDistance, from the move tables.
    void BuildSingleDistances(const MoveTables& moves);
    size_t Bytes() const;
};

} // namespace shortsolver
