#pragma once
// Several short solutions of one cube, to choose from.
//
// The short solver gives one answer per cube: the first it meets within the
// bound. Others come from asking it again: about the inverse cube (its
// solution undone solves the cube), and about the cube after each of the 18
// first moves in turn (that move, then the answer; turns of one face side by
// side merged), then the same for the inverse cube. Every answer is checked;
// answers that differ only in the order of turns of opposite faces (U D and
// D U) count once, and any longer than the bound is left out. The list is
// sorted shortest first, then in the order asked (the solver's own answer
// first). Nothing but the cube, the bound and the count decides it.

#include "Compat.h"

#include <string>
#include <vector>

// Up to nCount distinct solutions of at most nMaxLength moves in the model's
// notation (the first is SolveShort's own); strMoves empty for a solved cube,
// which has that one solution. Returns SolveShort's result code for the cube.
int SolveShortSeveral(const BYTE colors[54], int nMaxLength, size_t nCount,
                      std::vector<std::string>& solutions);

// The moves with each run of turns of two opposite faces in slot order: two
// solutions are the same when these are equal.
std::string CanonicalMoves(const std::string& strModelMoves);
