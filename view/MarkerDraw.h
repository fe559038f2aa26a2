#pragma once
// Drawing the next-move marker (MoveMarker.h): black arrows with a white rim,
// readable on every sticker colour.

#include "MoveMarker.h"

#include <QRect>

class QPainter;

// Draws the arrows in the current OpenGL context, whose model-view matrix is
// the 3D view's (scene to eye coordinates). Leaves the lighting and depth
// state as it found them.
void DrawMarker3D(const std::vector<MarkerArrow>& arrows);

// Draws the arc of a turn over a face of the net lying in rcFace.
void DrawNetMarker(QPainter* pDC, const QRect& rcFace, MarkerTurn turn);
