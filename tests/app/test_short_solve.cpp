// The Cube menu's short solve driven through the real dialog: its answers
// listed and replayed, its failures boxed as Solve's, the window live while
// the worker runs, and Exit during it.

#include "CubeText.h"
#include "MessageBox.h"
#include "ShortSolve.h"
#include "ShortSolver.h"
#include "TestCube.h"
#include "ZelvorsCubeApp.h"
#include "ZelvorsCubeDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QProgressDialog>
#include <QRadioButton>
#include <QInputDialog>
#include <QTimer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <algorithm>
#include <memory>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>

namespace {

struct Box {
    QString text;
    QString caption;
    QMessageBox::Icon icon;
};

const char kBadCubeletsText[] = "Cube does not contain proper cubelets.  Check configuration and try again.";
const char kMisOrientedText[] = "Cube mis-oriented.  If the configuration you have entered is indeed what you have,\n"
                            "then your cube appears to have been disassembled, and re-assembled incorrctly.\n"
                            "Check configuration and try again.";

QAction* ShortSolveAction(CZelvorsCubeDlg& dlg)
{
    for (QAction* pMenu : dlg.MenuBar()->actions())
        if (pMenu->text() == "&Cube")
            for (QAction* pAction : pMenu->menu()->actions())
                if (pAction->text() == "Solve in 20 Moves or Fewer")
                    return pAction;
    return nullptr;
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

// The Solve to Pattern box: the choice and the solver set, then OK.
void ChoosePattern(QObject* pContext, const QString& strChoice, bool bFewest, bool& bChosen)
{
    WhenShown(pContext, [=, &bChosen](QWidget* pWindow) {
        if (pWindow->objectName() != "IDD_SOLVE_TO_PATTERN")
            return false;
        auto* pBox = qobject_cast<QDialog*>(pWindow);
        auto* pCombo = pWindow->findChild<QComboBox*>("IDC_PATTERN");
        auto* pRadio = pWindow->findChild<QRadioButton*>(bFewest ? "IDC_PATTERN_FEWEST" : "IDC_PATTERN_SHORT");
        if (!pBox || !pCombo || !pRadio)
            return false;
        pCombo->setCurrentText(strChoice);
        pRadio->click();
        bChosen = pCombo->currentText() == strChoice && pRadio->isChecked();
        pBox->accept();
        return true;
    });
}

// The Find More Solutions box: what it offers kept, line nPick taken (-1: the last).
void PickSolution(QObject* pContext, int nPick, QStringList& offered)
{
    WhenShown(pContext, [nPick, &offered](QWidget* pWindow) {
        auto* pBox = qobject_cast<QInputDialog*>(pWindow);
        if (!pBox)
            return false;
        offered = pBox->comboBoxItems();
        pBox->setTextValue(offered.value(nPick < 0 ? offered.size() - 1 : nPick));
        pBox->accept();
        return true;
    });
}

Facelets ColorsOf(const CCubeSolver& cube)
{
    Facelets colors;
    ReadCube(cube, colors.data());
    return colors;
}

// Holds the worker until opened; then it solves as the program does.
struct Gate {
    std::mutex mutex;
    std::condition_variable cv;
    bool bOpen = false;
    std::atomic<bool> bEntered{false};
    std::atomic<bool> bLeft{false};

    ShortSolveFunction Function()
    {
        return [this](const Facelets& colors) {
            bEntered = true;
            {
                std::unique_lock<std::mutex> lock(mutex);
                cv.wait(lock, [this] { return bOpen; });
            }
            ShortSolveAnswer answer;
            answer.nResult = SolveShort(colors.data(), shortsolver::kDefaultMaxLength, answer.strMoves);
            bLeft = true;
            return answer;
        };
    }
    void Open()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            bOpen = true;
        }
        cv.notify_all();
    }
};

} // namespace

class TestShortSolve : public QObject {
    Q_OBJECT

private:
    std::vector<Box> m_boxes;
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;

