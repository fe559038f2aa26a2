// The small window of a long search (Solve Optimally, Find More Solutions):
// its progress line and Cancel beside a dialog that stays live while a
// worker thread searches.

#include "ShortSolve.h"
#include "ZelvorsCubeDlg.h"

#include <QEventLoop>
#include <QFutureWatcherBase>
#include <QProgressDialog>
#include <QTimer>

namespace {

constexpr int kSearchTick = 200; // milliseconds between updates of the progress line

} // namespace

void CZelvorsCubeDlg::SetUpSearchBox(QProgressDialog& box, const QString& strObjectName, const QString& strTitle,
                                     const QString& strFirstLine)
{
    box.setObjectName(strObjectName);
    box.setWindowTitle(strTitle);
    box.setWindowModality(Qt::NonModal);
    box.setRange(0, 0);
    box.setMinimumDuration(0);
    box.setAutoClose(false);
    box.setAutoReset(false);
    box.setMinimumWidth(box.fontMetrics().horizontalAdvance(QStringLiteral("M")) * 40);
    box.setLabelText(ShortSolverTablesReady() ? strFirstLine
                                              : QStringLiteral("Preparing the tables of the short solver\u2026"));
}

void CZelvorsCubeDlg::WaitForSearch(QFutureWatcherBase& watcher, QProgressDialog& box, std::atomic<bool>& bCancel,
                                    const std::function<void()>& tick)
{
    // No click in the net changes the cube the answer is for.
    m_cube.SetSealed(true);
    struct Unseal {
        CCubeWnd& view;
        ~Unseal() { view.SetSealed(false); }
    } unseal{m_cube};
    QEventLoop loop;
    connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    // Exit confirmed meanwhile: the search is cancelled and the command ends.
    connect(this, &QDialog::finished, &loop, [&] {
        bCancel = true;
        loop.quit();
    });
    connect(&box, &QProgressDialog::canceled, &loop, [&] {
        bCancel = true;
        box.setLabelText(QStringLiteral("Cancelling\u2026"));
    });
    QTimer ticker;
    ticker.setInterval(kSearchTick);
    connect(&ticker, &QTimer::timeout, this, tick);
    box.show();
    ticker.start();
    if (!watcher.isFinished())
        loop.exec();
    tick();
}
