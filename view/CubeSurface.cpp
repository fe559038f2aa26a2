#include "CubeSurface.h"

#include "CubeWnd.h"

CCubeSurface::CCubeSurface(CCubeWnd* pView) : m_pView(pView)
{
    setSurfaceType(QSurface::OpenGLSurface);
    setFlag(Qt::WindowDoesNotAcceptFocus);
}

void CCubeSurface::exposeEvent(QExposeEvent*)
{
    if (isExposed())
        m_pView->RenderFrame();
}

void CCubeSurface::mousePressEvent(QMouseEvent* pEvent)
{
    m_pView->mousePressEvent(pEvent);
}

void CCubeSurface::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    m_pView->mouseDoubleClickEvent(pEvent);
}

void CCubeSurface::mouseReleaseEvent(QMouseEvent* pEvent)
{
    m_pView->mouseReleaseEvent(pEvent);
}

void CCubeSurface::mouseMoveEvent(QMouseEvent* pEvent)
{
    m_pView->mouseMoveEvent(pEvent);
}
