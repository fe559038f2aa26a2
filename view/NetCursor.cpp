#include "NetCursor.h"

#include "CubeSolver.h"

namespace {

// Each slot's top-left facelet in the 12 by 9 grid.
struct GridPlace {
    int nSlot;
    int x, y;
};

constexpr GridPlace kGrid[CCubeSolver::FACE_COUNT] = {
    {CCubeSolver::SLOT_T, 3, 0}, {CCubeSolver::SLOT_F, 3, 3}, {CCubeSolver::SLOT_R, 6, 3},
    {CCubeSolver::SLOT_L, 0, 3}, {CCubeSolver::SLOT_B, 9, 3}, {CCubeSolver::SLOT_D, 3, 6},
};

const GridPlace& PlaceOf(int nSlot)
{
    for (const GridPlace& place : kGrid)
        if (place.nSlot == nSlot)
            return place;
    return kGrid[0];
}

} // namespace

NetCursor NetCursor::FromIndex(int nIndex)
{
    NetCursor cursor;
    if (nIndex < 0 || nIndex >= 54)
        return cursor;
    cursor.nSlot = nIndex / 9;
    cursor.nRow = nIndex % 9 / 3;
    cursor.nCol = nIndex % 3;
    return cursor;
}

NetCursor MoveNetCursor(const NetCursor& cursor, int dx, int dy)
{
    const GridPlace& from = PlaceOf(cursor.nSlot);
    int x = from.x + cursor.nCol + dx;
    const int y = from.y + cursor.nRow + dy;
    if (y >= 3 && y < 6)
        x = (x + 12) % 12; // the band L F R B goes round the cube
    for (const GridPlace& place : kGrid) {
        if (x >= place.x && x < place.x + 3 && y >= place.y && y < place.y + 3)
            return NetCursor{place.nSlot, y - place.y, x - place.x};
    }
    return cursor;
}

NetCursor StepNetCursor(const NetCursor& cursor, int nDelta)
{
    return NetCursor::FromIndex(((cursor.Index() + nDelta) % 54 + 54) % 54);
}
