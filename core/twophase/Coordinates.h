#pragma once
// Coordinates of the two-phase search: small integers that each describe one
// aspect of a cubie cube, with the inverse (a cube having a given value).
//
// Phase 1 takes a cube into the subgroup H reached by T and D turns and half
// turns of F, R, L and B: every orientation 0 and the middle-layer edges (FR,
// FL, BL, BR) in the middle layer. Phase 2 solves within H.

#include "CubieCube.h"

#include <cstdint>

namespace coord {

constexpr int kTwistCount = 2187;      // 3^7: corner orientations
constexpr int kFlipCount = 2048;       // 2^11: edge orientations
constexpr int kSliceCount = 495;       // C(12,4): which positions hold the middle-layer edges
constexpr int kSliceSortedCount = 11880; // slice * 24 + order of the middle-layer edges there
constexpr int kCornerPermCount = 40320;  // 8!
constexpr int kEdge8PermCount = 40320;   // 8!: the other eight edges, inside H
constexpr int kSlicePermCount = 24;      // 4!: the middle-layer edges, inside H

// Slice coordinate of the solved cube (and of every cube in H).
int SolvedSlice();

int Twist(const cubie::CubieCube& c);
int Flip(const cubie::CubieCube& c);
int SliceSorted(const cubie::CubieCube& c);
int CornerPerm(const cubie::CubieCube& c);
// Precondition: the cube is in H (the eight other edges on their eight positions).
int Edge8Perm(const cubie::CubieCube& c);

// Each setter changes only what its coordinate describes (SetSliceSorted
// places every edge), so each yields a cube the move tables can turn.
void SetTwist(cubie::CubieCube& c, int n);
void SetFlip(cubie::CubieCube& c, int n);
void SetSliceSorted(cubie::CubieCube& c, int n);
void SetCornerPerm(cubie::CubieCube& c, int n);
void SetEdge8Perm(cubie::CubieCube& c, int n);

} // namespace coord