    void Quiet(CZelvorsCubeDlg& dlg)
    {
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTRY_VERIFY(!dlg.m_cube.GrabFrame().isNull());
        dlg.m_checkAnimate.click();
        QVERIFY(!dlg.m_cube.m_bAnimate);
    }

private slots:
    void init()
    {
        m_boxes.clear();
        m_answer = QMessageBox::Ok;
        SetMessageBoxHandler([this](QWidget*, const QString& strText, const QString& strCaption,
                                    QMessageBox::Icon icon, QMessageBox::StandardButtons) {
            m_boxes.push_back({strText, strCaption, icon});
            return m_answer;
        });
    }
    void cleanup()
    {
        SetMessageBoxHandler({});
        SetShortSolveFunction({});
    }

    // The next two need a process in which no dialog has asked for the
    // tables yet: the first runs in the whole suite, the second on its own
    // (see tests/CMakeLists.txt).

    // A dialog never shown builds no tables; its first short solve says on
    // the bar that it waits for them, and answers once they are ready.
    void firstSolveWaitsForTheTables()
    {
        if (ShortSolverTablesReady())
            QSKIP("the tables were built earlier in this process");
        CZelvorsCubeDlg dlg;
        QCoreApplication::processEvents();
        QVERIFY(!ShortSolverTablesReady());
        bool bTextShown = false;
        QString strText;
        QTimer::singleShot(0, &dlg, [&] {
            bTextShown = dlg.m_progress.isTextVisible();
            strText = dlg.m_progress.text();
        });
        ShortSolveAction(dlg)->trigger();
        QVERIFY(bTextShown);
        QCOMPARE(strText, QString("Preparing the tables of the short solver..."));
        QVERIFY(ShortSolverTablesReady());
        QVERIFY(!dlg.m_progress.isTextVisible());
        QCOMPARE(dlg.m_listSolution.count(), 1);
        QCOMPARE(dlg.m_listSolution.item(0)->text(), QString("Your Cube!"));
    }

    // Making the dialog does not build the tables; its appearance starts the build.
    void tablesBuiltOnceTheWindowIsShown()
    {
        if (ShortSolverTablesReady())
            QSKIP("the tables were built earlier in this process");
        CZelvorsCubeDlg dlg;
        QCoreApplication::processEvents();
        QVERIFY(!ShortSolverTablesReady());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTRY_VERIFY_WITH_TIMEOUT(ShortSolverTablesReady(), 60000);
        QVERIFY(!dlg.IsBusy());
    }

    // Run on its own with ZELVORS_CACHE_DIR unset (see tests/CMakeLists.txt):
    // the program keeps its tables where the command line does, in
    // $XDG_CACHE_HOME/zelvorscube or else ~/.cache/zelvorscube, and nothing
    // else there; with neither variable set it keeps no cache at all.
    void cacheKeptWhereTheCommandLineKeepsIt()
    {
        if (qEnvironmentVariableIsSet("ZELVORS_CACHE_DIR") || ShortSolverTablesReady())
            QSKIP("needs a process of its own without ZELVORS_CACHE_DIR");
        const QString strXdg = qEnvironmentVariable("XDG_CACHE_HOME");
        const QString strHome = qEnvironmentVariable("HOME");
        QString strFolder;
        if (QDir::isAbsolutePath(strXdg))
            strFolder = strXdg + "/zelvorscube";
        else if (!strHome.isEmpty())
            strFolder = strHome + "/.cache/zelvorscube";
        CZelvorsCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTRY_VERIFY_WITH_TIMEOUT(ShortSolverTablesReady(), 120000);
        const auto origin = shortsolver::ShortSolverTables::Get().origin;
        if (strFolder.isEmpty()) {
            QVERIFY(origin == shortsolver::ShortSolverTables::Origin::COMPUTED);
            return;
        }
        QVERIFY(origin == shortsolver::ShortSolverTables::Origin::COMPUTED_AND_SAVED);
        QVERIFY(QFileInfo(strFolder + "/" + shortsolver::ShortSolverTables::kCacheFileName).isFile());
        // Nothing under the organisation's name: not in the cache, the
        // settings or the data folders that Qt would name after it.
        for (const auto location : {QStandardPaths::CacheLocation, QStandardPaths::AppConfigLocation,
                                    QStandardPaths::AppDataLocation, QStandardPaths::AppLocalDataLocation}) {
            const QString strPath = QStandardPaths::writableLocation(location);
            QVERIFY2(strPath.contains(QCoreApplication::organizationName()), qPrintable(strPath));
            QVERIFY2(!QFileInfo::exists(strPath), qPrintable(strPath));
        }
    }

