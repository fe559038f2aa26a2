// The cube view against a real display: net geometry and hit testing, mouse
// painting and turns, the cubies kept in step, animation and pacing, the
// pitch and yaw of the 3D view, and rendered frames.

#include "CubeWnd.h"
#include "MessageBox.h"
#include "TestCube.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStyleHints>
#include <QWindow>
#include <QTest>
#include <QTimer>

#include <random>

namespace {

QString FaceletText(const CCubeSolver& cube)
{
    return QString::fromStdString(FormatCube(cube));
}

// A net paint without a display surface: the view draws on itself.
void PaintNetAt(CCubeWnd& view, int w, int h)
{
    view.resize(w, h);
    view.grab();
}

enum class Hue { Yellow, Blue, Red, Grey, Other };

Hue HueOf(QRgb c)
{
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    if (r > 150 && g > 150 && b < 100)
        return Hue::Yellow;
    if (b > 120 && r < 80 && g < 80)
        return Hue::Blue;
    if (r > 150 && g < 80 && b < 80)
        return Hue::Red;
    if (std::abs(r - g) < 8 && std::abs(g - b) < 8)
        return Hue::Grey;
    return Hue::Other;
}

} // namespace

class TestCubeWnd : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        SetMessageBoxHandler([this](QWidget*, const QString& strText, const QString& strCaption,
                                    QMessageBox::Icon, QMessageBox::StandardButtons) {
            m_boxes << strCaption + ": " + strText;
            return QMessageBox::Ok;
        });
        m_boxes.clear();
    }
    void cleanup()
    {
        SetMessageBoxHandler({});
        QVERIFY2(m_boxes.isEmpty(), qPrintable(m_boxes.join('\n')));
    }

    // ------------------------------------------------------------ the net

    void netGeometry_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("cell");
        QTest::newRow("dialog default, height decides") << 504 << 299 << 32;
        QTest::newRow("odd size") << 501 << 302 << 33;
        QTest::newRow("width decides") << 240 << 400 << 19;
        QTest::newRow("width decides, gaps count") << 246 << 400 << 19;
        QTest::newRow("exact fit") << 127 << 95 << 10;
        QTest::newRow("narrower than 12 pixels") << 11 << 300 << 0;
        QTest::newRow("lower than 9 pixels") << 300 << 8 << 0;
        QTest::newRow("no room for the gaps") << 5 << 3 << 0;
    }
    void netGeometry()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(int, cell);
        CCubeWnd view;
        PaintNetAt(view, w, h);
        QCOMPARE(view.m_nCell, cell);
        const int c = cell;
        const struct {
            char letter;
            int x, y;
        } kOrigins[] = {{'T', 3 * c + 3, 1},         {'L', 1, 3 * c + 3},
                        {'F', 3 * c + 3, 3 * c + 3}, {'R', 6 * c + 5, 3 * c + 3},
                        {'B', 9 * c + 7, 3 * c + 3}, {'D', 3 * c + 3, 6 * c + 5}};
        for (const auto& o : kOrigins) {
            const Rect want{o.x, o.y, o.x + 3 * c, o.y + 3 * c};
            QVERIFY2(view.GetFace(o.letter)->rcFace == want, &o.letter);
            if (c == 0)
                QVERIFY(view.GetFace(o.letter)->rcFace.IsEmpty());
        }
        if (c == 0) {
            for (int y = 0; y < h; y += 3)
                for (int x = 0; x < w; x += 3)
                    QVERIFY(!view.HitTestFace(QPoint(x, y)));
        }
    }

    // The whole net, gaps and borders included, lies inside the view at
    // every size: 12c + 7 by 9c + 5 pixels.
    void netFitsInsideTheViewAtEverySize()
    {
        CCubeWnd view;
        QStringList clipped;
        for (int w = 20; w < 640; w += 13) {
            for (int h = 15; h < 480; h += 17) {
                PaintNetAt(view, w, h);
                const int c = view.m_nCell;
                if (12 * c + 7 > w || 9 * c + 5 > h)
                    clipped << QString("%1x%2").arg(w).arg(h);
                // And no smaller than it has to be.
                QVERIFY(12 * (c + 1) + 7 > w || 9 * (c + 1) + 5 > h);
            }
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.mid(0, 8).join(' ')));
    }

    // A double click through the native surface, as a real mouse sends it
    // (press, release, press and double click): Shift gives a half turn
    // clockwise, Ctrl a half turn counter-clockwise, a plain one paints once.
    void doubleClickOnTheSurfaceIsAHalfTurn()
    {
        CCubeWnd view;
        view.resize(127, 95); // c = 10
        view.show();
        view.InitOpenGL();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        if (!view.HasContext())
            QSKIP("no OpenGL on this display");
        QTRY_VERIFY(!view.GrabFrame().isNull());
        CCubeSolver reference;
        QTest::mouseDClick(view.m_hDC, Qt::LeftButton, Qt::ShiftModifier, QPoint(40, 40));
        reference.ExecuteMoves("F+.F+.");
        QCOMPARE(FaceletText(view), FaceletText(reference));
        QTest::mouseDClick(view.m_hDC, Qt::LeftButton, Qt::ControlModifier, QPoint(70, 45));
        reference.ExecuteMoves("R-.R-.");
        QCOMPARE(FaceletText(view), FaceletText(reference));
        // Two single clicks far apart in time are two quarter turns.
        QTest::mouseClick(view.m_hDC, Qt::LeftButton, Qt::ShiftModifier, QPoint(40, 15));
        QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
        QTest::mouseClick(view.m_hDC, Qt::LeftButton, Qt::ShiftModifier, QPoint(40, 15));
        reference.ExecuteMoves("T+.T+.");
        QCOMPARE(FaceletText(view), FaceletText(reference));
        QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
    }

    // The presentation's setter draws a frame when, and only when, it changes.
    void switchingPresentationRepaintsOnChange()
    {
        CCubeWnd view;
        view.resize(127, 95);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        long n = view.FramesDrawn();
        view.Set2DView(true); // already the net
        QCOMPARE(view.FramesDrawn(), n);
        view.Set2DView(false);
        QVERIFY(!view.m_b2DView);
        QVERIFY(view.FramesDrawn() > n);
        n = view.FramesDrawn();
        view.SetAnimate(true);
        view.SetDelay(120);
        view.SetPaintColor(4);
        QCOMPARE(view.FramesDrawn(), n);
        QVERIFY(view.IsAnimating());
        QCOMPARE(view.m_nDelay, 120u);
        QCOMPARE(view.m_nPaintColor, 4);
    }

    void hitTestingHonoursGapsAndBorders()
    {
        CCubeWnd view;
        PaintNetAt(view, 127, 95); // c = 10: F spans 33..62, R starts at 65
        CubeFace* pF = view.GetFace('F');
        QCOMPARE(view.HitTestFace(QPoint(33, 33)), pF);
        QCOMPARE(view.HitTestFace(QPoint(62, 62)), pF);
        QVERIFY(!view.HitTestFace(QPoint(63, 40))); // right border: the gap
        QVERIFY(!view.HitTestFace(QPoint(64, 40)));
        QVERIFY(!view.HitTestFace(QPoint(40, 63))); // bottom border
        QCOMPARE(view.HitTestFace(QPoint(65, 40)), view.GetFace('R'));
        QVERIFY(!view.HitTestFace(QPoint(0, 0)));
        QVERIFY(!view.HitTestFace(QPoint(126, 94))); // outside the net
        // Hit testing follows the size alone, painted or not.
        view.ResetCube();
        QCOMPARE(view.HitTestFace(QPoint(40, 40)), pF);
        CCubeWnd unpainted;
        unpainted.resize(127, 95);
        QCOMPARE(unpainted.HitTestFace(QPoint(65, 40)), unpainted.GetFace('R'));
        QCOMPARE(unpainted.Layout().nCell, 10);
        QCOMPARE(LayoutNet(QSize(0, 0)).nCell, 0);
        QCOMPARE(HitTestNet(LayoutNet(QSize(0, 0)), QPoint(0, 0)), -1);
    }

    void outlineStartsOnFrontAndFollowsPresses()
    {
        CCubeWnd view;
        QCOMPARE(view.m_pSelFace, view.GetFace('F'));
        PaintNetAt(view, 127, 95);
        const QImage net = view.grab().toImage();
        QCOMPARE(net.pixel(33, 33), qRgb(0, 0, 0));       // F outlined black
        QCOMPARE(net.pixel(33, 1), qRgb(127, 127, 127));  // T grey
        QCOMPARE(net.pixel(34, 34), qRgb(0, 0, 255));     // F filled blue
        QCOMPARE(net.pixel(100, 90), qRgb(204, 204, 204)); // background

        const QString before = FaceletText(view);
        view.OnLButtonDown(Qt::NoModifier, QPoint(40, 15));
        QCOMPARE(view.m_pSelFace, view.GetFace('T'));
        view.OnLButtonDown(Qt::NoModifier, QPoint(64, 40)); // a gap
        QVERIFY(!view.m_pSelFace);
        QCOMPARE(FaceletText(view), before);
    }

    void paintingAndModifiers()
    {
        CCubeWnd view;
        PaintNetAt(view, 127, 95);
        CCubeSolver reference;

        // No paint colour chosen: a plain press only moves the outline.
        view.OnLButtonDown(Qt::NoModifier, QPoint(70, 45));
        QCOMPARE(FaceletText(view), FaceletText(reference));

        // A plain press paints the facelet under the point, centre included.
        view.m_nPaintColor = 3;
        view.OnLButtonDown(Qt::NoModifier, QPoint(46, 46)); // F centre
        view.OnLButtonDown(Qt::NoModifier, QPoint(60, 3));  // T row 0, col 2
        QCOMPARE(view.GetFace('F')->colors[4], BYTE(3));
        QCOMPARE(view.GetFace('T')->colors[2], BYTE(3));
        QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));

        // Shift turns clockwise, Ctrl (with or without Shift) counter-clockwise; no paint.
        CCubeWnd turned;
        PaintNetAt(turned, 127, 95);
        turned.m_nPaintColor = 5;
        turned.OnLButtonDown(Qt::ShiftModifier, QPoint(70, 40));
        reference.ExecuteMoves("R+.");
        QCOMPARE(FaceletText(turned), FaceletText(reference));
        turned.OnLButtonDown(Qt::ControlModifier | Qt::ShiftModifier, QPoint(70, 40));
        turned.OnLButtonDown(Qt::ControlModifier, QPoint(40, 15));
        reference.ExecuteMoves("R-.T-.");
        QCOMPARE(FaceletText(turned), FaceletText(reference));

        // A Shift double click is a press and a double click: a half turn.
        turned.OnLButtonDown(Qt::ShiftModifier, QPoint(40, 70));
        turned.OnLButtonDblClk(Qt::ShiftModifier, QPoint(40, 70));
        turned.OnLButtonDown(Qt::ControlModifier, QPoint(100, 40));
        turned.OnLButtonDblClk(Qt::ControlModifier, QPoint(100, 40));
        reference.ExecuteMoves("D*.B*.");
        QCOMPARE(FaceletText(turned), FaceletText(reference));
        // A plain double click paints once (the press), never on the double click.
        turned.m_nPaintColor = 0;
        turned.OnLButtonDblClk(Qt::NoModifier, QPoint(40, 40));
        QCOMPARE(FaceletText(turned), FaceletText(reference));
        QVERIFY(turned.m_cubies.MatchesFacelets(turned.m_pFace));

        // In the 3D view a press neither paints nor turns.
        turned.m_b2DView = false;
        turned.m_nPaintColor = 2;
        turned.OnLButtonDown(Qt::ShiftModifier, QPoint(40, 40));
        turned.OnLButtonDown(Qt::NoModifier, QPoint(40, 40));
        QCOMPARE(FaceletText(turned), FaceletText(reference));
    }

    void realMouseEventsReachTheHandlers()
    {
        CCubeWnd view;
        PaintNetAt(view, 127, 95);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::mouseClick(&view, Qt::LeftButton, Qt::ShiftModifier, QPoint(70, 40));
        CCubeSolver reference;
        reference.ExecuteMoves("R+.");
        QCOMPARE(FaceletText(view), FaceletText(reference));
        view.m_nPaintColor = 6;
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(34, 34));
        QCOMPARE(view.GetFace('F')->colors[0], BYTE(6));
    }

    void everyPressRepaintsButUpdateViewOnlyWhenAsked()
    {
        CCubeWnd view;
        view.resize(127, 95);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        long n = view.FramesDrawn();
        view.OnLButtonDown(Qt::NoModifier, QPoint(0, 0));
        view.OnLButtonDblClk(Qt::NoModifier, QPoint(0, 0));
        view.OnRButtonDown(Qt::NoModifier, QPoint(0, 0));
        QCOMPARE(view.FramesDrawn(), n + 3);
        n = view.FramesDrawn();
        view.UpdateView(false);
        QCOMPARE(view.FramesDrawn(), n);
        view.UpdateView(true);
        QCOMPARE(view.FramesDrawn(), n + 1);
        view.m_bAnimate = true;
        view.UpdateView(false);
        QCOMPARE(view.FramesDrawn(), n + 2);
    }

    // ------------------------------------------------------------ cubies

    void cubiesFollowEveryTurnSaveAndRestore()
    {
        CCubeWnd view;
        CCubeSolver& model = view;
        std::mt19937 rng(2024);
        for (int i = 0; i < 3000; ++i) {
            CubeFace* pFace = model.m_pFace[rng() % 6];
            if (rng() % 2)
                model.RotateFaceCW(pFace);
            else
                model.RotateFaceCCW(pFace);
            QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
            if (i % 500 == 100) {
                model.SaveCube();
                const QString saved = FaceletText(view);
                for (int k = 0; k < 25; ++k)
                    model.RotateFaceCW(model.m_pFace[rng() % 6]);
                model.RestoreCube();
                QCOMPARE(FaceletText(view), saved);
                QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
            }
        }
        model.ResetCube();
        QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
        QVERIFY(!view.m_cubies.IsTurning());
    }

    void fourClockwiseTurnsPutCubiesBack()
    {
        CCubeWnd view;
        CCubie* before[27];
        std::memcpy(before, view.m_cubies.m_pCubie, sizeof(before));
        for (CubeFace* pFace : view.m_pFace) {
            for (int q = 0; q < 4; ++q)
                view.RotateFaceCW(pFace);
            QVERIFY(std::memcmp(before, view.m_cubies.m_pCubie, sizeof(before)) == 0);
        }
        view.RotateFaceCW(nullptr);
        view.AnimateFaceCW(nullptr);
        CubeFace stray;
        stray.letter = 'X';
        view.AnimateFaceCCW(&stray);
        QVERIFY(std::memcmp(before, view.m_cubies.m_pCubie, sizeof(before)) == 0);
    }

    void clearingAndWholeCubeTurnsAreShownOutsideASolve()
    {
        CCubeWnd view;
        view.ExecuteMoves("C+.C^.F+.");
        view.UpdateView(true);
        QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
        view.ClearCube();
        view.UpdateView(true);
        QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
        // A solve ends with the entered cube on the facelets and the cubies.
        view.ResetCube();
        view.ExecuteMoves("F+.R+.T-.");
        QCOMPARE(view.Solve(nullptr), 0);
        QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
    }

    // ------------------------------------------------------------ pacing

    void frameCounts_data()
    {
        QTest::addColumn<uint>("delay");
        QTest::addColumn<uint>("frames");
        QTest::addColumn<uint>("wait3d");
        QTest::newRow("slider 0") << 0u << 2u << 0u;
        QTest::newRow("slider 10") << 100u << 2u << 9u;
        QTest::newRow("slider 12") << 120u << 3u << 9u;
        QTest::newRow("280 raised to the next divisor") << 280u << 9u << 9u;
        QTest::newRow("slider 30, the default") << 300u << 9u << 9u;
        QTest::newRow("slider 60") << 600u << 15u << 9u;
        QTest::newRow("slider 90") << 900u << 30u << 9u;
        QTest::newRow("slider 180") << 1800u << 45u << 9u;
        QTest::newRow("largest the rule covers") << 3639u << 90u << 9u;
        QTest::newRow("beyond the rule stops at 90") << 100000u << 90u << 9u;
    }
    void frameCounts()
    {
        QFETCH(uint, delay);
        QFETCH(uint, frames);
        QFETCH(uint, wait3d);
        QCOMPARE(CCubeWnd::FrameCount(delay), frames);
        QCOMPARE(90 % CCubeWnd::FrameCount(delay), 0u);
        QCOMPARE(CCubeWnd::StepDelay(delay, false), wait3d);
        QCOMPARE(CCubeWnd::StepDelay(delay, true), delay);
    }

    void animatedTurnDrawsOneFramePerStep_data()
    {
        QTest::addColumn<uint>("delay");
        QTest::addColumn<bool>("net");
        QTest::addColumn<bool>("animate");
        QTest::addColumn<int>("frames");
        QTest::newRow("3D, delay 0") << 0u << false << true << 2;
        QTest::newRow("3D, delay 120") << 120u << false << true << 3;
        QTest::newRow("3D, delay 300") << 300u << false << true << 9;
        QTest::newRow("3D, animation off") << 300u << false << false << 0;
        QTest::newRow("net view") << 300u << true << true << 0;
    }
    void animatedTurnDrawsOneFramePerStep()
    {
        QFETCH(uint, delay);
        QFETCH(bool, net);
        QFETCH(bool, animate);
        QFETCH(int, frames);
        CCubeWnd view;
        view.resize(200, 150);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.m_nDelay = delay;
        view.m_b2DView = net;
        view.m_bAnimate = animate;
        const long n = view.FramesDrawn();
        view.RotateFaceCW(view.GetFace('R'));
        QCOMPARE(view.FramesDrawn() - n, long(frames));
        QVERIFY(!view.m_cubies.IsTurning());
        QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
    }

    void turnAskedForInMidTurnIsRefused()
    {
        CCubeWnd view;
        view.resize(200, 150);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.m_nDelay = 300;
        view.m_b2DView = false;
        view.m_bAnimate = true;
        bool bSawTurning = false;
        QTimer::singleShot(30, &view, [&] {
            bSawTurning = view.IsAnimatingTurn() && view.m_cubies.IsTurning();
            view.m_b2DView = true; // the user switched to the net in mid-turn
            view.RotateFaceCW(view.GetFace('T'));
        });
        view.RotateFaceCW(view.GetFace('F'));
        QVERIFY(bSawTurning);
        CCubeSolver reference;
        reference.ExecuteMoves("F+.");
        QCOMPARE(FaceletText(view), FaceletText(reference));
        QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
        // Between turns a turn is taken again.
        view.RotateFaceCW(view.GetFace('T'));
        reference.ExecuteMoves("T+.");
        QCOMPARE(FaceletText(view), FaceletText(reference));
    }

    void paintingInMidTurnKeepsCubiesInStep()
    {
        CCubeWnd view;
        view.resize(127, 95);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.grab();
        view.m_nDelay = 300;
        view.m_bAnimate = true;
        view.m_b2DView = false;
        view.m_nPaintColor = 4;
        QTimer::singleShot(30, &view, [&] {
            view.m_b2DView = true;
            view.OnLButtonDown(Qt::NoModifier, QPoint(34, 34));
        });
        view.ExecuteMoves("R+.");
        QCOMPARE(view.GetFace('F')->colors[0], BYTE(4));
        QVERIFY(view.m_cubies.MatchesFacelets(view.m_pFace));
    }

    void waitStepSleepsUntilTheDeadlineOrTheSwitch()
    {
        CCubeWnd view;
        view.m_nDelay = 60;
        view.m_b2DView = true;
        view.m_bAnimate = true;
        QElapsedTimer timer;
        timer.start();
        view.WaitStep();
        QVERIFY(timer.elapsed() >= 60);

        // Animation off: the queue is drained once and the wait ends.
        bool bDrained = false;
        QTimer::singleShot(0, &view, [&] { bDrained = true; });
        view.m_bAnimate = false;
        view.m_nDelay = 1800;
        view.WaitStep();
        QVERIFY(bDrained);

        // Unticking Animate during a long wait ends it at once.
        view.m_bAnimate = true;
        QTimer::singleShot(30, &view, [&] { view.m_bAnimate = false; });
        timer.start();
        view.WaitStep();
        QVERIFY(timer.elapsed() < 1500);
    }

    // ------------------------------------------------------------ 3D view

    void pitchAndYaw()
    {
        CCubeWnd view;
        view.m_b2DView = true;
        view.OnLButtonDown(Qt::NoModifier, QPoint(100, 100));
        view.OnMouseMove(Qt::LeftButton, QPoint(150, 180));
        QCOMPARE(view.m_fPitch, 25.0f);
        QCOMPARE(view.m_fYaw, -45.0f);

        view.m_b2DView = false;
        view.OnLButtonDown(Qt::NoModifier, QPoint(100, 100));
        view.OnMouseMove(Qt::NoButton, QPoint(150, 150)); // no button held
        QCOMPARE(view.m_fPitch, 25.0f);
        view.OnMouseMove(Qt::LeftButton, QPoint(100, 280)); // down 180: upside down
        QCOMPARE(view.m_fPitch, 205.0f);
        view.OnMouseMove(Qt::LeftButton, QPoint(110, 280));
        QCOMPARE(view.m_fYaw, -55.0f);
        QCOMPARE(view.m_ptLast, QPoint(110, 280));

        const struct {
            float pitch;
            float yawAfter;
        } kCases[] = {{-500.0f, -5.0f}, {-400.0f, 5.0f}, {90.9f, 5.0f}, {91.0f, -5.0f},
                      {269.5f, -5.0f}, {270.0f, 5.0f}, {725.0f, 5.0f}};
        for (const auto& k : kCases) {
            view.m_fPitch = k.pitch;
            view.m_fYaw = 0.0f;
            view.OnLButtonDown(Qt::NoModifier, QPoint(0, 0));
            view.OnMouseMove(Qt::LeftButton, QPoint(5, 0));
            QCOMPARE(view.m_fYaw, k.yawAfter);
            QCOMPARE(view.m_fPitch, k.pitch); // angles are never wrapped
        }
    }

    void renderedFramesShowTheCube()
    {
        CCubeWnd view;
        view.resize(504, 299);
        view.show();
        view.InitOpenGL();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        if (!view.HasContext())
            QSKIP("no OpenGL on this display");
        view.m_b2DView = false;
        QImage frame;
        QTRY_VERIFY((frame = view.GrabFrame()).width() == 504);

        if (qEnvironmentVariableIsSet("ZELVORS_SHOTS"))
            frame.save(qEnvironmentVariable("ZELVORS_SHOTS") + "/view-3d.png");
        // Default angles: T on top, F on the left, R on the right.
        QCOMPARE(HueOf(frame.pixel(260, 70)), Hue::Yellow);
        QCOMPARE(HueOf(frame.pixel(240, 100)), Hue::Yellow);
        QCOMPARE(HueOf(frame.pixel(190, 140)), Hue::Blue);
        QCOMPARE(HueOf(frame.pixel(200, 190)), Hue::Blue);
        QCOMPARE(HueOf(frame.pixel(280, 190)), Hue::Red);
        QCOMPARE(HueOf(frame.pixel(325, 185)), Hue::Red);
        QCOMPARE(HueOf(frame.pixel(10, 10)), Hue::Grey);

        // A mid-turn frame: only the turning slice is drawn turned.
        view.m_cubies.TurnSliceY(2, -45);
        const QImage turned = view.GrabFrame();
        view.m_cubies.TurnSliceY(2, +45);
        if (qEnvironmentVariableIsSet("ZELVORS_SHOTS"))
            turned.save(qEnvironmentVariable("ZELVORS_SHOTS") + "/view-3d-turning.png");
        int nTopChanged = 0, nBottomChanged = 0;
        for (int y = 0; y < 299; y += 2)
            for (int x = 0; x < 504; x += 2)
                if (frame.pixel(x, y) != turned.pixel(x, y))
                    ++(y < 100 ? nTopChanged : y > 190 ? nBottomChanged : nTopChanged);
        QVERIFY(nTopChanged > 500);
        QCOMPARE(nBottomChanged, 0);

        // The net through the same surface.
        view.m_b2DView = true;
        const QImage net = view.GrabFrame();
        QCOMPARE(net.pixel(3 * 32 + 3 + 40, 3 * 32 + 3 + 40), qRgba(0, 0, 255, 255));
        QCOMPARE(net.pixel(500, 295), qRgba(204, 204, 204, 255));
    }

    void heightZeroKeepsAProjection()
    {
        CCubeWnd view;
        view.resize(300, 200);
        view.show();
        view.InitOpenGL();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.SetProjection(300, 0);
        view.m_b2DView = false;
        view.resize(300, 0);
        view.Repaint();
        view.resize(300, 200);
        QTRY_VERIFY(view.GrabFrame().width() == 300 || !view.HasContext());
    }

private:
    QStringList m_boxes;
};

QTEST_MAIN(TestCubeWnd)
#include "test_cube_wnd.moc"
