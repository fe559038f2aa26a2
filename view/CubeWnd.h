#pragma once
// The cube view: one widget that is at the same time the cube model and the
// solver. It shows the cube either as the unfolded net, where facelets are
// painted and faces turned with the mouse, or as a lit 3D cube that is turned
// by dragging. Every face turn the model makes reaches the view through the
// model's virtual operations and is mirrored (and, with animation on,
// animated) in the cubie model; every visible step is paced by WaitStep.
//
// The net's geometry is NetLayout's (a pure function of the view's size),
// the colours are Palette's, the native OpenGL surface is CCubeSurface and
// the pacing of visible steps is CStepPacer's; this class ties them to the
// model.

#include "CubeSolver.h"
#include "CubieModel.h"
#include "NetCursor.h"
#include "NetLayout.h"
#include "Pacing.h"
#include "Palette.h"

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QSurfaceFormat>
#include <QWidget>

#include <deque>
#include <functional>
#include <vector>

class QOpenGLContext;
class QPainter;
class QWindow;

// Both presentations are drawn by the view. Where OpenGL can be had, the view
// is covered by a native OpenGL surface of its own (made by InitOpenGL), and
// both the net (drawn off-screen with QPainter, then copied in one block) and
// the 3D cube are rendered there, synchronously, with a buffer swap per frame.
// Without OpenGL the net is painted on the widget itself and the 3D view
// shows the background only.
class CCubeWnd : public QWidget, public CCubeSolver {
    Q_OBJECT

public:
    explicit CCubeWnd(QWidget* pParent = nullptr);
    ~CCubeWnd() override;

    // The surface the view asks for: double-buffered RGBA with alpha, depth
    // and stencil, in a compatibility context for the fixed-function pipeline.
    static QSurfaceFormat PixelFormat();

    // OpenGL set-up; runs once for the window, reports a missing pixel format
    // with message boxes and carries on. Always true.
    bool InitOpenGL();
    // Chooses the closest format to PixelFormat() and sets it on the
    // surface; false (after a message box) when none can be had or set.
    bool SetupPixelFormat(QWindow* hdc);
    // Viewport and projection for a client area of cx by cy device pixels.
    void SetProjection(int cx, int cy);

    // The four settings the dialog writes. Each repaints when the picture
    // depends on it and it changed (only the presentation does).
    void SetAnimate(bool bAnimate) { m_bAnimate = bAnimate; }
    void Set2DView(bool b2DView);
    void SetPaintColor(signed char nColor) { m_nPaintColor = nColor; }
    void SetDelay(quint32 nDelay) { m_nDelay = nDelay; }

    // The next-move marker (MoveMarker.h): the model move group it shows, or
    // empty for none. Repaints when it changes.
    void SetMarkerMove(const CString& strMove);
    const CString& MarkerMove() const { return m_strMarkerMove; }
    // True when the marker is part of the picture now: a move is set and no
    // turn is being animated and no solve runs.
    bool IsMarkerShown() const;

    // Solves the live cube as CCubeSolver::Solve does (same result codes,
    // same cube afterwards), sealed from the user: while it runs, presses and
    // double clicks in the view change nothing, nothing is animated whatever
    // m_bAnimate says, and the view is redrawn when it returns.
    int Solve(CProgressCtrl* pProgress);
    // True while Solve runs.
    bool IsSolving() const { return m_bSolving; }
    // Sealing: while Solve runs, or while the view is sealed by a command that
    // works on a copy of the cube, presses and double clicks in the view
    // change nothing (a drag still turns the 3D cube about).
    void SetSealed(bool bSealed) { m_bSealed = bSealed; }
    bool IsSealed() const { return m_bSolving || m_bSealed; }
    // True when face turns and model changes are shown step by step now.
    bool IsAnimating() const { return m_bAnimate && !m_bSolving; }

    // The net's layout at the view's present size.
    NetLayout Layout() const { return LayoutNet(size()); }

    // Invalidates and updates the view at once: the synchronous repaint.
    void Repaint();
    // Draws the current presentation and returns the picture as shown.
    QImage GrabFrame();

    // The net.
    void DrawNet(QPainter* pDC);
    void DrawFace(QPainter* pDC, CubeFace* pFace, int x, int y);
    CubeFace* HitTestFace(QPoint pt) const;
    void PaintFacelet(char nColor, QPoint pt);

