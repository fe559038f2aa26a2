// Prints what the cube view costs on this display: the time to draw one 3D
// frame and one net frame at the main dialog's default view size, and the CPU
// share of an animated 20-move replay at the default speed.
//
//   view_bench [--frames N] [--shots PREFIX] [--marker-shots DIR]
//
// With --shots, the two presentations are also written to PREFIX-3d.png and
// PREFIX-net.png; with --marker-shots, the next-move marker of each of the 18
// face turns on the solved cube at the default angles, DIR/3d-R+.png,
// DIR/net-R+.png, DIR/3d-R2.png and so on. Run it under a display (xvfb-run on a headless
// machine).

#include "CubeWnd.h"
#include "MessageBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

double MedianMs(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

std::vector<double> TimeFrames(CCubeWnd& view, int nFrames)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < nFrames; ++i) {
        view.m_fYaw += 1.0f;
        timer.start();
        view.Repaint();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return times;
}

void WriteMarkerShots(CCubeWnd& view, const QString& strDir)
{
    for (const char chFace : {'T', 'F', 'R', 'L', 'B', 'D'}) {
        for (const char chCode : {'+', '-', '*'}) {
            const CString strMove{chFace, chCode, '.'};
            view.SetMarkerMove(strMove);
            const QString strName = QString(QLatin1Char(chFace)) + QLatin1Char(chCode == '*' ? '2' : chCode);
            view.m_b2DView = false;
            view.GrabFrame().save(strDir + "/3d-" + strName + ".png");
            view.m_b2DView = true;
            view.GrabFrame().save(strDir + "/net-" + strName + ".png");
        }
    }
    view.SetMarkerMove("");
}

} // namespace

