#include "CubeWnd.h"

#include "GLIncludes.h"
#include "MessageBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QImage>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWindow>
#include <QPainter>

#include <chrono>

namespace {

// The faces of the net in drawing order, with their origins in units of
// (c, gap): x = ax * c + bx, y = ay * c + by.
struct NetPlace {
    int nSlot;
    int ax, bx, ay, by;
};

constexpr NetPlace kNet[6] = {
    {CCubeSolver::SLOT_T, 3, 3, 0, 1},
    {CCubeSolver::SLOT_F, 3, 3, 3, 3},
    {CCubeSolver::SLOT_D, 3, 3, 6, 5},
    {CCubeSolver::SLOT_L, 0, 1, 3, 3},
    {CCubeSolver::SLOT_R, 6, 5, 3, 3},
    {CCubeSolver::SLOT_B, 9, 7, 3, 3},
};

// Marks a face turn's frames as running for the life of the object.
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

// The native OpenGL surface that covers the view. It hands its exposures and
// mouse input to the view, which does all the drawing.
class CCubeSurface : public QWindow {
public:
    explicit CCubeSurface(CCubeWnd* pView) : m_pView(pView)
    {
        setSurfaceType(QSurface::OpenGLSurface);
        setFlag(Qt::WindowDoesNotAcceptFocus);
    }

protected:
    void exposeEvent(QExposeEvent*) override
    {
        if (isExposed())
            m_pView->RenderFrame();
    }
    void mousePressEvent(QMouseEvent* pEvent) override { m_pView->mousePressEvent(pEvent); }
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override { m_pView->mouseDoubleClickEvent(pEvent); }
    void mouseReleaseEvent(QMouseEvent* pEvent) override { m_pView->mouseReleaseEvent(pEvent); }
    void mouseMoveEvent(QMouseEvent* pEvent) override { m_pView->mouseMoveEvent(pEvent); }

private:
    CCubeWnd* m_pView;
};

CCubeWnd::CCubeWnd(QWidget* pParent) : QWidget(pParent)
{
    m_pSelFace = m_pFace[SLOT_F];
    // Both presentations cover the whole client area: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMinimumSize(0, 0);
    m_waitTimer.setSingleShot(true);
    m_waitTimer.setTimerType(Qt::PreciseTimer);
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

QSurfaceFormat CCubeWnd::PixelFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setOption(QSurfaceFormat::DeprecatedFunctions);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(8);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    return format;
}

// ---------------------------------------------------------------- OpenGL set-up

bool CCubeWnd::InitOpenGL()
{
    if (m_bGLWanted)
        return true;
    m_bGLWanted = true;

    auto* pSurface = new CCubeSurface(this);
    m_hDC = pSurface;
    if (!SetupPixelFormat(m_hDC)) {
        ShowMessageBox(QApplication::focusWidget(), QStringLiteral("SetPixelformat Failed!"),
                       QStringLiteral("Error"), QMessageBox::NoIcon);
    }

    auto* pContext = new QOpenGLContext;
    pContext->setFormat(m_hDC->format());
    if (!m_hDC->handle() || !pContext->create() || !pContext->makeCurrent(m_hDC)) {
        // No context: the 3D view draws nothing and the net is painted on
        // the widget itself.
        delete pContext;
        delete pSurface;
        m_hDC = nullptr;
        return true;
    }
    m_hRC = pContext;

    m_pContainer = QWidget::createWindowContainer(m_hDC, this);
    m_pContainer->setFocusPolicy(Qt::NoFocus);
    m_pContainer->setGeometry(rect());
    m_pContainer->show();

    ApplyFixedState();
    SetProjection(DeviceSize().width(), DeviceSize().height());
    return true;
}

bool CCubeWnd::SetupPixelFormat(QWindow* hdc)
{
    QOpenGLContext probe;
    probe.setFormat(PixelFormat());
    if (!probe.create()) {
        ShowMessageBox(nullptr, QStringLiteral("ChoosePixelFormat failed"), QStringLiteral("Error"),
                       QMessageBox::NoIcon);
        return false;
    }
    hdc->setFormat(probe.format());
    hdc->create();
    if (!hdc->handle()) {
        ShowMessageBox(nullptr, QStringLiteral("SetPixelFormat failed"), QStringLiteral("Error"),
                       QMessageBox::NoIcon);
        return false;
    }
    return true;
}

void CCubeWnd::ApplyFixedState()
{
    glShadeModel(GL_SMOOTH);
    glClearColor(0.8f, 0.8f, 0.8f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    // Loaded while the model-view matrix is the identity, so the light sits in
    // eye coordinates and moves with the camera.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    static constexpr GLfloat kPosition[4] = {0.0f, 10.0f, 20.0f, 1.0f};
    static constexpr GLfloat kAmbient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    static constexpr GLfloat kDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    static constexpr GLfloat kSpecular[4] = {0.35f, 0.35f, 0.35f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, kPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, kAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kSpecular);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
}

void CCubeWnd::SetProjection(int cx, int cy)
{
    if (!m_hRC || !m_hRC->makeCurrent(m_hDC))
        return;
    if (cy == 0)
        cy = 1;
    glViewport(0, 0, cx, cy);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(cx) / static_cast<double>(cy), 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
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
        painter.fillRect(rect(), QColor(204, 204, 204));
}

void CCubeWnd::RenderFrame(QImage* pGrab)
{
    if (!m_hRC || !m_hDC->isExposed() || !m_hRC->makeCurrent(m_hDC))
        return;
    ++m_nFramesDrawn;
    FollowModel();
    if (m_b2DView)
        CopyNetToSurface();
    else
        Draw3D();
    if (pGrab) {
        const int w = DeviceSize().width();
        const int h = DeviceSize().height();
        QImage image(w, h, QImage::Format_RGBA8888);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
        *pGrab = image.mirrored();
    }
    m_hRC->swapBuffers(m_hDC);
}

void CCubeWnd::Draw3D()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -7.0f);
    glRotatef(m_fPitch, 1.0f, 0.0f, 0.0f);
    glRotatef(m_fYaw, 0.0f, 1.0f, 0.0f);
    m_cubies.Draw();
}