    // Turn animation.
    void AnimateFaceCW(CubeFace* pFace);
    void AnimateFaceCCW(CubeFace* pFace);
    // Frames per quarter turn and milliseconds per step: see Pacing.h.
    static unsigned FrameCount(unsigned nDelay) { return CStepPacer::FrameCount(nDelay); }
    static unsigned StepDelay(unsigned nDelay, bool b2DView) { return CStepPacer::StepDelay(nDelay, b2DView); }
    // True while the frames of a face turn are being run.
    bool IsAnimatingTurn() const { return m_bTurning; }
    // How many frames (net or 3D) have been drawn since construction.
    long FramesDrawn() const { return m_nFramesDrawn; }
    // True when the OpenGL set-up was done and 3D frames are drawn.
    bool HasContext() const { return m_hRC != nullptr; }

    // The user's face turns (the mouse in the net, the Side menu and its
    // keys): a face turned clockwise nQuarterTurns times, or once
    // counter-clockwise for -1. Turns are performed in the order they are
    // asked for: one asked for while another turn's frames run (the view is
    // then inside the frames' event loop) is queued and performed as soon as
    // the turn under way is done.
    void TurnFace(char chLetter, int nQuarterTurns);
    // Queues a turn without performing anything now; RunQueuedTurns, or the
    // turn under way when it ends, performs it.
    void QueueTurn(char chLetter, int nQuarterTurns);
    // Runs fn once every turn queued before it has been performed: at once
    // when none is queued or under way.
    void AfterQueuedTurns(std::function<void()> fn);
    // True while queued user turns are waiting or being performed (not while
    // something queued with AfterQueuedTurns runs).
    bool TurnsUnderWay() const { return (m_bRunningQueue && !m_bRunningQueuedTask) || !m_queue.empty(); }
    // Performs the queued turns and tasks in order, unless the frames of a
    // turn are running or the queue is already being run.
    void RunQueuedTurns();
    // Forgets the queued turns and tasks (the window is closing).
    void DropQueuedTurns() { m_queue.clear(); }

    // The colours as the user changed them: painting (mouse or keys), the
    // user's face turns, Reset, Clear, Shuffle and SetColors all announce
    // themselves through ColorsChanged once they are done, with the colours
    // from before; the solver's own work during Solve and the moves of the
    // model's interpreters (stepping through a solution) do not.
    void ClearCube();
    void Shuffle(CProgressCtrl* pProgress);

    // Overrides of the model's virtual operations.
    void ResetCube() override;
    void SaveCube() override;
    void RestoreCube() override;
    void UpdateView(bool bForce) override;
    void WaitStep() override;
    void RotateFaceCW(CubeFace* pFace) override;
    void RotateFaceCCW(CubeFace* pFace) override;

    // Mouse handlers of the view, with the keys held and client coordinates.
    void OnLButtonDown(Qt::KeyboardModifiers nFlags, QPoint pt);
    void OnLButtonDblClk(Qt::KeyboardModifiers nFlags, QPoint pt);
    void OnRButtonDown(Qt::KeyboardModifiers nFlags, QPoint pt);
    void OnLButtonUp(Qt::KeyboardModifiers nFlags, QPoint pt);
    void OnMouseMove(Qt::MouseButtons nButtons, QPoint pt);

    bool m_bAnimate = false;       // animation switch (SetAnimate)
    signed char m_nPaintColor = 0; // colour a left click paints; 0 = none chosen (SetPaintColor)
    QPoint m_ptLast;               // pointer at the last press or drag step
    float m_fPitch = 25.0f;        // degrees about the screen's horizontal axis
    float m_fYaw = -45.0f;         // degrees about the cube's vertical axis
    QWindow* m_hDC = nullptr;      // the native OpenGL surface over the view
    QOpenGLContext* m_hRC = nullptr; // the context; null until set-up succeeded
    CCubieModel m_cubies;          // the 27 cubies of the 3D cube
    bool m_b2DView = true;         // true = net, false = 3D cube (Set2DView)
    QRgb m_crColors[7] = {Palette::kNet[0], Palette::kNet[1], Palette::kNet[2], Palette::kNet[3],
                          Palette::kNet[4], Palette::kNet[5], Palette::kNet[6]};
    CubeFace* m_pSelFace = nullptr; // face outlined in black in the net
    quint32 m_nDelay = 0;           // animation delay in milliseconds (SetDelay)
    int m_nCell = 0;                // facelet side of the last net paint