int main(int argc, char** argv)
{
    QSurfaceFormat::setDefaultFormat(CCubeWnd::PixelFormat());
    QApplication app(argc, argv);
    SetMessageBoxHandler([](QWidget*, const QString& strText, const QString& strCaption,
                            QMessageBox::Icon, QMessageBox::StandardButtons) {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(strCaption), qPrintable(strText));
        return QMessageBox::Ok;
    });

    int nFrames = 200;
    const char* pszShots = nullptr;
    const char* pszMarkerShots = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--frames") && i + 1 < argc)
            nFrames = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--shots") && i + 1 < argc)
            pszShots = argv[++i];
        else if (!std::strcmp(argv[i], "--marker-shots") && i + 1 < argc)
            pszMarkerShots = argv[++i];
    }

    // The view's rectangle in the dialog, 336 x 184 dialog units, at the
    // usual 1.5 x 1.625 pixels per unit.
    CCubeWnd view;
    view.resize(504, 299);
    view.show();
    view.InitOpenGL();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!view.HasContext()) {
        std::fprintf(stderr, "view_bench: no OpenGL context on this display\n");
        return 1;
    }
    if (pszMarkerShots)
        WriteMarkerShots(view, QString::fromUtf8(pszMarkerShots));
    view.ExecuteMoves("F+.R-.T*.");

    view.m_b2DView = false;
    TimeFrames(view, 10); // warm-up
    const std::vector<double> t3d = TimeFrames(view, nFrames);
    if (pszShots) {
        view.m_fYaw = -45.0f;
        view.GrabFrame().save(QString::fromUtf8(pszShots) + "-3d.png");
    }

    view.m_b2DView = true;
    TimeFrames(view, 10);
    const std::vector<double> tNet = TimeFrames(view, nFrames);
    if (pszShots)
        view.GrabFrame().save(QString::fromUtf8(pszShots) + "-net.png");

    // The same frames with the next-move marker, interleaved with frames
    // without it so that the machine's other load falls on both alike: an
    // arc on a face toward the viewer, arrows on two neighbours for a face
    // turned away, and the net's arc.
    view.m_b2DView = false;
    std::vector<double> t3dPlain, t3dArc, t3dStrips, tNetPlain, tNetArc;
    for (int i = 0; i < nFrames; ++i) {
        view.SetMarkerMove("");
        t3dPlain.push_back(TimeFrames(view, 1)[0]);
        view.SetMarkerMove("F+.");
        t3dArc.push_back(TimeFrames(view, 1)[0]);
        view.SetMarkerMove("B-.");
        t3dStrips.push_back(TimeFrames(view, 1)[0]);
    }
    view.m_b2DView = true;
    for (int i = 0; i < nFrames; ++i) {
        view.SetMarkerMove("");
        tNetPlain.push_back(TimeFrames(view, 1)[0]);
        view.SetMarkerMove("F+.");
        tNetArc.push_back(TimeFrames(view, 1)[0]);
    }
    view.SetMarkerMove("");

    std::printf("3D frame at 504x299:  median %.2f ms over %d frames\n", MedianMs(t3d), nFrames);
    std::printf("  interleaved: %.2f ms without the marker, %.2f ms with its arc (F+), %.2f ms with two "
                "strips (B-)\n", MedianMs(t3dPlain), MedianMs(t3dArc), MedianMs(t3dStrips));
    std::printf("net frame at 504x299: median %.2f ms over %d frames\n", MedianMs(tNet), nFrames);
    std::printf("  interleaved: %.2f ms without the marker, %.2f ms with it\n", MedianMs(tNetPlain),
                MedianMs(tNetArc));

    // A 20-move replay in the 3D view at the default speed (slider 30).
    view.m_b2DView = false;
    view.m_bAnimate = true;
    view.m_nDelay = 300;
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpu0 = std::clock();
    view.ExecuteMoves("F+.R+.T-.D*.L+.B-.F-.R*.T+.L-.D+.B+.F*.R-.T*.L*.D-.B*.F+.R+.");
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu0) / CLOCKS_PER_SEC;
    const double wallMs = static_cast<double>(wall.elapsed());
    std::printf("20-move animated replay: %.0f ms wall, %.0f ms CPU, %.0f%% of one core\n", wallMs,
                cpuMs, 100.0 * cpuMs / std::max(1.0, wallMs));
    std::printf("  pace: %.2f moves/s (the speed text says 3.00)\n", 20000.0 / std::max(1.0, wallMs));

    // Animated frames with a marker set and without, move by move in turn:
    // CPU per frame drawn. While a face turns the view leaves the marker out
    // (and the dialog clears it for the length of each move).
    {
        const char* const kMoves[] = {"F+.", "R+.", "T-.", "D*.", "L+.", "B-.", "F-.", "R*.", "T+.", "L-."};
        std::vector<double> plain, marked;
        for (int i = 0; i < 40; ++i) {
            const bool bMarker = i % 2 != 0;
            view.SetMarkerMove(bMarker ? "R+." : "");
            const long nFrames0 = view.FramesDrawn();
            const std::clock_t c0 = std::clock();
            view.ExecuteMoves(kMoves[(i / 2) % 10]);
            const double ms = 1000.0 * static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
            const long n = std::max(1L, view.FramesDrawn() - nFrames0);
            (bMarker ? marked : plain).push_back(ms / static_cast<double>(n));
        }
        std::printf("  animated frame, CPU: median %.2f ms without the marker, %.2f ms with it set\n",
                    MedianMs(plain), MedianMs(marked));
    }
    view.SetMarkerMove("");

    // The same replay in the net view: a move is drawn once and followed by
    // the full delay, so nearly all of it is spent asleep in WaitStep.
    view.m_b2DView = true;
    view.m_nDelay = 100;
    wall.start();
    const std::clock_t cpu1 = std::clock();
    view.ExecuteMoves("F+.R+.T-.D*.L+.B-.F-.R*.T+.L-.D+.B+.F*.R-.T*.L*.D-.B*.F+.R+.");
    const double cpuNetMs = 1000.0 * static_cast<double>(std::clock() - cpu1) / CLOCKS_PER_SEC;
    const double wallNetMs = static_cast<double>(wall.elapsed());
    std::printf("20-move net replay, 100 ms per move: %.0f ms wall, %.0f ms CPU, %.1f%% of one core\n",
                wallNetMs, cpuNetMs, 100.0 * cpuNetMs / std::max(1.0, wallNetMs));
    return 0;
}
