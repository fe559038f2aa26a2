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
// Precondition: the eight non-middle-layer edges stand on their own positions' layer set.
int Edge8Perm(const cubie::CubieCube& c);

// Each setter changes only the aspect it names; the cube need not stay well formed
// between calls, but is after SetSliceSorted or SetEdge8Perm on a solved cube.
void SetTwist(cubie::CubieCube& c, int n);
void SetFlip(cubie::CubieCube& c, int n);
void SetSliceSorted(cubie::CubieCube& c, int n);
void SetCornerPerm(cubie::CubieCube& c, int n);
void SetEdge8Perm(cubie::CubieCube& c, int n);

} // namespace coord