    void commandSitsInTheCubeMenuWithAFreeShortcut()
    {
        CZelvorsCubeDlg dlg;
        QAction* pAction = ShortSolveAction(dlg);
        QVERIFY(pAction);
        QCOMPARE(pAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
        // No other command of any menu has the key.
        std::vector<QMenu*> menus;
        for (QAction* pMenu : dlg.MenuBar()->actions())
            menus.push_back(pMenu->menu());
        int nHolders = 0;
        while (!menus.empty()) {
            QMenu* pMenu = menus.back();
            menus.pop_back();
            for (QAction* p : pMenu->actions()) {
                if (p->menu())
                    menus.push_back(p->menu());
                nHolders += p->shortcut() == pAction->shortcut() ? 1 : 0;
                QVERIFY2(!p->text().contains("Ctrl+Shift+S", Qt::CaseInsensitive) || p == pAction,
                         qPrintable(p->text()));
            }
        }
        QCOMPARE(nHolders, 1);
    }

    // A shuffled cube: the list holds the solver's own answer in the
    // solution list's words, the cube is left as entered, and the replay
    // ends solved; the shortcut runs the command as the menu does.
    void shuffledCubesSolvedAndReplayed_data()
    {
        QTest::addColumn<bool>("shortcut");
        QTest::newRow("menu") << false;
        QTest::newRow("Ctrl+Shift+S") << true;
    }
    void shuffledCubesSolvedAndReplayed()
    {
        QFETCH(bool, shortcut);
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == &dlg);
        for (int nCube = 0; nCube < 3; ++nCube) {
            dlg.m_btnShuffle.click();
            const std::string entered = FormatCube(dlg.m_cube);
            std::string strExpected;
            QCOMPARE(SolveShort(ColorsOf(dlg.m_cube).data(), 20, strExpected), 0);
            QVERIFY(!strExpected.empty());
            if (shortcut)
                QTest::keyClick(&dlg.m_listSolution, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
            else
                ShortSolveAction(dlg)->trigger();
            QTRY_VERIFY(!dlg.IsBusy() && dlg.m_listSolution.count() > 0);
            QVERIFY(m_boxes.empty());
            QCOMPARE(FormatCube(dlg.m_cube), entered);

            const int nMoves = static_cast<int>(strExpected.size() / 3);
            QVERIFY(nMoves <= 20);
            QCOMPARE(dlg.m_listSolution.count(), nMoves + 1);
            QCOMPARE(dlg.m_listSolution.item(0)->text(), QString("Your Cube!"));
            for (int i = 0; i < nMoves; ++i)
                QCOMPARE(dlg.m_listSolution.item(i + 1)->text(),
                         CZelvorsCubeDlg::DescribeMove(strExpected.substr(3 * size_t(i), 3)));
            QCOMPARE(dlg.m_staticMoves.text(), QString("%1 Moves").arg(nMoves));
            QCOMPARE(dlg.m_progress.value(), 0); // the bar ends empty, as after Solve
            QCOMPARE(dlg.m_nStep, 0);
            QVERIFY(!dlg.m_btnPrevious.isEnabled());
            QVERIFY(dlg.m_btnNext.isEnabled());
            QVERIFY(dlg.m_btnSolve.isEnabled() && ShortSolveAction(dlg)->isEnabled());

            // Next through to the end, one back, and forward again.
            for (int i = 0; i < nMoves; ++i)
                dlg.m_btnNext.click();
            QCOMPARE(dlg.m_nStep, nMoves);
            QVERIFY(dlg.m_cube.IsSolved());
            dlg.m_btnPrevious.click();
            QVERIFY(!dlg.m_cube.IsSolved());
            dlg.m_btnNext.click();
            QVERIFY(dlg.m_cube.IsSolved());
            QVERIFY(!dlg.m_btnNext.isEnabled());
        }
    }

    // Cube > Solve to Pattern...: the choice made in its box, the moves
    // listed, and stepping through them ends on the pattern; a clipboard
    // without a cube is refused and nothing is listed.
    void solveToPatternEndsOnThePattern_data()
    {
        QTest::addColumn<QString>("strChoice");
        QTest::addColumn<QString>("strClipboard");
        QTest::addColumn<QString>("strPattern"); // empty: refused
        QTest::addColumn<bool>("bFewest");
        QTest::newRow("checkerboard") << "Checkerboard" << "" << "161616161252525252343434343434343434525252525616161616"
                                      << false;
        QTest::newRow("superflip") << "Superflip" << "" << "151413121212423262313235363414542464515354565626463656"
                                   << false;
        QTest::newRow("clipboard algorithm") << "The cube on the clipboard" << "U D' R L' F B' U D'"
                                             << "222212222333323333111131111666646666444454444555565555" << false;
        QTest::newRow("clipboard cube, two lines")
            << "The cube on the clipboard"
            << "111111111555525555444434444333343333222252222666666666\nUUUUUUUUU" 
            << "111111111555525555444434444333343333222252222666666666" << false;
        QTest::newRow("clipboard prose") << "The cube on the clipboard" << "hello" << "" << false;
        QTest::newRow("clipboard twisted corner") << "The cube on the clipboard"
                                                  << "111111112222222223333333333444444444555555555666666666" << ""
                                                  << false;
        // From a cube a few moves away, in the fewest moves.
        QTest::newRow("fewest: clipboard algorithm") << "The cube on the clipboard" << "R U' F2 U"
                                                     << "512612612426622444333433533622443442153155155111665665" << true;
        QTest::newRow("fewest: clipboard prose") << "The cube on the clipboard" << "hello" << "" << true;
    }
    void solveToPatternEndsOnThePattern()
    {
        QFETCH(QString, strChoice);
        QFETCH(QString, strClipboard);
        QFETCH(QString, strPattern);
        QFETCH(bool, bFewest);
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        if (bFewest)
            dlg.m_cube.ExecuteMoves("R+.T-.F*."); // the pattern within reach of the fewest moves
        else
            dlg.m_btnShuffle.click();
        const std::string entered = FormatCube(dlg.m_cube);
        QApplication::clipboard()->setText(strClipboard);
        QAction* pAction = dlg.findChild<QAction*>("ID_CUBE_SOLVE_TO_PATTERN");
        QVERIFY(pAction);
        bool bChosen = false;
        ChoosePattern(&dlg, strChoice, bFewest, bChosen);
        pAction->trigger();
        QVERIFY(bChosen);
        QTRY_VERIFY(!dlg.IsBusy());
        if (strPattern.isEmpty()) {
            QCOMPARE(int(m_boxes.size()), 1);
            QVERIFY(m_boxes[0].text.contains("nothing was done"));
            QCOMPARE(dlg.m_listSolution.count(), 0);
            QCOMPARE(FormatCube(dlg.m_cube), entered);
            return;
        }
        QTRY_VERIFY(dlg.m_listSolution.count() > 1);
        QVERIFY(m_boxes.empty());
        QCOMPARE(FormatCube(dlg.m_cube), entered);
        const int nMoves = dlg.m_listSolution.count() - 1;
        QVERIFY(nMoves <= 20);
        if (bFewest) {
            // One move from the cube on the clipboard.
            QCOMPARE(nMoves, 1);
            QCOMPARE(dlg.m_staticMoves.text(), QString("1 Moves, optimal"));
        }
        for (int i = 0; i < nMoves; ++i)
            dlg.m_btnNext.click();
        QCOMPARE(QString::fromStdString(FormatCube(dlg.m_cube)), strPattern);

        // Find More Solutions then finds more of them to the same pattern.
        for (int i = 0; i < nMoves; ++i)
            dlg.m_btnPrevious.click();
        QStringList offered;
        PickSolution(&dlg, -1, offered);
        dlg.findChild<QAction*>("ID_CUBE_FIND_MORE_SOLUTIONS")->trigger();
        QTRY_VERIFY(!dlg.IsBusy());
        // After the fewest moves, of which there is one, and none of one move more.
        QVERIFY2(bFewest ? offered.size() == 1 : offered.size() > 1, qPrintable(offered.join('\n')));
        const int nPicked = dlg.m_listSolution.count() - 1;
        QCOMPARE(nPicked, offered.last().section(' ', 0, 0).toInt());
        for (int i = 0; i < nPicked; ++i)
            dlg.m_btnNext.click();
        QCOMPARE(QString::fromStdString(FormatCube(dlg.m_cube)), strPattern);
    }

    // Cube > Find More Solutions...: several solutions with their counts,
    // shortest first; the one picked is listed and solves the cube.
    void findMoreSolutionsListsThePickedOne()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_btnShuffle.click();
        const std::string entered = FormatCube(dlg.m_cube);
        QAction* pAction = dlg.findChild<QAction*>("ID_CUBE_FIND_MORE_SOLUTIONS");
        QVERIFY(pAction);
        QStringList offered;
        PickSolution(&dlg, -1, offered);
        pAction->trigger();
        QTRY_VERIFY(!dlg.IsBusy());
        // A dozen, each its own: the search goes on past the first answer.
        QCOMPARE(offered.size(), 12);
        QCOMPARE(int(std::set<QString>(offered.begin(), offered.end()).size()), 12);
        int nPrevious = 0;
        for (const QString& strItem : offered) {
            QVERIFY(strItem.contains(" HTM \u00B7 "));
            const int nHtm = strItem.section(' ', 0, 0).toInt();
            QVERIFY(nHtm >= nPrevious && nHtm <= 20);
            nPrevious = nHtm;
        }
        QCOMPARE(FormatCube(dlg.m_cube), entered);
        const int nMoves = dlg.m_listSolution.count() - 1;
        QCOMPARE(nMoves, nPrevious); // the last one offered
        for (int i = 0; i < nMoves; ++i)
            dlg.m_btnNext.click();
        QVERIFY(dlg.m_cube.IsSolved());
    }

