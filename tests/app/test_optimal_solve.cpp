// Cube > Solve Optimally driven through the real dialog: its place and key,
// near-solved cubes' answers (and the short solver's for them), said to be
// optimal, and replays that end solved; while a search runs, its progress
// line, Cancel keeping the best solution so far, and Exit; Find More
// Solutions after it, and its Cancel.

#include "CubeFormats.h"
#include "CubeText.h"
#include "MessageBox.h"
#include "Notation.h"
#include "OptimalSolve.h"
#include "ShortSolver.h"
#include "ZelvorsCubeDlg.h"

#include <QApplication>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <thread>

namespace {

QAction* CubeAction(CZelvorsCubeDlg& dlg, const QString& strText)
{
    for (QAction* pMenu : dlg.MenuBar()->actions())
        if (pMenu->text() == "&Cube")
            for (QAction* pAction : pMenu->menu()->actions())
                if (pAction->text() == strText)
                    return pAction;
    return nullptr;
}

std::string ModelMoves(const char* pStandard)
{
    std::string strModel, strError;
    ParseStandardMoves(pStandard, strModel, strError);
    return strModel;
}

// Calls fn on each top-level window shown, from the event loop every few
// milliseconds (a modal box's own loop included), until it returns true.
void WhenShown(QObject* pContext, const std::function<bool(QWidget*)>& fn)
{
    auto* pTimer = new QTimer(pContext);
    pTimer->setInterval(10);
    QObject::connect(pTimer, &QTimer::timeout, pContext, [pTimer, fn] {
        for (QWidget* pWindow : QApplication::topLevelWidgets())
            if (pWindow->isVisible() && fn(pWindow)) {
                pTimer->stop();
                pTimer->deleteLater();
                return;
            }
    });
    pTimer->start();
}

// The Find More Solutions box: what it offers kept, the last taken.
void PickLast(QObject* pContext, QStringList& offered)
{
    WhenShown(pContext, [&offered](QWidget* pWindow) {
        auto* pBox = qobject_cast<QInputDialog*>(pWindow);
        if (!pBox)
            return false;
        offered = pBox->comboBoxItems();
        pBox->setTextValue(offered.value(offered.size() - 1));
        pBox->accept();
        return true;
    });
}

// A list line as the box writes it: the counts, then the moves in standard notation.
QString Line(const std::string& strModel)
{
    CString strStandard, strError;
    FormatStandardMoves(strModel, strStandard, strError);
    return QString::fromStdString(notation::FormatMetrics(notation::CountModelMoves(strModel)) + "   " + strStandard);
}

// A search that says it is at 18 moves and runs until it is cancelled, then
// answers as a cancelled search does: the short solution, not proven.
struct EndlessSearch {
    std::atomic<bool> bCancelSeen{false};

    OptimalResult operator()(const Facelets& colors, const OptimalOptions& options)
    {
        for (std::uint64_t nodes = 1200000000; !options.pCancel->load(); nodes += 1000000) {
            options.progress({18, 17, nodes});
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        bCancelSeen = true;
        OptimalResult result;
        result.nResult = SolveShort(colors.data(), shortsolver::kDefaultMaxLength, result.moves);
        result.length = static_cast<int>(result.moves.size() / 3);
        result.bProven = false;
        return result;
    }
};

// Runs step every 50 ms inside the command's own event loop until it returns
// true (or 20 s pass, when it fails the test and calls giveUp).
void WhileRunning(QObject* pContext, std::function<bool()> step, std::function<void()> giveUp)
{
    auto* pTimer = new QTimer(pContext);
    auto nTicks = std::make_shared<int>(0);
    QObject::connect(pTimer, &QTimer::timeout, pContext, [=] {
        if (step()) {
            pTimer->deleteLater();
            pTimer->stop();
        } else if (++*nTicks > 400) {
            pTimer->stop();
            pTimer->deleteLater();
            giveUp();
        }
    });
    pTimer->start(50);
}

} // namespace

class TestOptimalSolve : public QObject {
    Q_OBJECT

private:
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;

