#pragma once
// The native OpenGL surface that covers the view. It draws nothing itself:
// its exposures and its mouse input go to the view, which does all the
// drawing in the context made for this surface.

#include <QWindow>

class CCubeWnd;

class CCubeSurface : public QWindow {
public:
    explicit CCubeSurface(CCubeWnd* pView);

protected:
    void exposeEvent(QExposeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;

private:
    CCubeWnd* m_pView;
};
