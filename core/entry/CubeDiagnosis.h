#pragma once
// What is wrong with a painted cube, in words a user understands, and which
// facelets show it; and the filling of blank facelets that the painted ones
// determine.
//
// Facelets are indexed 0..53 slot-major (slots T F R L B D, each face's nine
// facelets row by row), as ParseCubeText fills them. Places are named with the
// words top, front, right, left, back and bottom (the slots T F R L B D), a
// piece's place listing top or bottom first, then front or back, then left or
// right ("the corner at top-front-right"). Colours are named by their usual
// display colours: 1 yellow, 2 blue, 3 red, 4 orange, 5 green, 6 white.
//
// Plain data in, plain data out: nothing here touches a live cube.

#include "Compat.h"
#include "Facelets.h"

#include <vector>

enum class CubeProblemKind {
    COLOUR_COUNT,      // a colour on more or fewer than nine facelets
    BLANK,             // facelets still blank (or with no colour 1..6)
    CENTRE_BLANK,      // a centre left blank
    CENTRE_TWICE,      // one colour on two or more centres
    CENTRE_MISSING,    // a colour on no centre
    CENTRES_SWAPPED,   // the pieces fit only with two centres exchanged
    CENTRES_MIRRORED,  // the centres are a mirror image of the pieces' arrangement
    WRONG_STICKER,     // one sticker painted the wrong colour (named where it can be)
    IMPOSSIBLE_PIECE,  // a piece with colours no piece has
    DUPLICATE_PIECE,   // a piece that is there twice (or more)
    MISSING_PIECE,     // a piece that is nowhere
    FLIPPED_EDGE,      // the edges' flips do not add up: one edge is flipped
    TWISTED_CORNERS,   // the corners' twists do not add up
    SWAPPED_PIECES,    // permutation parity: two pieces are exchanged
};

struct CubeProblem {
    CubeProblemKind kind;
    CString text;               // one or two short sentences, ending with a full stop
    std::vector<int> facelets;  // the facelets involved, 0..53, ascending
};

struct CubeDiagnosis {
    // The result code CCubeSolver::Solve gives for these colours: 0 a real
    // cube, 1 the configuration check fails, 2 otherwise.
    int nResult = 0;
    // Every problem found, the most basic first; empty exactly when nResult is 0.
    std::vector<CubeProblem> problems;

    // All problem texts joined by "; " (without their full stops).
    CString Summary() const;
};

// Diagnoses 54 colours (values above 6 count as no colour).
CubeDiagnosis DiagnoseCube(const BYTE colors[54]);

// The display name of colour 1..6 ("yellow" ...); "blank" for any other.
const char* ColourName(BYTE colour);

struct FillResult {
    BYTE colors[54] = {};  // the colours with every determined blank filled
    int nFilled = 0;       // how many facelets were filled
    // The painted facelets contradict each other (no real cube has them all),
    // so nothing was filled.
    bool bContradiction = false;
};

// Fills blank facelets that every real cube agreeing with the painted ones
// (and their centres) colours alike: the last sticker of a piece, the last
// corner or edge by elimination, its twist or flip, the last two pieces by
// parity, a last blank centre. Painted facelets never change. What can be
// filled is found by narrowing each position's possible pieces step by step,
// so a facelet fixed only by a long chain of cases may stay blank; a facelet
// that is filled is always forced. Needs the centres in six colours (or five
// and one blank).
FillResult FillDetermined(const BYTE colors[54]);