// The net is drawn off-screen and copied to the surface in one block.
void CCubeWnd::CopyNetToSurface()
{
    // Painted in the raster engine's fastest format, then turned into the
    // byte order of OpenGL 1.1, rows counted from the bottom.
    const QImage rows = DrawNetImage().convertToFormat(QImage::Format_RGBX8888).mirrored();

    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glRasterPos2f(-1.0f, -1.0f);
    glDrawPixels(rows.width(), rows.height(), GL_RGBA, GL_UNSIGNED_BYTE, rows.constBits());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void CCubeWnd::DrawNet(QPainter* pDC)
{
    pDC->drawImage(QPoint(0, 0), DrawNetImage());
}

QImage CCubeWnd::DrawNetImage()
{
    const int nWidth = width();
    const int nHeight = height();
    const QSize size = DeviceSize();
    QImage memory(qMax(1, size.width()), qMax(1, size.height()), QImage::Format_RGB32);
    memory.setDevicePixelRatio(devicePixelRatioF());
    QPainter memDC(&memory);

    const int c = qMin(nWidth / 12, nHeight / 9);
    m_nCell = c;
    memDC.fillRect(QRect(0, 0, nWidth, nHeight), QColor(204, 204, 204));
    for (const NetPlace& place : kNet)
        DrawFace(&memDC, m_pFace[place.nSlot], place.ax * c + place.bx, place.ay * c + place.by);
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
    const QColor crPen = pFace == m_pSelFace ? QColor(0, 0, 0) : QColor(127, 127, 127);
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
    for (const NetPlace& place : kNet) {
        CubeFace* pFace = m_pFace[place.nSlot];
        if (pFace->rcFace.Contains(pt.x(), pt.y()))
            return pFace;
    }
    return nullptr;
}

void CCubeWnd::PaintFacelet(char nColor, QPoint pt)
{
    CubeFace* pFace = HitTestFace(pt);
    if (!pFace)
        return;
    const int c = m_nCell;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const int left = pFace->rcFace.left + col * c;
            const int top = pFace->rcFace.top + row * c;
            const Rect square{left, top, left + c, top + c};
            if (!square.Contains(pt.x(), pt.y()))
                continue;
            pFace->colors[row * 3 + col] = static_cast<BYTE>(nColor);
            // In mid-turn the cubies are not where the facelets say; they are
            // brought back to the model once the turn is committed.
            if (!m_bTurning)
                m_cubies.SetFaceletColor(row, col, pFace->letter, nColor);
            Repaint();
            return;
        }
    }
}

