#pragma once
// Several short solutions of one cube, to choose from.
//
// The short solver gives one answer per cube: the first it meets within the
// bound. The others come from its search carried on past that answer
// (shortsolver::CollectSolutions): first every solution it meets of at most
// the answer's length, then of one move more, and so on up to the bound,
// until enough are found or a fixed number of nodes is spent, at each bound
// and in all. Every answer is checked; answers that differ only in the order
// of turns of opposite faces (U D and D U) count once. The list is sorted
// shortest first, then in the order met (the solver's own answer first).
// Nothing but the cube, the bound and the count decides it: no clock, and
// the same on every machine.

#include "Compat.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

struct SeveralOptions {
    // Set to stop the search: the solutions met so far are given.
    const std::atomic<bool>* pCancel = nullptr;
    // The bound being searched and the solutions found so far, now and then.
    std::function<void(int nBound, size_t nFound)> progress;
};

// Up to nCount distinct solutions of at most nMaxLength moves in the model's
// notation (SolveShort's own among the first of its length); strMoves empty
// for a solved cube, which has that one solution. Returns SolveShort's
// result code for the cube.
int SolveShortSeveral(const BYTE colors[54], int nMaxLength, size_t nCount, std::vector<std::string>& solutions,
                      const SeveralOptions& options = {});

// The moves with each run of turns on one axis written as the quarter turns
// of its two faces, the lower slot first: two solutions are the same when
// these are equal.
std::string CanonicalMoves(const std::string& strModelMoves);
