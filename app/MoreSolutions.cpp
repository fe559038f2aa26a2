// Cube > Find More Solutions...: the search of the listed solution's solver
// carried on, on a worker thread with its progress and a Cancel in a small
// window beside the dialog, then the solutions found offered, each with its
// counts; the one picked is listed. After an optimal solve they are every
// solution of the fewest moves in move order, then of one move more; else
// the short solver's, shortest first (Solutions.h).

#include "ZelvorsCubeDlg.h"

#include "CubeFormats.h"
#include "CubeText.h"
#include "MessageBox.h"
#include "Notation.h"
#include "OptimalSolver.h"
#include "Patterns.h"
#include "ProgressText.h"
#include "ShortSolve.h"
#include "ShortSolver.h"
#include "Solutions.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QInputDialog>
#include <QProgressDialog>
#include <QThread>
#include <QtConcurrent>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr size_t kMoreSolutions = 12; // offered by Find More Solutions

// What the worker tells the dialog while it runs.
struct MoreShared {
    std::atomic<bool> bCancel{false};
    std::mutex mutex;
    std::string strProgress; // empty: nothing new to say
};

struct MoreAnswer {
    int nResult = -1;
    std::vector<std::string> solutions;
};

bool Solves(const Facelets& colors, const std::string& strMoves)
{
    CCubeSolver cube;
    LoadCube(cube, colors.data());
    cube.ExecuteMoves(strMoves);
    return cube.IsSolved();
}

// nFromDepth: for the fewest moves (> 0), the length below which no
// solution exists, as the optimal solve proved; 0: the short solver's.
MoreAnswer FindMoreOnWorker(const std::shared_ptr<MoreShared>& pShared, const Facelets& colors, bool bOptimal,
                            int nFromDepth)
{
    MoreAnswer answer;
    auto say = [pShared](const std::string& s) {
        const std::lock_guard<std::mutex> lock(pShared->mutex);
        pShared->strProgress = s;
    };
    if (bOptimal) {
        QElapsedTimer clock;
        clock.start();
        OptimalOptions options;
        options.nThreads = std::max(1, QThread::idealThreadCount());
        options.pCancel = &pShared->bCancel;
        options.nSolutions = kMoreSolutions;
        options.bOneLonger = true;
        options.nFromDepth = nFromDepth;
        options.progress = [&](const OptimalProgress& p) {
            say(optimal::ProgressText(p, static_cast<double>(clock.elapsed()) / 1000.0));
        };
        try {
            // Read after an optimal solve; computed once after a cube file's.
            const optimal::OptimalTables& tables = optimal::OptimalTables::Get(
                optimal::OptimalTables::DefaultSize(),
                [&](double f) {
                    say("Computing the optimal solver's table, once\u2026 " + std::to_string(static_cast<int>(f * 100)) +
                        " %");
                },
                &pShared->bCancel);
            const OptimalResult result = SolveOptimal(colors.data(), options, tables);
            answer.nResult = result.nResult;
            answer.solutions = result.solutions;
        } catch (const optimal::OptimalTables::Cancelled&) {
            // Cancelled before the search could start: the short solution.
            std::string strMoves;
            answer.nResult = SolveShort(colors.data(), shortsolver::kDefaultMaxLength, strMoves);
            if (answer.nResult == 0)
                answer.solutions = {strMoves};
        }
    } else {
        SeveralOptions options;
        options.pCancel = &pShared->bCancel;
        options.progress = [&](int nBound, size_t nFound) {
            say("Searching solutions of up to " + std::to_string(nBound) + " moves\u2026 " +
                std::to_string(nFound) + " found");
        };
        answer.nResult = SolveShortSeveral(colors.data(), shortsolver::kDefaultMaxLength, kMoreSolutions,
                                           answer.solutions, options);
    }
    // Only what solves the cube is offered.
    answer.solutions.erase(std::remove_if(answer.solutions.begin(), answer.solutions.end(),
                                          [&](const std::string& s) { return !Solves(colors, s); }),
                           answer.solutions.end());
    return answer;
}

} // namespace

void CZelvorsCubeDlg::NoteTarget(const BYTE* pTarget)
{
    m_bSolutionTarget = pTarget != nullptr;
    if (pTarget)
        std::copy(pTarget, pTarget + kFaceletCount, m_solutionTarget.begin());
}

void CZelvorsCubeDlg::OnFindMoreSolutions()
{
    if (m_bBusy || Deferred(&CZelvorsCubeDlg::OnFindMoreSolutions))
        return;
    const QString strTitle = QStringLiteral("Find More Solutions");
    if (m_nStep != 0) {
        ShowMessageBox(this, QStringLiteral("Go back to \"Your Cube!\" first: the solutions are found for the "
                                            "cube as entered."),
                       strTitle, QMessageBox::Information);
        return;
    }
    // As the listed solution was found: by which solver, and to which cube.
    const bool bOptimal = m_strSolutionMethod == QLatin1String("optimal");
    const int nFromDepth = bOptimal ? std::max(m_nProvenLength, 0) : 0;
    const bool bToTarget = m_bSolutionTarget;
    const Facelets target = m_solutionTarget;
    Facelets colors;
    if (!CubeToSolve(bToTarget ? target.data() : nullptr, colors))
        return;

    MoreAnswer answer;
    {
        const CommandGuard command(*this);
        PrepareShortSolverTables();
        QProgressDialog box(this);
        SetUpSearchBox(box, QStringLiteral("IDD_FIND_MORE_SOLUTIONS"), strTitle,
                       QStringLiteral("Finding solutions\u2026"));
        const auto pShared = std::make_shared<MoreShared>();
        QFutureWatcher<MoreAnswer> watcher;
        {
            watcher.setFuture(QtConcurrent::run(FindMoreOnWorker, pShared, colors, bOptimal, nFromDepth));
            WaitForSearch(watcher, box, pShared->bCancel, [&] {
                const std::lock_guard<std::mutex> lock(pShared->mutex);
                if (!pShared->strProgress.empty() && !pShared->bCancel)
                    box.setLabelText(QString::fromStdString(pShared->strProgress));
                pShared->strProgress.clear();
            });
        }
        if (command.Closing()) {
            pShared->bCancel = true;
            watcher.waitForFinished(); // prompt: the searches look at the flag often
            return;
        }
        watcher.waitForFinished();
        box.hide();
        answer = watcher.future().result();
    }
    if (answer.nResult != CCubeSolver::SOLVE_OK) {
        ShowSolveFailure(answer.nResult);
        return;
    }
    QStringList items;
    for (const std::string& strMoves : answer.solutions) {
        CString strStandard, strError;
        FormatStandardMoves(strMoves, strStandard, strError);
        items << QString::fromStdString(notation::FormatMetrics(notation::CountModelMoves(strMoves)) + "   " +
                                        strStandard);
    }
    bool bOk = false;
    const QString strChoice = QInputDialog::getItem(
        this, strTitle, QStringLiteral("%1 solutions, shortest first:").arg(items.size()), items, 0, false, &bOk);
    const int nPicked = static_cast<int>(items.indexOf(strChoice));
    if (!bOk || nPicked < 0)
        return;
    const std::string& strPicked = answer.solutions[static_cast<size_t>(nPicked)];
    ClearSolution();
    ShowSolution(strPicked);
    NoteSolution(bOptimal ? QStringLiteral("optimal") : QStringLiteral("short"));
    NoteTarget(bToTarget ? target.data() : nullptr);
    if (bOptimal && nFromDepth > 0 && static_cast<int>(strPicked.size() / 3) == nFromDepth)
        m_nProvenLength = nFromDepth;
}
