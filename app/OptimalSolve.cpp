#include "OptimalSolve.h"

#include "Patterns.h"
#include "ProgressText.h"
#include "ShortSolver.h"
#include "ZelvorsCubeDlg.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QKeySequence>
#include <QMenu>
#include <QProgressDialog>
#include <QThread>
#include <QtConcurrent>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace {

std::mutex g_fnMutex;
OptimalSolveFunction g_fnSolve; // null: SolveOptimal

// What the worker tells the dialog while it runs.
struct OptimalShared {
    std::atomic<bool> bCancel{false};
    std::mutex mutex;
    bool bShortReady = false;
    ShortSolveAnswer shortAnswer;
    bool bProgress = false;
    OptimalProgress progress;
    double tableDone = -1; // the share of the large table computed, while it is
};

OptimalResult SolveOptimallyOnWorker(const std::shared_ptr<OptimalShared>& pShared, const Facelets& colors)
{
    ShortSolveAnswer answer;
    answer.nResult = SolveShort(colors.data(), shortsolver::kDefaultMaxLength, answer.strMoves);
    {
        const std::lock_guard<std::mutex> lock(pShared->mutex);
        pShared->shortAnswer = answer;
        pShared->bShortReady = true;
    }
    if (answer.nResult != 0) {
        OptimalResult result;
        result.nResult = answer.nResult;
        return result;
    }
    OptimalOptions options;
    options.nThreads = std::max(1, QThread::idealThreadCount());
    options.pCancel = &pShared->bCancel;
    options.progress = [pShared](const OptimalProgress& p) {
        const std::lock_guard<std::mutex> lock(pShared->mutex);
        pShared->progress = p;
        pShared->bProgress = true;
    };
    OptimalSolveFunction fn;
    {
        const std::lock_guard<std::mutex> lock(g_fnMutex);
        fn = g_fnSolve;
    }
    if (fn)
        return fn(colors, options);
    // The first search of a run reads the tables, or computes them once
    // (Cancel then leaves the short solution, and the next search computes
    // them again).
    try {
        const optimal::OptimalTables& tables = optimal::OptimalTables::Get(
            optimal::OptimalTables::DefaultSize(),
            [pShared](double f) {
                const std::lock_guard<std::mutex> lock(pShared->mutex);
                pShared->tableDone = f;
            },
            &pShared->bCancel);
        return SolveOptimal(colors.data(), options, tables);
    } catch (const optimal::OptimalTables::Cancelled&) {
        OptimalResult result;
        result.nResult = answer.nResult;
        result.moves = answer.strMoves;
        result.length = static_cast<int>(answer.strMoves.size() / 3);
        result.bProven = false;
        return result;
    }
}


int CountMoves(const std::string& s)
{
    return static_cast<int>(s.size() / 3);
}

} // namespace

void SetOptimalSolveFunction(OptimalSolveFunction fn)
{
    const std::lock_guard<std::mutex> lock(g_fnMutex);
    g_fnSolve = std::move(fn);
}

void CZelvorsCubeDlg::AddOptimalSolveCommand(QMenu* pCube)
{
    // Ctrl+Shift+O: the Side menu's keys take Alt, Ctrl or Shift alone, the
    // Edit menu's are Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z, Ctrl+C and Ctrl+V, and O
    // names no face.
    QAction* pAction = pCube->addAction(QStringLiteral("Solve Optimally"), this, &CZelvorsCubeDlg::OnSolveOptimal);
    pAction->setObjectName(QStringLiteral("ID_CUBE_SOLVE_OPTIMAL"));
    pAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    m_commandActions << pAction;
}

void CZelvorsCubeDlg::OnSolveOptimal()
{
    if (m_bBusy || Deferred(&CZelvorsCubeDlg::OnSolveOptimal))
        return;
    RunOptimalSolve(nullptr);
}

void CZelvorsCubeDlg::RunOptimalSolve(const BYTE* pTarget)
{
    ClearSolution();
    m_progress.SetPos(0);
    const CommandGuard command(*this);

    Facelets colors;
    if (!CubeToSolve(pTarget, colors))
        return;
    PrepareShortSolverTables();

    // The progress line and Cancel, in a window of their own that leaves the
    // dialog live.
    QProgressDialog box(this);
    SetUpSearchBox(box, QStringLiteral("IDD_SOLVE_OPTIMAL"),
                   pTarget ? QStringLiteral("Solve to Pattern") : QStringLiteral("Solve Optimally"),
                   QStringLiteral("Finding a short solution\u2026"));

    const auto pShared = std::make_shared<OptimalShared>();
    QFutureWatcher<OptimalResult> watcher;
    bool bShortShown = false;
    QElapsedTimer clock;
    clock.start();
    {
        auto update = [&] {
            const std::lock_guard<std::mutex> lock(pShared->mutex);
            if (pShared->bShortReady && !bShortShown) {
                // Something to follow at once.
                bShortShown = true;
                if (pShared->shortAnswer.nResult == CCubeSolver::SOLVE_OK) {
                    ShowSolution(pShared->shortAnswer.strMoves);
                    // (The label holds about 17 characters.)
                    m_staticMoves.setText(
                        QStringLiteral("%1 Moves so far").arg(CountMoves(pShared->shortAnswer.strMoves)));
                    m_staticMoves.setToolTip(QStringLiteral("Searching for a shorter solution"));
                }
                // Until the search says more: its small tables may take seconds on first use.
                if (!pShared->bProgress && pShared->tableDone < 0 && !pShared->bCancel)
                    box.setLabelText(QStringLiteral("Preparing the optimal solver's tables…"));
            }
            if (pShared->tableDone >= 0 && !pShared->bProgress && !pShared->bCancel)
                box.setLabelText(
                    QStringLiteral("Computing the optimal solver's table, once (%1 MB of memory and disk)\u2026 %2 %")
                        .arg(optimal::LargeTable::ExpectedBytes() >> 20)
                        .arg(static_cast<int>(pShared->tableDone * 100)));
            if (pShared->bProgress && !pShared->bCancel)
                box.setLabelText(QString::fromStdString(
                    optimal::ProgressText(pShared->progress, static_cast<double>(clock.elapsed()) / 1000.0)));
        };
        watcher.setFuture(QtConcurrent::run(SolveOptimallyOnWorker, pShared, colors));
        WaitForSearch(watcher, box, pShared->bCancel, update);
    }
    if (command.Closing()) {
        pShared->bCancel = true;
        watcher.waitForFinished(); // prompt: the search looks at the flag often
        return;
    }
    watcher.waitForFinished();
    box.hide();
    const OptimalResult result = watcher.future().result();
    if (result.nResult != CCubeSolver::SOLVE_OK) {
        ShowSolveFailure(result.nResult);
        return;
    }
    // The best solution known: the search's, or the short one when the
    // search was cancelled before it found one shorter.
    if (!bShortShown || result.moves != pShared->shortAnswer.strMoves) {
        ClearSolution();
        ShowSolution(result.moves);
    }
    NoteSolution(QStringLiteral("optimal"));
    NoteTarget(pTarget);
    m_nProvenLength = result.bProven ? result.length : -1;
    m_staticMoves.setText(result.bProven ? QStringLiteral("%1 Moves, optimal").arg(result.length)
                                         : QStringLiteral("%1, not proven").arg(result.length));
    m_staticMoves.setToolTip(result.bProven ? QStringLiteral("%1 moves \u2014 optimal: no shorter solution exists")
                                                  .arg(result.length)
                                            : QStringLiteral("%1 moves \u2014 not proven optimal: the search was "
                                                             "cancelled before it could rule out every shorter length")
                                                  .arg(result.length));
}
