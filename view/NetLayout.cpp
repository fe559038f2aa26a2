#include "NetLayout.h"

#include <algorithm>

namespace {

// Each face's origin in units of (c, gap): x = ax * c + bx, y = ay * c + by.
struct NetPlace {
    int nSlot;
    int ax, bx, ay, by;
};

constexpr NetPlace kNet[CCubeSolver::FACE_COUNT] = {
    {CCubeSolver::SLOT_T, 3, 3, 0, 1},
    {CCubeSolver::SLOT_F, 3, 3, 3, 3},
    {CCubeSolver::SLOT_D, 3, 3, 6, 5},
    {CCubeSolver::SLOT_L, 0, 1, 3, 3},
    {CCubeSolver::SLOT_R, 6, 5, 3, 3},
    {CCubeSolver::SLOT_B, 9, 7, 3, 3},
};

} // namespace

const int g_netOrder[CCubeSolver::FACE_COUNT] = {CCubeSolver::SLOT_T, CCubeSolver::SLOT_F,
                                                 CCubeSolver::SLOT_D, CCubeSolver::SLOT_L,
                                                 CCubeSolver::SLOT_R, CCubeSolver::SLOT_B};

NetLayout LayoutNet(QSize size)
{
    NetLayout layout;
    // Below 7 by 5 pixels the truncating divisions could round a negative
    // quotient up to 0 or give one below it: clamped either way.
    const int c = std::max(0, std::min((size.width() - 7) / 12, (size.height() - 5) / 9));
    layout.nCell = c;
    for (const NetPlace& place : kNet) {
        const int x = place.ax * c + place.bx;
        const int y = place.ay * c + place.by;
        layout.rcFace[place.nSlot] = Rect{x, y, x + 3 * c, y + 3 * c};
    }
    return layout;
}

int HitTestNet(const NetLayout& layout, QPoint pt)
{
    for (int nSlot : g_netOrder)
        if (layout.rcFace[nSlot].Contains(pt.x(), pt.y()))
            return nSlot;
    return -1;
}

bool HitTestFacelet(const NetLayout& layout, int nSlot, QPoint pt, int& nRow, int& nCol)
{
    const Rect& rc = layout.rcFace[nSlot];
    if (layout.nCell <= 0 || !rc.Contains(pt.x(), pt.y()))
        return false;
    nRow = (pt.y() - rc.top) / layout.nCell;
    nCol = (pt.x() - rc.left) / layout.nCell;
    return true;
}
