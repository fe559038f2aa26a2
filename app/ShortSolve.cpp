#include "ShortSolve.h"

#include "MessageBox.h"
#include "Patterns.h"
#include "ShortSolver.h"
#include "ZelvorsCubeDlg.h"

#include <QEventLoop>
#include <QKeySequence>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtConcurrent>

#include <mutex>
#include <utility>

// ---------------------------------------------------------------- worker

namespace {

std::mutex g_fnMutex;
ShortSolveFunction g_fnSolve; // null: the short solver

ShortSolveAnswer SolveOnWorker(const Facelets& colors)
{
    ShortSolveFunction fn;
    {
        const std::lock_guard<std::mutex> lock(g_fnMutex);
        fn = g_fnSolve;
    }
    if (fn)
        return fn(colors);
    ShortSolveAnswer answer;
    answer.nResult = SolveShort(colors.data(), shortsolver::kDefaultMaxLength, answer.strMoves);
    return answer;
}

} // namespace

void PrepareShortSolverTables()
{
    static std::once_flag started;
    std::call_once(started, [] {
        // The cache folder is the command line's (tablecache::DefaultCacheFolder,
        // or ZELVORS_CACHE_DIR), so that the tables are stored once per user;
        // with neither a home nor a cache folder named, no cache is kept.
        // On the global pool, which the application waits for when it ends.
        // Get() builds once, for whichever thread asks first; a solve that
        // asks meanwhile waits for that build.
        (void)QtConcurrent::run([] { (void)shortsolver::ShortSolverTables::Get(); });
    });
}

namespace {

class CFirstPaintWatch : public QObject {
public:
    explicit CFirstPaintWatch(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint) {
            pObject->removeEventFilter(this);
            // After the paint under way has reached the screen.
            QTimer::singleShot(0, [] { PrepareShortSolverTables(); });
            deleteLater();
        }
        return false;
    }
};

} // namespace

void PrepareShortSolverTablesOnceShown(QWidget& window)
{
    new CFirstPaintWatch(window);
}

bool ShortSolverTablesReady()
{
    return shortsolver::ShortSolverTables::IsReady();
}

void SetShortSolveFunction(ShortSolveFunction fn)
{
    const std::lock_guard<std::mutex> lock(g_fnMutex);
    g_fnSolve = std::move(fn);
}

CShortSolveTask::CShortSolveTask(QObject* pParent) : QObject(pParent)
{
    // The watcher lives on this object's thread: its finished signal reaches
    // it from the worker as a queued event.
    connect(&m_watcher, &QFutureWatcher<ShortSolveAnswer>::finished, this, &CShortSolveTask::Finished);
}

CShortSolveTask::~CShortSolveTask()
{
    m_watcher.disconnect(this);
    m_watcher.waitForFinished();
}

void CShortSolveTask::Start(const Facelets& colors)
{
    m_watcher.waitForFinished();
    m_watcher.setFuture(QtConcurrent::run(SolveOnWorker, colors));
}

ShortSolveAnswer CShortSolveTask::Answer() const
{
    const QFuture<ShortSolveAnswer> future = m_watcher.future();
    return future.isFinished() && future.resultCount() > 0 ? future.result() : ShortSolveAnswer();
}

// ---------------------------------------------------------------- the dialog's command

namespace {

constexpr int kProgressTick = 40; // milliseconds between steps of the bar while the worker runs

} // namespace

void CZelvorsCubeDlg::AddShortSolveCommand(QMenu* pCube)
{
    // Ctrl+Shift+S: the Side menu's keys take Alt, Ctrl or Shift alone, and
    // S names no face.
    QAction* pAction = pCube->addAction(QStringLiteral("Solve in 20 Moves or Fewer"), this,
                                        &CZelvorsCubeDlg::OnSolveShort);
    pAction->setObjectName(QStringLiteral("ID_CUBE_SOLVE_SHORT"));
    pAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_commandActions << pAction;
}

void CZelvorsCubeDlg::OnSolveShort()
{
    if (m_bBusy || Deferred(&CZelvorsCubeDlg::OnSolveShort))
        return;
    RunShortSolve(nullptr);
}

bool CZelvorsCubeDlg::CubeToSolve(const BYTE* pTarget, Facelets& colors)
{
    colors = m_cube.Colors();
    if (!pTarget)
        return true;
    std::string strError;
    Facelets relative;
    const int nResult = RelativeCube(colors.data(), pTarget, relative.data(), strError);
    if (nResult != CCubeSolver::SOLVE_OK) {
        ShowSolveFailure(nResult);
        return false;
    }
    colors = relative;
    return true;
}

void CZelvorsCubeDlg::RunShortSolve(const BYTE* pTarget)
{
    ClearSolution();
    m_progress.SetRange(0, kProgressSteps);
    m_progress.SetPos(0);
    m_progress.SetStep(5);
    const CommandGuard command(*this);

    Facelets colors;
    if (!CubeToSolve(pTarget, colors))
        return;

    if (!m_pShortSolve)
        m_pShortSolve = new CShortSolveTask(this);
    // Said on the bar for as long as the worker waits for the tables.
    const bool bWaitsForTables = !ShortSolverTablesReady();
    PrepareShortSolverTables();
    if (bWaitsForTables) {
        m_progress.setFormat(QStringLiteral("Preparing the tables of the short solver..."));
        m_progress.setTextVisible(true);
    }

    {
        // No click in the net changes the cube the answer is for.
        m_cube.SetSealed(true);
        struct Unseal {
            CCubeWnd& view;
            ~Unseal() { view.SetSealed(false); }
        } unseal{m_cube};
        QEventLoop loop;
        connect(m_pShortSolve, &CShortSolveTask::Finished, &loop, &QEventLoop::quit);
        // Exit confirmed meanwhile: the command ends at once; the worker's
        // answer is dropped, and the task waits for it when the dialog ends.
        connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
        QTimer ticker;
        ticker.setInterval(kProgressTick);
        connect(&ticker, &QTimer::timeout, this, [this] {
            m_progress.StepIt();
            if (m_progress.isTextVisible() && ShortSolverTablesReady())
                m_progress.setTextVisible(false);
        });
        m_pShortSolve->Start(colors);
        ticker.start();
        loop.exec();
    }
    m_progress.setTextVisible(false);
    if (command.Closing() || m_pShortSolve->IsRunning())
        return;

    const ShortSolveAnswer answer = m_pShortSolve->Answer();
    if (answer.nResult != CCubeSolver::SOLVE_OK) {
        m_progress.SetPos(0);
        ShowSolveFailure(answer.nResult);
        return;
    }
    m_progress.SetPos(0); // as Solve leaves it
    // Listed as after Solve; the cube itself is left as entered, and the
    // layer-by-layer solver's own solution is not touched.
    ShowSolution(answer.strMoves);
    NoteSolution(QStringLiteral("short"));
    NoteTarget(pTarget);
}
