#pragma once
// Whole-cube turns that let the search work on another axis: the cube is
// seen turned so that the F/B or R/L pair stands on T/D, solved there, and
// the solution's face letters translated back.

#include "CubieCube.h"

#include <cstdint>
#include <vector>

namespace shortsolver {

constexpr int kAxisCount = 3;
// The cube seen with axis nAxis on T/D (0: T/D itself, 1: F/B, 2: R/L).
// faceOf[s] receives the slot of the entered cube that stands at slot s of
// the turned one, so a turn of slot s there is a turn of faceOf[s] here.
cubie::CubieCube SeenFromAxis(const cubie::CubieCube& cube, int nAxis, int faceOf[cubie::kFaceCount]);

} // namespace shortsolver

namespace shortsolver {

// The 16 symmetries of the cube that keep the T/D axis: the quarter turns
// about it, each with or without a half turn about the F/B axis, each with or
// without the mirror image in the plane between R and L. They keep H and map
// moves to moves, so a cube and each of its images lie equally far from H
// and from the solved cube; the large pruning tables store one entry for all
// of them. Symmetry 0 is the identity.
constexpr int kAxisSymCount = 16;

struct AxisSymmetry {
    std::int8_t cornerTo[cubie::CORNER_COUNT]; // position each corner position goes to
    std::int8_t edgeTo[cubie::EDGE_COUNT];
    // 1 when an edge position's reference facelet goes to a facelet that is
    // not its image's reference facelet (the same for the four middle-layer
    // positions, 0 for the other eight).
    std::int8_t edgeFlip[cubie::EDGE_COUNT];
    bool bMirror;                  // reverses the sense of turning
    std::int8_t moveTo[3 * cubie::kFaceCount]; // the move each move becomes
    std::int8_t inverse;           // the symmetry that undoes this one
    // after[s]: this symmetry applied after symmetry s, as one symmetry:
    // ConjugateAxis(ConjugateAxis(c, s), this) == ConjugateAxis(c, after[s]).
    std::int8_t after[kAxisSymCount];
};

const AxisSymmetry& GetAxisSymmetry(int nSym);

// The cube as seen after whole-cube symmetry nSym: every piece carried to
// its image, its colours named after the faces they are carried to (a
// mirror image is read back as the real cube it represents). It respects
// moves: ConjugateAxis(a * move m) == ConjugateAxis(a) * move moveTo[m].
cubie::CubieCube ConjugateAxis(const cubie::CubieCube& cube, int nSym);

} // namespace shortsolver

