#pragma once
// The optimal solve as the program runs it (Cube > Solve Optimally): the
// short solution listed at once, then the search for the fewest moves on a
// worker thread, its progress and a Cancel in a small window beside the
// dialog (OptimalSolve.cpp).

#include "OptimalSolver.h"
#include "ShortSolve.h"

#include <functional>

// The search a worker runs after the short solve. Tests replace it to hold a
// worker for as long as they need; a null function restores SolveOptimal.
using OptimalSolveFunction = std::function<OptimalResult(const Facelets&, const OptimalOptions&)>;
void SetOptimalSolveFunction(OptimalSolveFunction fn);