    // The short solver's answer is listed without passing through the
    // layer-by-layer solver: that solver's own solution stays as it was.
    void answerListedWithoutTouchingTheModelsSolution()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_btnShuffle.click();
        std::string strExpected;
        QCOMPARE(SolveShort(ColorsOf(dlg.m_cube).data(), 20, strExpected), 0);
        dlg.m_cube.m_strSolution = "untouched";
        ShortSolveAction(dlg)->trigger();
        QTRY_VERIFY(!dlg.IsBusy() && dlg.m_listSolution.count() > 1);
        QCOMPARE(dlg.m_cube.m_strSolution, std::string("untouched"));
        QCOMPARE(dlg.m_listSolution.count(), static_cast<int>(strExpected.size() / 3) + 1);
        QCOMPARE(dlg.m_listSolution.item(1)->text(), CZelvorsCubeDlg::DescribeMove(strExpected.substr(0, 3)));
    }

    void solvedCubeListsYourCubeOnly()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        ShortSolveAction(dlg)->trigger();
        QTRY_VERIFY(!dlg.IsBusy());
        QCOMPARE(dlg.m_listSolution.count(), 1);
        QCOMPARE(dlg.m_listSolution.item(0)->text(), QString("Your Cube!"));
        QCOMPARE(dlg.m_staticMoves.text(), QString("0 Moves"));
        QVERIFY(m_boxes.empty());
    }

    // The same boxes as Solve's, and the cube and list left alone.
    void failuresGiveSolvesBoxes_data()
    {
        QTest::addColumn<QString>("cube");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text");
        QTest::newRow("blank cube (1)") << "blank" << "Configuration Error" << int(QMessageBox::Warning)
                                        << kBadCubeletsText;
        QTest::newRow("one edge flipped (2)") << "flip" << "Unable To Solve Cube" << int(QMessageBox::Critical)
                                              << kMisOrientedText;
        QTest::newRow("two corners swapped (2)") << "swap" << "Unable To Solve Cube" << int(QMessageBox::Critical)
                                                 << kMisOrientedText;
    }
    void failuresGiveSolvesBoxes()
    {
        QFETCH(QString, cube);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        QFETCH(QString, text);
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        if (cube == "blank") {
            dlg.m_btnClear.click();
        } else {
            dlg.m_btnShuffle.click();
            if (cube == "flip")
                FlipEdge(dlg.m_cube, 3);
            else
                for (int i = 0; i < 3; ++i)
                    SwapFacelets(dlg.m_cube, g_cornerTable[0][i], g_cornerTable[1][i]);
        }
        const std::string entered = FormatCube(dlg.m_cube);

        // Solve's verdict first, then the short solve's on the same cube.
        dlg.m_btnSolve.click();
        QCOMPARE(int(m_boxes.size()), 1);
        const Box solveBox = m_boxes[0];
        ShortSolveAction(dlg)->trigger();
        QTRY_VERIFY(!dlg.IsBusy());
        QCOMPARE(int(m_boxes.size()), 2);
        QCOMPARE(m_boxes[1].caption, caption);
        QCOMPARE(int(m_boxes[1].icon), icon);
        QCOMPARE(m_boxes[1].text, text);
        QCOMPARE(m_boxes[1].caption, solveBox.caption);
        QCOMPARE(m_boxes[1].text, solveBox.text);
        QCOMPARE(FormatCube(dlg.m_cube), entered);
        QCOMPARE(dlg.m_listSolution.count(), 0);
        QCOMPARE(dlg.m_staticMoves.text(), QString("Moves"));
        QVERIFY(dlg.m_btnSolve.isEnabled() && dlg.m_listSolution.isEnabled());
    }

    // With the worker held, the window keeps handling events: timers fire,
    // the progress bar moves, the commands are unavailable and a click in
    // the net paints nothing; the answer is listed once the worker ends.
    void windowLiveWhileTheWorkerRuns()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_btnShuffle.click();
        dlg.m_check3D.click(); // the net
        QVERIFY(dlg.m_cube.m_b2DView);
        dlg.m_cube.Repaint();
        const std::string entered = FormatCube(dlg.m_cube);
        Gate gate;
        SetShortSolveFunction(gate.Function());

        int nTicks = 0;
        std::set<int> positions;
        bool bBusy = false, bCommandsOff = false, bListEmpty = false, bHeld = false;
        std::string whileHeld;
        QTimer ticker;
        ticker.setInterval(10);
        connect(&ticker, &QTimer::timeout, &dlg, [&] {
            ++nTicks;
            positions.insert(dlg.m_progress.value());
            if (nTicks == 1) {
                bBusy = dlg.IsBusy();
                bCommandsOff = !dlg.m_btnSolve.isEnabled() && !dlg.m_btnShuffle.isEnabled() &&
                               !dlg.m_btnClear.isEnabled() && !ShortSolveAction(dlg)->isEnabled();
                bListEmpty = dlg.m_listSolution.count() == 0;
                dlg.m_cube.SetPaintColor(3);
                const int c = std::max(1, dlg.m_cube.m_nCell);
                QTest::mouseClick(&dlg.m_cube, Qt::LeftButton, Qt::NoModifier, QPoint(3 * c + 3 + c / 2, 3 + c / 2));
                QTest::keyClick(&dlg.m_listSolution, Qt::Key_T, Qt::AltModifier); // a Side key
                // The disabled buttons, the switches and a resize.
                for (QPushButton* p : {&dlg.m_btnReset, &dlg.m_btnShuffle, &dlg.m_btnClear, &dlg.m_btnSolve})
                    QTest::mouseClick(p, Qt::LeftButton);
                dlg.m_check3D.click();
                QTest::mouseClick(&dlg.m_cube, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
                dlg.m_check3D.click();
                dlg.m_checkAnimate.click();
                dlg.m_checkAnimate.click();
                dlg.resize(dlg.size() + QSize(40, 30));
                whileHeld = FormatCube(dlg.m_cube);
            }
            if (nTicks >= 20 && positions.size() > 2 && !gate.bOpen) {
                bHeld = gate.bEntered && !gate.bLeft;
                gate.Open();
            }
            if (nTicks >= 3000) // the bar stood still: fail rather than hang
                gate.Open();
        });
        ticker.start();
        ShortSolveAction(dlg)->trigger();
        QTRY_VERIFY(!dlg.IsBusy());
        ticker.stop();

        QVERIFY(bBusy);
        QVERIFY(bCommandsOff);
        QVERIFY(bListEmpty);
        QVERIFY(bHeld);
        QVERIFY2(positions.size() > 2, "the progress bar stood still");
        QCOMPARE(whileHeld, entered);
        QVERIFY(gate.bLeft);
        QCOMPARE(FormatCube(dlg.m_cube), entered);
        QVERIFY(dlg.m_listSolution.count() > 1);
        QVERIFY(m_boxes.empty());
        // Painting works again afterwards.
        dlg.m_cube.SetPaintColor(3);
        const int c = std::max(1, dlg.m_cube.m_nCell);
        QTest::mouseClick(&dlg.m_cube, Qt::LeftButton, Qt::NoModifier, QPoint(3 * c + 3 + c / 2, 3 + c / 2));
        QCOMPARE(int(Facelet(dlg.m_cube, 'T', 0, 0)), 3);
    }

    // Exit confirmed while the worker runs ends the command at once with
    // nothing listed; the dialog waits for the worker when it ends.
    void exitWhileTheWorkerRuns_data()
    {
        QTest::addColumn<bool>("menu");
        QTest::newRow("close box") << false;
        QTest::newRow("File Exit") << true;
    }
    void exitWhileTheWorkerRuns()
    {
        QFETCH(bool, menu);
        Gate gate;
        SetShortSolveFunction(gate.Function());
        {
            CZelvorsCubeDlg dlg;
            // Opened before the dialog ends, whichever way this block is left.
            const std::unique_ptr<Gate, void (*)(Gate*)> opener(&gate, [](Gate* p) { p->Open(); });
            Quiet(dlg);
            dlg.m_btnShuffle.click();
            QTimer::singleShot(0, &dlg, [&] {
                QVERIFY(dlg.IsBusy());
                m_answer = QMessageBox::Yes;
                if (menu) {
                    // File's Exit, the last of its commands.
                    const QList<QAction*> file = dlg.MenuBar()->actions().at(0)->menu()->actions();
                    const auto exit = std::find_if(file.begin(), file.end(),
                                                   [](QAction* a) { return a->text().remove(QLatin1Char('&')) == "Exit"; });
                    QVERIFY(exit != file.end());
                    (*exit)->trigger();
                } else
                    dlg.close();
            });
            // Should Exit not end the command: fail rather than hang.
            QTimer::singleShot(30000, &dlg, [&] { gate.Open(); });
            ShortSolveAction(dlg)->trigger();
            QVERIFY(!dlg.isVisible());
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
            QCOMPARE(int(m_boxes.size()), 1);
            QCOMPARE(m_boxes[0].caption, QString("Exit!"));
            QCOMPARE(dlg.m_listSolution.count(), 0);
            QVERIFY(!gate.bLeft);
            gate.Open();
        }
        // The dialog's end waited for the worker.
        QVERIFY(gate.bLeft);
    }
};

int main(int argc, char** argv)
{
    QSurfaceFormat::setDefaultFormat(CCubeWnd::PixelFormat());
    CZelvorsCubeApp app(argc, argv);
    TestShortSolve test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_short_solve.moc"
