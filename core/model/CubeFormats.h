#pragma once
// The formats other cube tools use, beside the model's own 54 digits and move
// strings (see CubeText.h and CubeSolver.h).
//
// Standard facelet string: 54 letters U R F D L B, the faces in the order
// U R F D L B, each face's nine facelets row by row as seen from outside in
// the net of CubeSolver.h (U is our T, D our D, the other letters our own).
// A letter names the face whose centre has that colour, so the solved cube is
// UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB.
//
// Standard notation: face turns U D F B L R, clockwise seen from outside; a
// suffix ' turns counter-clockwise, 2 (or 2') half way. Whole-cube rotations
// x (as R), y (as U) and z (as F), with the same suffixes; slice and wide
// turns, repeats, commutators and conjugates as Notation.h reads them. Moves
// may be separated by white space or written together.
//
// Every function is plain data in, plain data out; none touches a live cube.

#include "Compat.h"
#include "Facelets.h"
#include "Notation.h"

#include <cstddef>

constexpr size_t kFaceletStringLength = kFaceletCount;

// Writes 54 colours (slot-major, as ParseCubeText fills them) as a standard
// facelet string, each facelet lettered by the face whose centre has its
// colour. Fails, saying why, when a facelet is blank or the centres are not
// six different colours.
bool FormatFaceletString(const BYTE colors[kFaceletStringLength], CString& strOut,
                         CString& strError);

// Reads a standard facelet string into 54 colours (slot-major): U is colour 1,
// F 2, R 3, L 4, B 5, D 6, the solved colours of the slots T F R L B D. Any
// arrangement of the letters is accepted; whether it is a real cube is for
// the diagnosis to say.
bool ParseFaceletString(const CString& strText, BYTE colors[kFaceletStringLength],
                        CString& strError);

// True when the text is 54 face letters (U R F D L B): a standard facelet
// string, not the model's digits nor a move sequence written without spaces.
bool IsFaceletStringLike(const CString& strText);

// Translates standard notation (every construct of Notation.h: slices, wide
// turns, rotations, repeats, commutators, conjugates, comments) into the
// model's move string (groups such as "T+.", "C^."). On failure says what is
// wrong and at which character.
bool ParseStandardMoves(const CString& strText, CString& strModelMoves, CString& strError);

// Moves as a user gives them: the model's groups when every group is a move,
// else standard notation. When the text is neither, says what is wrong at the
// first bad place of the reading that got further (in characters). bInverse
// gives the moves that undo the text's instead.
bool ParseMoveText(const CString& strText, CString& strModelMoves, CString& strError,
                   bool bInverse = false);

// Translates a model move string into standard notation, moves separated by
// one space. Fails on a group that forms no move, naming it.
bool FormatStandardMoves(const CString& strModelMoves, CString& strOut, CString& strError);

// True when the text is a sequence of whole model move groups (a face letter
// T F R L B D with + - *, or C with + - ^ v, then any separator).
bool IsModelMoveString(const CString& strText);

// The model move string that undoes the given well-formed one.
CString InverseModelMoves(const CString& strModelMoves);

// What a pasted text holds: a cube as the model's 54 digits or as a standard
// facelet string, or a move sequence in standard notation (a scramble, meant
// for the solved cube). Surrounding white space is ignored.
enum class CubeTextKind { NONE, DIGITS, FACELETS, STANDARD_MOVES };

struct CubeTextReading {
    CubeTextKind kind = CubeTextKind::NONE;
    // The cube: as read, or the solved cube with the moves performed.
    BYTE colors[kFaceletStringLength] = {};
    CString strModelMoves;  // STANDARD_MOVES: the moves as model groups
    notation::Metrics metrics; // STANDARD_MOVES: the moves counted as written
    CString strError;       // NONE: what is wrong, for the format the text looks most like
};

// bInverseMoves: a move sequence is taken as the solution of the cube meant,
// which is then the solved cube with the moves' inverse performed.
CubeTextReading ReadCubeOrMoves(const CString& strText, bool bInverseMoves = false);
