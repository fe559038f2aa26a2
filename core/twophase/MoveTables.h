#pragma once
// Move tables: the coordinate reached from each coordinate value by each move.
//
// Moves are numbered face * 3 + turn, faces in slot order T F R L B D, turns
// 0 clockwise ('+'), 1 half ('*'), 2 counter-clockwise ('-'). Phase 2 uses
// only the ten moves of kPhase2Moves and indexes its tables by their place there.

#include "Coordinates.h"

#include <cstdint>
#include <vector>

namespace shortsolver {

constexpr int kMoveCount = 18;
constexpr int kPhase2MoveCount = 10;
// T+ T* T- D+ D* D- F* R* L* B*
constexpr int kPhase2Moves[kPhase2MoveCount] = {0, 1, 2, 15, 16, 17, 4, 7, 10, 13};

inline int MoveFace(int m) { return m / 3; }
inline int InverseMove(int m) { return m - m % 3 + 2 - m % 3; }

struct MoveTables {
    // [value * kMoveCount + move]
    std::vector<std::uint16_t> twist, flip, sliceSorted, slice, cornerPerm;
    // [value * kPhase2MoveCount + phase-2 move]
    std::vector<std::uint16_t> edge8Perm;
    // Each move as a cubie cube.
    cubie::CubieCube moveCube[kMoveCount];

    void Build();
    // Only the move cubes, and the tables sized (for reading them from a file).
    void BuildMoveCubes();
    void Allocate();
    size_t Bytes() const;
};

} // namespace shortsolver
