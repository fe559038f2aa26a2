// Prints how fast the shell answers: the time from constructing the main
// dialog to its window being shown, when the short solver's tables are ready,
// and the wall time from a Solve click (and from the short solve command) on
// a shuffled cube to the filled solution list; then the pace of 20 moves of a
// solution at the default speed, one Next after another and played with
// Play, in the 3D view and in the net.
//
//   app_bench [--cubes N]          (run under a display; xvfb-run when headless)

#include "CubeWnd.h"
#include "MessageBox.h"
#include "ShortSolve.h"
#include "ZelvorsCubeApp.h"
#include "ZelvorsCubeDlg.h"

#include <QAction>
#include <QElapsedTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QSurfaceFormat::setDefaultFormat(CCubeWnd::PixelFormat());
    CZelvorsCubeApp app(argc, argv);
    int nCubes = 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (!std::strcmp(argv[i], "--cubes"))
            nCubes = std::max(1, std::atoi(argv[++i]));
    SetMessageBoxHandler([](QWidget*, const QString& strText, const QString&, QMessageBox::Icon,
                            QMessageBox::StandardButtons) {
        std::fprintf(stderr, "box: %s\n", qPrintable(strText));
        return QMessageBox::Ok;
    });

    QElapsedTimer timer;
    timer.start();
    CZelvorsCubeDlg dlg;
    dlg.show();
    while (!dlg.windowHandle() || !dlg.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const double showMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const double fromStartMs = static_cast<double>(sinceStart.nsecsElapsed()) / 1e6;
    // The tables are built on a worker thread once the window is shown.
    timer.start();
    while (!ShortSolverTablesReady())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double tablesMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    // Shuffle with animation off, then time the Solve click alone.
    dlg.m_checkAnimate.click();
    std::vector<double> solveMs;
    for (int i = 0; i < nCubes; ++i) {
        dlg.m_btnShuffle.click();
        timer.start();
        dlg.m_btnSolve.click();
        solveMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (dlg.m_listSolution.count() < 2)
            std::fprintf(stderr, "cube %d: no solution listed\n", i);
    }
    std::sort(solveMs.begin(), solveMs.end());

    QAction* pShort = dlg.findChild<QAction*>(QStringLiteral("ID_CUBE_SOLVE_SHORT"));
    std::vector<double> shortMs;
    for (int i = 0; pShort && i < nCubes; ++i) {
        dlg.m_btnShuffle.click();
        timer.start();
        pShort->trigger();
        shortMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (dlg.m_listSolution.count() < 2 || dlg.m_listSolution.count() > 21)
            std::fprintf(stderr, "cube %d: no short solution listed\n", i);
    }
    std::sort(shortMs.begin(), shortMs.end());
    std::printf("dialog shown: %.0f ms after construction began, %.0f ms after main began\n", showMs,
                fromStartMs);
    std::printf("short solver tables ready: %.0f ms after the dialog was shown\n", tablesMs);
    std::printf("Solve click to filled list: median %.0f ms, worst %.0f ms over %d shuffled cubes\n",
                solveMs[solveMs.size() / 2], solveMs.back(), nCubes);
    if (!shortMs.empty())
        std::printf("short solve command to filled list: median %.1f ms, worst %.1f ms over %d shuffled cubes\n",
                    shortMs[shortMs.size() / 2], shortMs.back(), nCubes);

    // The last solution, from its first line, at the default speed.
    constexpr int kPaceMoves = 20;
    if (dlg.m_listSolution.count() < kPaceMoves + 3)
        return 0;
    auto toFirstLine = [&] {
        dlg.m_checkAnimate.setChecked(false);
        dlg.OnAnimate();
        dlg.m_listSolution.setCurrentRow(0);
        dlg.m_checkAnimate.setChecked(true);
        dlg.OnAnimate();
    };
    dlg.m_sliderSpeed.setValue(30);
    for (const bool b2D : {false, true}) {
        if (b2D) // the dialog starts in 3D
            dlg.On2DViewCommand();
        toFirstLine();
        timer.start();
        for (int i = 0; i < kPaceMoves; ++i)
            dlg.OnNext();
        const double nextPace = kPaceMoves * 1e9 / static_cast<double>(timer.nsecsElapsed());
        toFirstLine();
        dlg.OnPlay();
        while (dlg.m_nStep < kPaceMoves + 1)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double playPace = dlg.PlayPace();
        dlg.OnPlay();
        while (dlg.IsPlaying() || dlg.IsBusy())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::printf("%s, default speed (text %s): Next after Next %.2f moves/s, Play %.2f moves/s\n",
                    b2D ? "net" : "3D view", qPrintable(dlg.m_checkAnimate.text().section(' ', 3, 3)),
                    nextPace, playPace);
    }
    return 0;
}