    // Entry aids (EntryAids.cpp). Facelets are indexed 0..53, slot-major,
    // each face row by row, as CubeText.h writes them.
    void GetColors(BYTE colors[kFaceletCount]) const;
    Facelets Colors() const;
    // Writes all 54 colours, or one facelet, and repaints.
    void SetColors(const BYTE colors[kFaceletCount]);
    void SetColors(const Facelets& colors) { SetColors(colors.data()); }
    void SetFacelet(int nIndex, BYTE nColor);
    // The keyboard's facelet; drawn in the net while the view has the focus.
    const NetCursor& Cursor() const { return m_cursor; }
    void SetCursor(const NetCursor& cursor);
    bool CursorShown() const;
    // The facelet under a point of the net, or -1.
    int FaceletAt(QPoint pt) const;
    // Marks facelets in the net and on the 3D cube until the colours next
    // differ from what they are now; MarkedFacelets() drops stale marks.
    void MarkFacelets(const std::vector<int>& facelets);
    const std::vector<int>& MarkedFacelets();

signals:
    // The user changed the colours; before holds them as they were. Sent
    // once per change (a half turn, a Shuffle, a paste are one change), and
    // only when the colours now differ from before.
    void ColorsChanged(const Facelets& before);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    friend class CCubeSurface;
    friend class CColorsChange;

    // One queued item: a turn, or a task (fn set).
    struct QueuedTurn {
        char chLetter = 0;
        int nQuarterTurns = 0;
        std::function<void()> fn;
    };
    void PerformTurn(char chLetter, int nQuarterTurns);

    void AnimateFace(CubeFace* pFace, bool bClockwise);
    void ApplyFixedState();
    // The marker's part of a frame, when it is shown (CubeWndMarker.cpp).
    void DrawMarkerOnNet(QPainter* pDC, const NetLayout& layout);
    void DrawMarkerIn3D();
    // Renders the current presentation on the OpenGL surface; with pGrab the
    // finished picture is also read back.
    void RenderFrame(QImage* pGrab = nullptr);
    void Draw3D();
    void CopyNetToSurface();
    // The net drawn off-screen in an image the size of the client area.
    QImage DrawNetImage();
    // The client area in device pixels.
    QSize DeviceSize() const;
    // Brings the cubies back to the facelets after changes the cubie model
    // does not mirror (clearing, whole-cube turns); never in mid-turn.
    void FollowModel();

    // Entry aids drawn over the net and the 3D cube (EntryAids.cpp).
    void DrawEntryAids(QPainter* pDC, const NetLayout& layout);
    void DrawEntryAids3D();
    NetCursor m_cursor;
    std::vector<int> m_marks;
    Facelets m_marksFor = {}; // the colours the marks were made for

    bool m_bGLWanted = false;     // InitOpenGL was called
    bool m_bTurning = false;      // the frames of a face turn are running
    bool m_bSolving = false;      // Solve is running
    bool m_bSealed = false;       // see SetSealed
    std::deque<QueuedTurn> m_queue; // TurnFace, QueueTurn, AfterQueuedTurns
    bool m_bRunningQueue = false;   // RunQueuedTurns is under way
    bool m_bRunningQueuedTask = false; // ... and runs a task
    int m_nChangeDepth = 0;         // open CColorsChange scopes
    Facelets m_changeFrom{};        // the colours when the outermost one opened
    // The left press of the click under way was handled; a double click that
    // follows it belongs to the same click (see mouseDoubleClickEvent).
    bool m_bPressHandled = false;
    QWidget* m_pContainer = nullptr; // holds the OpenGL surface inside the view
    long m_nFramesDrawn = 0;
    CStepPacer m_pacer;
    CString m_strMarkerMove; // SetMarkerMove
};

// Brackets one change of the colours by the user inside the view: the
// outermost bracket announces it (ColorsChanged) when it closes, if the
// colours differ from when it opened. Nothing is announced while Solve runs.
class CColorsChange {
public:
    explicit CColorsChange(CCubeWnd& view);
    ~CColorsChange();
    CColorsChange(const CColorsChange&) = delete;
    CColorsChange& operator=(const CColorsChange&) = delete;

private:
    CCubeWnd& m_view;
};
