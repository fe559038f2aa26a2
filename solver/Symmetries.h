#pragma once
// Whole-cube turns that let the search work on another axis: the cube is
// seen turned so that the F/B or R/L pair stands on T/D, solved there, and
// the solution's face letters translated back.

#include "CubieCube.h"

namespace shortsolver {

constexpr int kAxisCount = 3;
// Turns passed to SeenFromAxis besides the axes: the cube turned a quarter
// about T/D (front to the left), which keeps H and so its distance to H.
constexpr int kQuarterAboutTD = 3;

// The cube seen with axis nAxis on T/D (0: T/D itself, 1: F/B, 2: R/L), or
// turned by kQuarterAboutTD.
// faceOf[s] receives the slot of the entered cube that stands at slot s of
// the turned one, so a turn of slot s there is a turn of faceOf[s] here.
cubie::CubieCube SeenFromAxis(const cubie::CubieCube& cube, int nAxis, int faceOf[cubie::kFaceCount]);

} // namespace shortsolver
