#pragma once
// The 54 facelets of a cube as one value, and the result codes every solver,
// the diagnosis and the command line share.
//
// Order: the faces in slot order T F R L B D, each face's nine colour indexes
// row-major as seen from outside in the unfolded net (see CubeSolver.h);
// element slot * 9 + 4 is the centre of that face. A colour index is 0 for a
// blank and 1..6 for the solved colours of T F R L B D.

#include <array>
#include <cstddef>

#include "Compat.h"

constexpr int kFacesPerCube = 6;
constexpr int kFaceletsPerFace = 9;
constexpr int kFaceletCount = kFacesPerCube * kFaceletsPerFace;

// The cube's 54 colour indexes.
using Facelets = std::array<BYTE, kFaceletCount>;

// Index of a facelet in Facelets: face slot 0..5, element 0..8 (row * 3 + col).
constexpr int FaceletIndex(int slot, int element) { return slot * kFaceletsPerFace + element; }
// Index of the centre facelet of a face slot.
constexpr int CentreIndex(int slot) { return FaceletIndex(slot, 4); }

// Result codes of every solver (CCubeSolver::Solve, the short and optimal
// solvers) and of the diagnosis. The command line writes them as the first
// field of each answer.
enum SolveResult : int {
    // Solved: the solution turns the cube into the solved cube (it is empty
    // when the cube is solved already).
    kSolved = 0,
    // The colours do not make up a set of cubelets: a colour count other than
    // nine, a blank, centres that are not six different colours, or a piece
    // that no real cube has. Nothing was solved.
    kBadCubelets = 1,
    // A set of cubelets that cannot be solved: a flipped edge, a twisted
    // corner, two swapped pieces, or a sticker painted the wrong colour.
    kUnsolvable = 2,
};
