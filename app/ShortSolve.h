#pragma once
// The short solve as the program runs it. The search runs on a worker thread
// that is given a copy of the 54 colours and reaches neither the model nor a
// widget; its answer comes back to the thread that started it through a
// queued signal. The solver's tables are built on a worker thread of their
// own, started as soon as the main dialog has appeared, so that it appears as
// fast as without them and the first solve waits only if they are not ready.

#include "Compat.h"
#include "Facelets.h"

#include <QFutureWatcher>
#include <QObject>

#include <array>
#include <functional>
#include <string>


struct ShortSolveAnswer {
    int nResult = -1;     // Solve's result codes
    std::string strMoves; // the moves in the model's notation when nResult is 0
};

class QWidget;

// The tables built on a worker thread; the first call starts it, later calls
// do nothing.
void PrepareShortSolverTables();
// The same once the window has first been painted, so that the build does
// not compete with the window's appearance.
void PrepareShortSolverTablesOnceShown(QWidget& window);
// True when a solve started now would not wait for the tables.
bool ShortSolverTablesReady();

// The search a worker runs. Tests replace it to hold a worker for as long as
// they need; a null function restores the short solver at 20 moves.
using ShortSolveFunction = std::function<ShortSolveAnswer(const Facelets&)>;
void SetShortSolveFunction(ShortSolveFunction fn);

// One worker at a time. Finished() arrives on the thread that called Start.
class CShortSolveTask : public QObject {
    Q_OBJECT

public:
    explicit CShortSolveTask(QObject* pParent = nullptr);
    // Waits for a worker still running: none outlives its task.
    ~CShortSolveTask() override;

    // Starts a worker on a copy of the colours (after the previous one, if
    // any, has ended).
    void Start(const Facelets& colors);
    bool IsRunning() const { return m_watcher.isRunning(); }
    // The last worker's answer; valid once Finished() has arrived.
    ShortSolveAnswer Answer() const;

signals:
    void Finished();

private:
    QFutureWatcher<ShortSolveAnswer> m_watcher;
};