    void Quiet(CZelvorsCubeDlg& dlg)
    {
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.m_checkAnimate.click();
        QVERIFY(!dlg.m_cube.m_bAnimate);
    }
    // Next through the list: the cube ends solved, and not before.
    void ExpectReplaySolves(CZelvorsCubeDlg& dlg, int nMoves)
    {
        QCOMPARE(dlg.m_listSolution.count(), nMoves + 1);
        for (int i = 0; i < nMoves; ++i) {
            QVERIFY(!dlg.m_cube.IsSolved());
            dlg.m_btnNext.click();
        }
        QVERIFY(dlg.m_cube.IsSolved());
    }

private slots:
    void init()
    {
        m_answer = QMessageBox::Ok;
        SetMessageBoxHandler([this](QWidget*, const QString&, const QString&, QMessageBox::Icon,
                                    QMessageBox::StandardButtons) { return m_answer; });
        SetOptimalSolveFunction(nullptr);
    }
    void cleanup() { SetOptimalSolveFunction(nullptr); }

    void commandInTheCubeMenuWithAFreeShortcut()
    {
        CZelvorsCubeDlg dlg;
        QAction* pAction = CubeAction(dlg, "Solve Optimally");
        QVERIFY(pAction);
        QCOMPARE(pAction->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
        std::set<QString> keys;
        int nKeys = 0;
        for (QAction* a : dlg.findChildren<QAction*>())
            for (const QKeySequence& k : a->shortcuts()) {
                keys.insert(k.toString());
                ++nKeys;
            }
        QCOMPARE(static_cast<int>(keys.size()), nKeys);
    }

    void nearSolvedCubesGetTheirFewestMoves_data()
    {
        QTest::addColumn<QString>("scramble");
        QTest::addColumn<int>("moves");
        QTest::newRow("D L B") << "D L B" << 3;
        QTest::newRow("F2 U' R") << "F2 U' R" << 3;
        QTest::newRow("6 moves") << "R U R' U' F2 D" << 6;
        QTest::newRow("solved") << "" << 0;
    }
    void nearSolvedCubesGetTheirFewestMoves()
    {
        QFETCH(QString, scramble);
        QFETCH(int, moves);
        for (const char* pCommand : {"Solve in 20 Moves or Fewer", "Solve Optimally"}) {
            CZelvorsCubeDlg dlg;
            Quiet(dlg);
            dlg.m_cube.ExecuteMoves(ModelMoves(scramble.toLatin1().constData()));
            CubeAction(dlg, pCommand)->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsBusy() && dlg.m_listSolution.count() > 0, 30000);
            if (QString(pCommand) == "Solve Optimally")
                QCOMPARE(dlg.m_staticMoves.text(), QString("%1 Moves, optimal").arg(moves));
            ExpectReplaySolves(dlg, moves);
        }
    }

    // After Solve Optimally: every solution of the fewest moves in move
    // order, then of one move more, as the search gives them on any number of
    // threads; the one picked is listed and replays to solved.
    void findMoreAfterTheFewestMovesListsEveryOneOfThem_data()
    {
        QTest::addColumn<QString>("scramble");
        QTest::newRow("a dozen of 6 moves") << "R2 U2 R2 U2 R2 U2";
        QTest::newRow("2 of 6 moves, then of 7") << "R L U2 R' L' U2";
    }
    void findMoreAfterTheFewestMovesListsEveryOneOfThem()
    {
        QFETCH(QString, scramble);
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_cube.ExecuteMoves(ModelMoves(scramble.toLatin1().constData()));
        CubeAction(dlg, "Solve Optimally")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsBusy() && dlg.m_listSolution.count() > 0, 30000);
        const int nFewest = dlg.m_listSolution.count() - 1;
        Facelets colors = dlg.m_cube.Colors();
        OptimalOptions options;
        options.nSolutions = 12;
        options.bOneLonger = true;
        const OptimalResult expected = SolveOptimal(colors.data(), options);
        QStringList wanted;
        for (const std::string& s : expected.solutions)
            wanted << Line(s);

        QStringList offered;
        PickLast(&dlg, offered);
        CubeAction(dlg, "Find More Solutions...")->trigger();
        QTRY_VERIFY(!dlg.IsBusy());
        QCOMPARE(offered, wanted);
        QVERIFY(offered.size() > 1);
        QVERIFY(offered.first().startsWith(QString("%1 HTM").arg(nFewest)));
        const int nPicked = dlg.m_listSolution.count() - 1;
        QCOMPARE(nPicked, offered.last().section(' ', 0, 0).toInt());
        ExpectReplaySolves(dlg, nPicked);
    }

