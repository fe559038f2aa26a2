// The view's side of the next-move marker: when it is drawn and where.

#include "CubeWnd.h"
#include "MarkerDraw.h"

void CCubeWnd::SetMarkerMove(const CString& strMove)
{
    if (m_strMarkerMove == strMove)
        return;
    m_strMarkerMove = strMove;
    Repaint();
}

bool CCubeWnd::IsMarkerShown() const
{
    return !m_strMarkerMove.empty() && !m_bTurning && !m_bSolving && !m_cubies.IsTurning() &&
           ReadMarkerMove(m_strMarkerMove.c_str()).chFace != 0;
}

void CCubeWnd::DrawMarkerOnNet(QPainter* pDC, const NetLayout& layout)
{
    if (!IsMarkerShown())
        return;
    const MarkedMove move = ReadMarkerMove(m_strMarkerMove.c_str());
    const int nSlot = SlotOf(move.chFace);
    if (nSlot < 0)
        return;
    const Rect& rc = layout.rcFace[nSlot];
    DrawNetMarker(pDC, QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top), move.turn);
}

void CCubeWnd::DrawMarkerIn3D()
{
    if (IsMarkerShown())
        DrawMarker3D(MarkerArrows3D(ReadMarkerMove(m_strMarkerMove.c_str()), m_fPitch, m_fYaw));
}
