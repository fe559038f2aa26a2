// Cube > Solve Optimally driven through the real dialog: its place and key,
// near-solved cubes' answers (and the short solver's for them), said to be
// optimal, and replays that end solved.

#include "CubeFormats.h"
#include "CubeText.h"
#include "MessageBox.h"
#include "OptimalSolve.h"
#include "ShortSolver.h"
#include "ZelvorsCubeDlg.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <set>

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
};

QTEST_MAIN(TestOptimalSolve)
#include "test_optimal_solve.moc"
