#pragma once
// Solving to a target instead of to the solved cube: the classic patterns,
// each stored as the cube it makes, and the reduction of "from cube A to cube
// B" to one ordinary solve.
//
// Going from A to B is solving the cube B⁻¹·A, A seen relative to B: with a
// and b the cubie cubes of A and B (CubieCube.h, a * m is a followed by m),
// the moves m with a * m = b are those that solve b⁻¹ * a. Each cube is read
// relative to its own centres, and the cube solved is painted in A's centre
// colours, so the moves name A's faces as entered. No new search is made.

#include "Compat.h"
#include "OptimalSolver.h"

#include <cstddef>
#include <string>

struct CubePattern {
    const char* pszName;      // "Checkerboard"
    const char* pszCube;      // the cube it makes from the solved one, 54 colour digits (CubeText.h)
    const char* pszAlgorithm; // one way to make it, in standard notation
};

// The library, in the order a menu lists it.
const CubePattern* CubePatterns(size_t& nCount);

// Fills relative with B⁻¹·A for A = from and B = to. Returns the result code
// a solve of from would give (kSolved when both are real cubes); when from is
// a real cube but to is not, kBadCubelets or kUnsolvable for to, and says
// which in strError.
int RelativeCube(const BYTE from[54], const BYTE to[54], BYTE relative[54], std::string& strError);

// The short solver's moves (at most nMaxLength) that turn from into to, in
// the model's notation; the codes of SolveShort for from, or as RelativeCube.
int SolveShortTo(const BYTE from[54], const BYTE to[54], int nMaxLength, std::string& strMoves,
                 std::string& strError);
// The fewest moves that turn from into to.
OptimalResult SolveOptimalTo(const BYTE from[54], const BYTE to[54], const OptimalOptions& options,
                             std::string& strError);
