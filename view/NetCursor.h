#pragma once
// The keyboard's place in the net: one facelet, moved by the arrow keys across
// the faces as the net lies, and stepped facelet by facelet in the model's
// order (slots T F R L B D, each face row by row) as colours are typed.
//
// Pure functions of the place; the net's picture is in NetLayout.h:
//
//         T
//     L   F   R   B
//         D
//
// The net is a grid of 12 by 9 facelets. An arrow moves one facelet in the
// grid; the band L F R B wraps around (right of B is L, as on the cube), and
// a move that would leave the net or land beside it (above L, say) is not
// made.

#include "Facelets.h"

struct NetCursor {
    int nSlot = 0; // CCubeSolver slot, 0..5
    int nRow = 0;  // 0..2, as the face is seen in the net
    int nCol = 0;  // 0..2

    // The facelet's index 0..53, slot-major.
    int Index() const { return FaceletIndex(nSlot, nRow * 3 + nCol); }
    static NetCursor FromIndex(int nIndex);
    bool operator==(const NetCursor& o) const
    {
        return nSlot == o.nSlot && nRow == o.nRow && nCol == o.nCol;
    }
};

// The place one facelet away in the net (dx, dy each -1, 0 or 1); the same
// place when the move is not made.
NetCursor MoveNetCursor(const NetCursor& cursor, int dx, int dy);

// The next (or previous) facelet in the model's order, wrapping from the last
// facelet of D to the first of T and back.
NetCursor StepNetCursor(const NetCursor& cursor, int nDelta);
