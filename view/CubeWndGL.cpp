// The view's OpenGL side: the pixel format, the context on the native
// surface, the fixed state, the projection and the frames drawn there.

#include "CubeSurface.h"
#include "CubeWnd.h"
#include "GLIncludes.h"
#include "MessageBox.h"

#include <QApplication>
#include <QImage>
#include <QOpenGLContext>

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
    glClearColor(Palette::kBackground3D[0], Palette::kBackground3D[1], Palette::kBackground3D[2],
                 Palette::kBackground3D[3]);
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
    DrawMarkerIn3D();
    DrawEntryAids3D();
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
