#include "CubeWnd.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>

namespace {

// Raises a flag for the life of the object: a face turn's frames running,
// or a solve.
class TurnGuard {
public:
    explicit TurnGuard(bool& bFlag) : m_bFlag(bFlag) { m_bFlag = true; }
    ~TurnGuard() { m_bFlag = false; }
    TurnGuard(const TurnGuard&) = delete;
    TurnGuard& operator=(const TurnGuard&) = delete;

private:
    bool& m_bFlag;
};

} // namespace

CColorsChange::CColorsChange(CCubeWnd& view) : m_view(view)
{
    if (m_view.m_nChangeDepth++ == 0)
        m_view.m_changeFrom = m_view.Colors();
}

CColorsChange::~CColorsChange()
{
    if (--m_view.m_nChangeDepth > 0 || m_view.m_bSolving)
        return;
    if (m_view.Colors() != m_view.m_changeFrom)
        emit m_view.ColorsChanged(m_view.m_changeFrom);
}

CCubeWnd::CCubeWnd(QWidget* pParent) : QWidget(pParent)
{
    m_pSelFace = m_pFace[SLOT_F];
    // Both presentations cover the whole client area: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMinimumSize(0, 0);
}

CCubeWnd::~CCubeWnd()
{
    if (m_hRC) {
        m_hRC->doneCurrent();
        delete m_hRC;
        m_hRC = nullptr;
    }
    // The surface belongs to its container, a child of this widget.
    m_hDC = nullptr;
}

void CCubeWnd::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    if (m_pContainer)
        m_pContainer->setGeometry(rect());
    SetProjection(DeviceSize().width(), DeviceSize().height());
}

// ---------------------------------------------------------------- painting

void CCubeWnd::Repaint()
{
    if (m_pContainer)
        RenderFrame();
    else
        repaint();
}

QImage CCubeWnd::GrabFrame()
{
    if (!m_pContainer)
        return grab().toImage();
    QImage image;
    RenderFrame(&image);
    return image;
}

void CCubeWnd::paintEvent(QPaintEvent*)
{
    if (m_pContainer) {
        RenderFrame();
        return;
    }
    ++m_nFramesDrawn;
    FollowModel();
    QPainter painter(this);
    if (m_b2DView)
        DrawNet(&painter);
    else
        painter.fillRect(rect(), QColor(Palette::kBackground));
}

void CCubeWnd::DrawNet(QPainter* pDC)
{
    pDC->drawImage(QPoint(0, 0), DrawNetImage());
}

QImage CCubeWnd::DrawNetImage()
{
    const QSize size = DeviceSize();
    QImage memory(qMax(1, size.width()), qMax(1, size.height()), QImage::Format_RGB32);
    memory.setDevicePixelRatio(devicePixelRatioF());
    QPainter memDC(&memory);

    const NetLayout layout = Layout();
    m_nCell = layout.nCell;
    memDC.fillRect(rect(), QColor(Palette::kBackground));
    for (int nSlot : g_netOrder)
        DrawFace(&memDC, m_pFace[nSlot], layout.rcFace[nSlot].left, layout.rcFace[nSlot].top);
    DrawMarkerOnNet(&memDC, layout);
    DrawEntryAids(&memDC, layout);
    memDC.end();
    return memory;
}

QSize CCubeWnd::DeviceSize() const
{
    const qreal dpr = devicePixelRatioF();
    return QSize(qRound(width() * dpr), qRound(height() * dpr));
}

