#pragma once
// Pruning tables: for pairs of coordinates, the fewest moves that bring both
// to their solved values (phase 1: into H; phase 2: to the solved cube). Each
// is a lower bound on the moves still needed, so the search may cut a branch
// whose bound exceeds the moves it has left.

#include "MoveTables.h"

#include <cstdint>
#include <vector>

namespace shortsolver {

struct PruningTables {
    // Phase 1, [twist * 495 + slice], [flip * 495 + slice], [twist * 2048 + flip].
    std::vector<std::uint8_t> twistSlice, flipSlice, twistFlip;
    // Phase 2, [corner perm * 24 + slice perm], [edge8 perm * 24 + slice perm].
    std::vector<std::uint8_t> cornerSlicePerm, edgeSlicePerm;

    void Build(const MoveTables& moves);
    size_t Bytes() const;
};

} // namespace shortsolver
