#pragma once
// Where the net lies in a view of a given size, and what lies under a
// point: pure functions of the size, so that hit testing needs no paint.
//
// Facelet side c = min((W - 7) / 12, (H - 5) / 9), never below 0; faces are
// 3c square, 2 pixels apart, the cross starting 1 pixel from the top-left
// corner, so the whole net (12c + 7 by 9c + 5 pixels) lies inside the view:
//
//         T
//     L   F   R   B
//         D

#include "CubeSolver.h"

#include <QPoint>
#include <QSize>

struct NetLayout {
    int nCell = 0;                          // facelet side c in pixels
    Rect rcFace[CCubeSolver::FACE_COUNT];   // each face's square, by slot
};

// The faces' slots in drawing and hit-testing order: T, F, D, L, R, B.
extern const int g_netOrder[CCubeSolver::FACE_COUNT];

NetLayout LayoutNet(QSize size);

// Slot of the face whose square holds the point (left and top edges in,
// right and bottom out), in the order of g_netOrder; -1 for none.
int HitTestNet(const NetLayout& layout, QPoint pt);

// Row and column of the facelet under the point within the face of the
// slot; false when the point is outside that face.
bool HitTestFacelet(const NetLayout& layout, int nSlot, QPoint pt, int& nRow, int& nCol);