void CCubeWnd::DrawFace(QPainter* pDC, CubeFace* pFace, int x, int y)
{
    const int c = m_nCell;
    const QColor crPen(pFace == m_pSelFace ? Palette::kOutlineSelected : Palette::kOutline);
    for (int row = 0; row < 3 && c > 0; ++row) {
        for (int col = 0; col < 3; ++col) {
            const signed char nIndex = static_cast<signed char>(pFace->colors[row * 3 + col]);
            const QColor crFill = nIndex >= 0 && nIndex <= 6 ? QColor(m_crColors[nIndex]) : QColor(0, 0, 0);
            const int left = x + col * c;
            const int top = y + row * c;
            // As a rectangle with a 1-pixel pen: outline on the square's own
            // border pixels, interior filled.
            pDC->fillRect(QRect(left, top, c, c), crFill);
            pDC->setPen(QPen(crPen, 0));
            pDC->setBrush(Qt::NoBrush);
            pDC->drawRect(QRect(left, top, c - 1, c - 1));
        }
    }
    pFace->rcFace = Rect{x, y, x + 3 * c, y + 3 * c};
}

CubeFace* CCubeWnd::HitTestFace(QPoint pt) const
{
    const int nSlot = HitTestNet(Layout(), pt);
    return nSlot < 0 ? nullptr : m_pFace[nSlot];
}

void CCubeWnd::PaintFacelet(char nColor, QPoint pt)
{
    const NetLayout layout = Layout();
    const int nSlot = HitTestNet(layout, pt);
    int row = 0, col = 0;
    if (nSlot < 0 || !HitTestFacelet(layout, nSlot, pt, row, col))
        return;
    const CColorsChange change(*this);
    CubeFace* pFace = m_pFace[nSlot];
    pFace->colors[row * 3 + col] = static_cast<BYTE>(nColor);
    // In mid-turn the cubies are not where the facelets say; they are
    // brought back to the model once the turn is committed.
    if (!m_bTurning)
        m_cubies.SetFaceletColor(row, col, pFace->letter, nColor);
    Repaint();
}

// ---------------------------------------------------------------- mouse

void CCubeWnd::mousePressEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    if (pEvent->button() == Qt::LeftButton) {
        m_bPressHandled = true;
        OnLButtonDown(pEvent->modifiers(), pt);
    } else if (pEvent->button() == Qt::RightButton) {
        OnRButtonDown(pEvent->modifiers(), pt);
    }
    QWidget::mousePressEvent(pEvent);
}

// The model's double click replaces the second press of a click pair (down,
// up, double click, up). Qt delivers the second press as well, right before
// the double click, at least through a native window: a double click whose
// press was already handled adds nothing, or a Shift double click would make
// three quarter turns instead of two.
void CCubeWnd::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    if (pEvent->button() == Qt::LeftButton) {
        if (!m_bPressHandled)
            OnLButtonDblClk(pEvent->modifiers(), pt);
        m_bPressHandled = false;
    } else if (pEvent->button() == Qt::RightButton) {
        OnRButtonDown(pEvent->modifiers(), pt);
    }
    // Not passed on: the default would turn it into a second press.
}

void CCubeWnd::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        m_bPressHandled = false;
        OnLButtonUp(pEvent->modifiers(), pEvent->position().toPoint());
    }
    QWidget::mouseReleaseEvent(pEvent);
}

void CCubeWnd::mouseMoveEvent(QMouseEvent* pEvent)
{
    OnMouseMove(pEvent->buttons(), pEvent->position().toPoint());
    QWidget::mouseMoveEvent(pEvent);
}

void CCubeWnd::changeEvent(QEvent* pEvent)
{
    QWidget::changeEvent(pEvent);
    if (pEvent->type() == QEvent::EnabledChange)
        Repaint();
}

void CCubeWnd::OnLButtonDown(Qt::KeyboardModifiers nFlags, QPoint pt)
{
    // The widget keeps the mouse while the button is held.
    m_ptLast = pt;
    // During a solve the live cube is the solver's working cube, and a
    // repaint would show one of its search states.
    if (IsSealed())
        return;
    if (m_b2DView) {
        CubeFace* pFace = HitTestFace(pt);
        m_pSelFace = pFace;
        if (pFace && (nFlags & Qt::ControlModifier))
            TurnFace(pFace->letter, -1);
        else if (pFace && (nFlags & Qt::ShiftModifier))
            TurnFace(pFace->letter, 1);
        else if (m_nPaintColor > 0 && !(nFlags & (Qt::ControlModifier | Qt::ShiftModifier)))
            PaintFacelet(m_nPaintColor, pt);
    }
    Repaint();
}

