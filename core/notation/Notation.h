#pragma once
// The move notation cube people write algorithms in, read into a list of
// moves, turned into the model's move strings (CubeSolver.h), inverted,
// mirrored and counted. Plain C++17; knows nothing of a cube's colours.
//
// What is read (letters are case-sensitive):
//   face turns     U D F B L R             clockwise seen from outside that face
//   slice moves    M E S                   the middle layer: M as L, E as D, S as F
//   wide turns     Uw Dw Fw Bw Lw Rw       the face and the middle layer behind it,
//                  u  d  f  b  l  r        the same written in lower case
//   layer depth    2R 2Rw 2r ...           2R the second layer from R alone (M'),
//                                          2Rw and 2r the two outer layers (Rw);
//                                          on this cube no other depth means a move
//   rotations      x y z                   the whole cube as R, U and F
//   suffixes       '  2  2'                counter-clockwise, half turn (’ as ')
//   repeats        (A)3  (A)'  (A)2'        A three times; A inverted; nested freely
//   commutators    [A, B]                  A B A' B'
//   conjugates     [A: B]                  A B A'   (both take the repeat suffixes)
//   comments       // to the end of the line
// White space of any kind separates, and may be left out entirely.
//
// Where a text goes wrong the message says what was found, in which character
// (counted from 1 in characters, not bytes) and what was expected.

#include <cstddef>
#include <string>
#include <vector>

namespace notation {

enum class MoveKind : unsigned char { FACE, SLICE, WIDE, ROTATION };

struct Move {
    MoveKind kind = MoveKind::FACE;
    // FACE and WIDE: U D F B L R; SLICE: M E S; ROTATION: x y z.
    char letter = 'U';
    // Quarter turns clockwise (seen as the letter's face turns), 1 to 3.
    int quarters = 1;

    friend bool operator==(const Move& a, const Move& b)
    {
        return a.kind == b.kind && a.letter == b.letter && a.quarters == b.quarters;
    }
    friend bool operator!=(const Move& a, const Move& b) { return !(a == b); }
};

using Algorithm = std::vector<Move>;

// The most moves an algorithm may hold once its repeats are written out.
constexpr size_t kMaxMoves = 100000;

// Reads a text. On success fills alg (repeats, commutators and conjugates
// written out) and returns true; otherwise leaves alg alone, says in strError
// what is wrong and where, and returns false; pnStop, when given, then
// receives the byte at which the reading stopped.
bool Parse(const std::string& strText, Algorithm& alg, std::string& strError,
           size_t* pnStop = nullptr);

// The algorithm that undoes alg: its moves in reverse order, each inverted.
Algorithm Inverse(const Algorithm& alg);

// The mirror image of alg in the plane between two opposite faces: chAxis 'x'
// (the plane between L and R, the usual left-right mirror), 'y' (U and D) or
// 'z' (F and B). The two faces of the axis trade places keeping their sense
// of turn (R becomes L'), every other move turns the other way; M, E or S and
// the rotation about the axis itself stay as they are.
Algorithm Mirror(const Algorithm& alg, char chAxis = 'x');

// Standard text, moves separated by one space; wide turns as Rw.
std::string Format(const Algorithm& alg);
std::string Format(const Move& move);

// The model's move string (groups of three, "R+.T-.Cv."): face turns as face
// groups, rotations as whole-cube groups, a slice move as the two faces and a
// rotation (M = R L' x'), a wide turn as the opposite face and a rotation
// (Rw = L x).
std::string ToModelMoves(const Algorithm& alg);

// Counts in the three metrics: HTM counts every face turn once (a slice move
// is two face turns), QTM counts quarter turns (a half turn twice), STM every
// face, slice or wide turn once. Rotations count nothing.
struct Metrics {
    int htm = 0;
    int qtm = 0;
    int stm = 0;
    friend bool operator==(const Metrics& a, const Metrics& b)
    {
        return a.htm == b.htm && a.qtm == b.qtm && a.stm == b.stm;
    }
};
Metrics Count(const Algorithm& alg);
// The counts of a model move string: its face groups (+ and - a quarter, * a
// half turn); whole-cube groups and groups that form no move count nothing.
Metrics CountModelMoves(const std::string& strModelMoves);
// "20 HTM · 27 QTM · 20 STM", the parts joined by strSeparator.
std::string FormatMetrics(const Metrics& m, const std::string& strSeparator = " \xC2\xB7 ");

} // namespace notation