    // Cancel while the solutions are sought: the window comes back, and
    // what is offered (at least the listed solution's kind) solves the cube.
    void findMoreSolutionsCancelled()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_btnShuffle.click();
        bool bCancelled = false;
        WhenShown(&dlg, [&](QWidget* pWindow) {
            auto* pBox = qobject_cast<QProgressDialog*>(pWindow);
            if (!pBox || pBox->objectName() != "IDD_FIND_MORE_SOLUTIONS")
                return false;
            pBox->cancel();
            bCancelled = dlg.IsBusy(); // during the command
            return true;
        });
        QStringList offered;
        PickLast(&dlg, offered);
        CubeAction(dlg, "Find More Solutions...")->trigger();
        QTRY_VERIFY(!dlg.IsBusy());
        QVERIFY(bCancelled);
        QVERIFY(!offered.isEmpty() && offered.size() <= 12);
        const int nPicked = dlg.m_listSolution.count() - 1;
        QCOMPARE(nPicked, offered.last().section(' ', 0, 0).toInt());
        ExpectReplaySolves(dlg, nPicked);
    }

    // The short solution is followed at once; the progress line tells the
    // length, what is ruled out and the positions; Cancel keeps the short
    // solution and says it is not proven.
    void progressThenCancelKeepsTheBestSoFar()
    {
        auto pSearch = std::make_shared<EndlessSearch>();
        SetOptimalSolveFunction([pSearch](const Facelets& c, const OptimalOptions& o) { return (*pSearch)(c, o); });
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_cube.ExecuteMoves(ModelMoves("R U2 F' L D2 B R' U F2 L' D B2"));
        QString strSeen, strMovesWhileSearching;
        int nListedWhileSearching = 0;
        WhileRunning(
            &dlg,
            [&] {
                auto* pBox = dlg.findChild<QProgressDialog*>("IDD_SOLVE_OPTIMAL");
                if (!pBox || !pBox->labelText().startsWith("searching"))
                    return false;
                strSeen = pBox->labelText();
                strMovesWhileSearching = dlg.m_staticMoves.text();
                nListedWhileSearching = dlg.m_listSolution.count();
                pBox->findChild<QPushButton*>()->click();
                return true;
            },
            [pSearch] { SetOptimalSolveFunction(nullptr); });
        CubeAction(dlg, "Solve Optimally")->trigger();
        QVERIFY(pSearch->bCancelSeen);
        QVERIFY2(strSeen.startsWith("searching 18 moves\u2026 (17 ruled out, 1.2 G positions"), qPrintable(strSeen));
        QVERIFY2(strMovesWhileSearching.endsWith("Moves so far"), qPrintable(strMovesWhileSearching));
        QVERIFY(nListedWhileSearching > 1);
        QVERIFY(!dlg.IsBusy());
        const int nMoves = dlg.m_listSolution.count() - 1;
        QCOMPARE(dlg.m_listSolution.count(), nListedWhileSearching);
        QCOMPARE(dlg.m_staticMoves.text(), QString("%1, not proven").arg(nMoves));
        QVERIFY(dlg.m_staticMoves.toolTip().contains("not proven optimal"));
        ExpectReplaySolves(dlg, nMoves);
    }

    // The window closed (and Exit confirmed) while the search runs: the
    // search is told to stop and the dialog ends, without waiting for the
    // search to end by itself. (The Exit button waits, as every button does
    // while a command runs.)
    void exitWhileSearchingCancelsAndCloses()
    {
        auto pSearch = std::make_shared<EndlessSearch>();
        SetOptimalSolveFunction([pSearch](const Facelets& c, const OptimalOptions& o) { return (*pSearch)(c, o); });
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_cube.ExecuteMoves(ModelMoves("R U2 F' L D2 B R'"));
        m_answer = QMessageBox::Yes;
        bool bExitEnabled = true;
        WhileRunning(
            &dlg,
            [&] {
                auto* pBox = dlg.findChild<QProgressDialog*>("IDD_SOLVE_OPTIMAL");
                if (!pBox || !pBox->labelText().startsWith("searching"))
                    return false;
                bExitEnabled = dlg.m_btnExit.isEnabled();
                dlg.close();
                return true;
            },
            [pSearch] { SetOptimalSolveFunction(nullptr); });
        CubeAction(dlg, "Solve Optimally")->trigger();
        QVERIFY(pSearch->bCancelSeen);
        QVERIFY(!bExitEnabled);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestOptimalSolve)
#include "test_optimal_solve.moc"