void CCubeWnd::OnLButtonDblClk(Qt::KeyboardModifiers nFlags, QPoint pt)
{
    if (IsSealed())
        return;
    if (m_b2DView) {
        CubeFace* pFace = HitTestFace(pt);
        m_pSelFace = pFace;
        if (pFace && (nFlags & Qt::ControlModifier))
            TurnFace(pFace->letter, -1);
        else if (pFace && (nFlags & Qt::ShiftModifier))
            TurnFace(pFace->letter, 1);
    }
    Repaint();
}

void CCubeWnd::OnRButtonDown(Qt::KeyboardModifiers, QPoint)
{
    if (!IsSealed())
        Repaint();
}

void CCubeWnd::OnLButtonUp(Qt::KeyboardModifiers, QPoint)
{
    // The implicit grab ends with the release.
}

void CCubeWnd::OnMouseMove(Qt::MouseButtons nButtons, QPoint pt)
{
    if (m_b2DView || !(nButtons & Qt::LeftButton))
        return;
    m_fPitch = m_fPitch + static_cast<float>(pt.y() - m_ptLast.y());
    int a = static_cast<int>(m_fPitch) % 360;
    if (a < 0)
        a += 360;
    const float dx = static_cast<float>(pt.x() - m_ptLast.x());
    if (a >= 91 && a <= 269)
        m_fYaw = m_fYaw - dx;
    else
        m_fYaw = m_fYaw + dx;
    m_ptLast = pt;
    Repaint();
}

// ---------------------------------------------------------------- model hooks

void CCubeWnd::ResetCube()
{
    const CColorsChange change(*this);
    CCubeSolver::ResetCube();
    m_cubies.SetSolvedColors();
}

void CCubeWnd::ClearCube()
{
    const CColorsChange change(*this);
    CCubeSolver::ClearCube();
}

void CCubeWnd::Shuffle(CProgressCtrl* pProgress)
{
    const CColorsChange change(*this);
    CCubeSolver::Shuffle(pProgress);
}

void CCubeWnd::SaveCube()
{
    CCubeSolver::SaveCube();
    m_cubies.SaveColors();
}

void CCubeWnd::RestoreCube()
{
    CCubeSolver::RestoreCube();
    m_cubies.RestoreColors();
}

void CCubeWnd::Set2DView(bool b2DView)
{
    if (m_b2DView == b2DView)
        return;
    m_b2DView = b2DView;
    Repaint();
}

int CCubeWnd::Solve(CProgressCtrl* pProgress)
{
    int nResult = SOLVE_OK;
    {
        TurnGuard solving(m_bSolving);
        nResult = CCubeSolver::Solve(pProgress);
    }
    // Whatever was drawn meanwhile showed a search state: the cube as it
    // stands again, whatever the result.
    Repaint();
    return nResult;
}

void CCubeWnd::UpdateView(bool bForce)
{
    if (IsAnimating() || bForce) {
        FollowModel();
        Repaint();
    }
}

void CCubeWnd::FollowModel()
{
    if (m_bTurning || m_cubies.IsTurning())
        return;
    if (!m_cubies.MatchesFacelets(m_pFace))
        m_cubies.FollowFacelets(m_pFace);
}

void CCubeWnd::WaitStep()
{
    m_pacer.Wait(StepDelay(m_nDelay, m_b2DView), [this] { return IsAnimating(); });
}

void CCubeWnd::RotateFaceCW(CubeFace* pFace)
{
    // A turn asked for while another one's frames run would leave the cubies
    // behind the model: refused.
    if (m_bTurning)
        return;
    CCubeSolver::RotateFaceCW(pFace);
    AnimateFaceCW(pFace);
}