// ---------------------------------------------------------------- mouse

void CCubeWnd::mousePressEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    if (pEvent->button() == Qt::LeftButton)
        OnLButtonDown(pEvent->modifiers(), pt);
    else if (pEvent->button() == Qt::RightButton)
        OnRButtonDown(pEvent->modifiers(), pt);
    QWidget::mousePressEvent(pEvent);
}

void CCubeWnd::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    if (pEvent->button() == Qt::LeftButton)
        OnLButtonDblClk(pEvent->modifiers(), pt);
    else if (pEvent->button() == Qt::RightButton)
        OnRButtonDown(pEvent->modifiers(), pt);
    // Not passed on: the default would turn it into a second press.
}

void CCubeWnd::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        OnLButtonUp(pEvent->modifiers(), pEvent->position().toPoint());
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
    if (m_b2DView) {
        CubeFace* pFace = HitTestFace(pt);
        m_pSelFace = pFace;
        if (nFlags & Qt::ControlModifier)
            RotateFaceCCW(pFace);
        else if (nFlags & Qt::ShiftModifier)
            RotateFaceCW(pFace);
        else if (m_nPaintColor > 0)
            PaintFacelet(m_nPaintColor, pt);
    }
    Repaint();
}

void CCubeWnd::OnLButtonDblClk(Qt::KeyboardModifiers nFlags, QPoint pt)
{
    if (m_b2DView) {
        CubeFace* pFace = HitTestFace(pt);
        m_pSelFace = pFace;
        if (nFlags & Qt::ControlModifier)
            RotateFaceCCW(pFace);
        else if (nFlags & Qt::ShiftModifier)
            RotateFaceCW(pFace);
    }
    Repaint();
}

void CCubeWnd::OnRButtonDown(Qt::KeyboardModifiers, QPoint)
{
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
    CCubeSolver::ResetCube();
    m_cubies.SetSolvedColors();
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

void CCubeWnd::UpdateView(bool bForce)
{
    if (m_bAnimate || bForce) {
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

unsigned CCubeWnd::StepDelay(unsigned nDelay, bool b2DView)
{
    return b2DView ? nDelay : nDelay / (nDelay / 10 + 1);
}

void CCubeWnd::WaitStep()
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(StepDelay(m_nDelay, m_b2DView));
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const auto now = Clock::now();
        if (!m_bAnimate || now >= deadline)
            break;
        // Sleep until the next event or the deadline, whichever comes first.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        m_waitTimer.start(static_cast<int>(left.count()) + (left < deadline - now ? 1 : 0));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    m_waitTimer.stop();
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

// ---------------------------------------------------------------- animation

unsigned CCubeWnd::FrameCount(unsigned nDelay)
{
    unsigned n = nDelay / 40;
    if (n < 2)
        n = 2;
    if (n > 90)
        n = 90;
    while (90 % n != 0)
        ++n;
    return n;
}

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
        if (m_bAnimate && !m_b2DView) {
            UpdateView(false);
            WaitStep();
        }
    }
}
