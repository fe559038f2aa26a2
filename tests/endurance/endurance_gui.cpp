// The real dialog through many Shuffle-Solve-step-through cycles with
// animation off, in the net view: Shuffle, Solve (every other cycle the short
// solve on its worker thread), then Next until the last line. Prints the
// memory at the start and the end; fails when a cycle does not end solved or
// memory keeps growing. The short solver's tables, made once, are ready
// before the first cycle.
//
//   endurance_gui CYCLES MAX_GROWTH_MIB      (run under a display)

#include "Memory.h"
#include "MessageBox.h"
#include "ShortSolve.h"
#include "ZelvorsCubeApp.h"
#include "ZelvorsCubeDlg.h"

#include <QAction>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QSurfaceFormat::setDefaultFormat(CCubeWnd::PixelFormat());
    CZelvorsCubeApp app(argc, argv);
    const long nCycles = argc > 1 ? std::atol(argv[1]) : 200;
    const long nMaxGrowthKiB = (argc > 2 ? std::atol(argv[2]) : 8) * 1024;
    const long nWarmUp = nCycles / 10 > 0 ? nCycles / 10 : 1;
    int nBoxes = 0;
    SetMessageBoxHandler([&](QWidget*, const QString& strText, const QString&, QMessageBox::Icon,
                             QMessageBox::StandardButtons) {
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(strText));
        ++nBoxes;
        return QMessageBox::Ok;
    });

    CZelvorsCubeDlg dlg;
    dlg.show();
    while (!dlg.windowHandle() || !dlg.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    dlg.m_checkAnimate.click();
    dlg.m_check3D.click(); // the net: the cheaper of the two frames under software OpenGL
    while (!ShortSolverTablesReady())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QAction* pShortSolve = dlg.findChild<QAction*>(QStringLiteral("ID_CUBE_SOLVE_SHORT"));
    if (!pShortSolve) {
        std::fprintf(stderr, "no short solve command\n");
        return 1;
    }

    long nStartKiB = 0, nStartPeakKiB = 0, nSteps = 0;
    for (long i = 0; i < nCycles; ++i) {
        if (i == nWarmUp) {
            nStartKiB = CurrentRssKiB();
            nStartPeakKiB = PeakRssKiB();
        }
        dlg.m_btnShuffle.click();
        if (i % 2)
            pShortSolve->trigger();
        else
            dlg.m_btnSolve.click();
        while (dlg.m_btnNext.isEnabled()) {
            dlg.m_btnNext.click();
            ++nSteps;
        }
        QCoreApplication::processEvents();
        if (!dlg.m_cube.IsSolved() || nBoxes > 0 || !dlg.m_cube.m_cubies.MatchesFacelets(dlg.m_cube.m_pFace)) {
            std::fprintf(stderr, "cycle %ld did not end with the cube solved and shown\n", i);
            return 1;
        }
    }
    std::printf("%ld Shuffle-Solve-step-through cycles in the dialog (half of them short), %ld Next clicks\n",
                nCycles, nSteps);
    return ReportMemory(nStartKiB, nStartPeakKiB, nMaxGrowthKiB);
}