void CCubeWnd::RotateFaceCCW(CubeFace* pFace)
{
    if (m_bTurning)
        return;
    CCubeSolver::RotateFaceCCW(pFace);
    AnimateFaceCCW(pFace);
}

// ---------------------------------------------------------------- the user's turns

void CCubeWnd::TurnFace(char chLetter, int nQuarterTurns)
{
    QueueTurn(chLetter, nQuarterTurns);
    RunQueuedTurns();
}

void CCubeWnd::QueueTurn(char chLetter, int nQuarterTurns)
{
    if (!GetFace(chLetter) || nQuarterTurns == 0)
        return;
    QueuedTurn turn;
    turn.chLetter = chLetter;
    turn.nQuarterTurns = nQuarterTurns;
    m_queue.push_back(std::move(turn));
}

void CCubeWnd::AfterQueuedTurns(std::function<void()> fn)
{
    if (!TurnsUnderWay()) {
        fn();
        return;
    }
    QueuedTurn task;
    task.fn = std::move(fn);
    m_queue.push_back(std::move(task));
}

void CCubeWnd::RunQueuedTurns()
{
    // A turn asked for from inside another's frames waits for this loop,
    // further down the stack, to reach it.
    if (m_bRunningQueue || m_bTurning)
        return;
    TurnGuard running(m_bRunningQueue);
    while (!m_queue.empty()) {
        QueuedTurn item = std::move(m_queue.front());
        m_queue.pop_front();
        if (item.fn) {
            TurnGuard task(m_bRunningQueuedTask);
            item.fn();
        } else {
            PerformTurn(item.chLetter, item.nQuarterTurns);
        }
    }
}

void CCubeWnd::PerformTurn(char chLetter, int nQuarterTurns)
{
    CubeFace* pFace = GetFace(chLetter);
    if (!pFace)
        return;
    {
        const CColorsChange change(*this);
        if (nQuarterTurns < 0) {
            RotateFaceCCW(pFace);
        } else {
            for (int i = 0; i < nQuarterTurns; ++i)
                RotateFaceCW(pFace);
        }
    }
    Repaint();
}

// ---------------------------------------------------------------- animation

void CCubeWnd::AnimateFaceCW(CubeFace* pFace)
{
    AnimateFace(pFace, true);
}

void CCubeWnd::AnimateFaceCCW(CubeFace* pFace)
{
    AnimateFace(pFace, false);
}

void CCubeWnd::AnimateFace(CubeFace* pFace, bool bClockwise)
{
    if (!pFace)
        return;
    const unsigned n = FrameCount(m_nDelay);
    const int nStep = static_cast<int>(90 / n);

    // Slice, and the sign of a clockwise step seen from outside the face.
    void (CCubieModel::*pTurn)(int, int) = nullptr;
    int nSlice = 0;
    int nSign = 0;
    switch (pFace->letter) {
    case 'R': pTurn = &CCubieModel::TurnSliceX, nSlice = 2, nSign = -1; break;
    case 'L': pTurn = &CCubieModel::TurnSliceX, nSlice = 0, nSign = +1; break;
    case 'T': pTurn = &CCubieModel::TurnSliceY, nSlice = 2, nSign = -1; break;
    case 'D': pTurn = &CCubieModel::TurnSliceY, nSlice = 0, nSign = +1; break;
    case 'F': pTurn = &CCubieModel::TurnSliceZ, nSlice = 2, nSign = -1; break;
    case 'B': pTurn = &CCubieModel::TurnSliceZ, nSlice = 0, nSign = +1; break;
    default: return;
    }
    if (!bClockwise)
        nSign = -nSign;

    TurnGuard guard(m_bTurning);
    for (unsigned i = 0; i < n; ++i) {
        (m_cubies.*pTurn)(nSlice, nSign * nStep);
        if (IsAnimating() && !m_b2DView) {
            UpdateView(false);
            WaitStep();
        }
    }
}
