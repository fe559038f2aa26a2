// Following a solution in the main dialog: the next-move marker and line, the
// notation option, and Play with its pause, driven as a user drives them.
//
// With ZELVORS_SHOTS_DIR set, the dialog is also written there as PNG files
// after a list click, after Previous and with the notation option on.

#include "CubeText.h"
#include "MessageBox.h"
#include "EditCommands.h"
#include "ZelvorsCubeDlg.h"

#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>

namespace {

void ClickLine(QListWidget& list, int nLine)
{
    const QRect rc = list.visualItemRect(list.item(nLine));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, rc.center());
}

// The facelets after the first n moves of the listed solution, from the
// cube as entered.
CString AfterMoves(const CString& strEntered, const CStringArray& moves, int n)
{
    CCubeSolver cube;
    BYTE colors[kCubeTextLength] = {};
    CString strError;
    if (!ParseCubeText(strEntered, colors, strError))
        return strError;
    LoadCube(cube, colors);
    for (int i = 1; i <= n; ++i)
        cube.ExecuteMoves(moves[static_cast<size_t>(i)]);
    return FormatCube(cube);
}

void Shot(CZelvorsCubeDlg& dlg, const char* pszName)
{
    const QByteArray dir = qgetenv("ZELVORS_SHOTS_DIR");
    if (dir.isEmpty())
        return;
    QApplication::processEvents();
    // The view's own surface is not part of the widget grab: pasted in.
    QImage image = dlg.grab().toImage();
    const QImage frame = dlg.m_cube.GrabFrame();
    // The surface's alpha is no part of the picture.
    const QImage view = QImage(frame.constBits(), frame.width(), frame.height(), frame.bytesPerLine(),
                               QImage::Format_RGBX8888).copy();
    QPainter painter(&image);
    painter.drawImage(dlg.m_cube.mapTo(&dlg, QPoint(0, 0)), view);
    painter.end();
    image.save(QString::fromUtf8(dir) + "/" + pszName + ".png");
}

} // namespace

class TestFollow : public QObject {
    Q_OBJECT

private:
    // A shown dialog with a solved shuffle listed; animation as asked.
    // Returns the cube as entered.
    CString Solved(CZelvorsCubeDlg& dlg, bool bAnimate)
    {
        dlg.show();
        if (!QTest::qWaitForWindowExposed(&dlg))
            return CString();
        // The view's own surface is exposed a little after the dialog.
        for (int i = 0; i < 100 && dlg.m_cube.GrabFrame().isNull(); ++i)
            QTest::qWait(50);
        dlg.m_checkAnimate.click(); // off for the shuffle and the solve
        dlg.m_btnShuffle.click();
        const CString strEntered = FormatCube(dlg.m_cube);
        dlg.m_btnSolve.click();
        if (bAnimate)
            dlg.m_checkAnimate.click();
        dlg.activateWindow();
        if (!QTest::qWaitForWindowActive(&dlg))
            return CString();
        return strEntered;
    }

private slots:
    void init()
    {
        SetMessageBoxHandler([](QWidget*, const QString&, const QString&, QMessageBox::Icon,
                                QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    }
    void cleanup() { SetMessageBoxHandler({}); }

    void menuItemsAndDefaults()
    {
        CZelvorsCubeDlg dlg;
        QVERIFY(dlg.m_pMarkerAction->isCheckable() && dlg.m_pMarkerAction->isChecked());
        QVERIFY(dlg.m_pNotationAction->isCheckable() && !dlg.m_pNotationAction->isChecked());
        QVERIFY(!dlg.m_pPlayAction->isEnabled());
        QCOMPARE(dlg.m_pPlayAction->text(), QString("Play\tSpace"));
        QVERIFY(dlg.m_staticNext.text().isEmpty());
        QVERIFY(dlg.m_cube.MarkerMove().empty());
        // The View menu keeps its two first items.
        QMenu* pView = dlg.m_pMarkerAction->associatedObjects().isEmpty()
                           ? nullptr
                           : qobject_cast<QMenu*>(dlg.m_pMarkerAction->associatedObjects().first());
        QVERIFY(pView);
        QCOMPARE(pView->actions().at(0)->text(), QString("2D View"));
        QCOMPARE(pView->actions().at(1)->text(), QString("3D View"));
    }

    void standardNames()
    {
        QCOMPARE(CZelvorsCubeDlg::StandardName("T+."), QString("U"));
        QCOMPARE(CZelvorsCubeDlg::StandardName("T-."), QString("U'"));
        QCOMPARE(CZelvorsCubeDlg::StandardName("T*."), QString("U2"));
        QCOMPARE(CZelvorsCubeDlg::StandardName("D-."), QString("D'"));
        QCOMPARE(CZelvorsCubeDlg::StandardName("B+."), QString("B"));
        QCOMPARE(CZelvorsCubeDlg::StandardName(""), QString());
    }

    // The marker shows the next move exactly while a solution is listed and
    // nothing runs, through steps, list clicks, Previous, the end and Clear.
    void markerFollowsTheList()
    {
        CZelvorsCubeDlg dlg;
        Solved(dlg, false);
        const int nMoves = dlg.m_listSolution.count() - 1;
        QVERIFY(nMoves > 3);
        const CStringArray& moves = dlg.m_arrMoves;
        auto expectNext = [&](int nNext) {
            QCOMPARE(dlg.m_cube.MarkerMove(), moves[static_cast<size_t>(nNext)]);
            QVERIFY(dlg.m_cube.IsMarkerShown());
            const QString strWords = CZelvorsCubeDlg::DescribeMove(moves[static_cast<size_t>(nNext)]);
            const QString strName = CZelvorsCubeDlg::StandardName(moves[static_cast<size_t>(nNext)]);
            QCOMPARE(dlg.m_staticNext.text(), QString("Next: %1 \u2014 %2   move %3 of %4")
                                                  .arg(strWords, strName).arg(nNext).arg(nMoves));
        };
        expectNext(1);
        dlg.m_btnNext.click();
        expectNext(2);
        ClickLine(dlg.m_listSolution, 3);
        expectNext(4);
        Shot(dlg, "dialog-after-list-click");
        dlg.m_btnPrevious.click();
        expectNext(3);
        Shot(dlg, "dialog-after-previous");
        ClickLine(dlg.m_listSolution, 0);
        expectNext(1);

        dlg.m_pMarkerAction->trigger(); // off
        QVERIFY(dlg.m_cube.MarkerMove().empty());
        QVERIFY(dlg.m_staticNext.text().startsWith("Next: ")); // the line stays
        dlg.m_pMarkerAction->trigger();
        expectNext(1);

        ClickLine(dlg.m_listSolution, nMoves);
        QVERIFY(dlg.m_cube.MarkerMove().empty());
        QCOMPARE(dlg.m_staticNext.text(), QString("All %1 moves done").arg(nMoves));
        QVERIFY(dlg.m_cube.IsSolved());
        QVERIFY(!dlg.m_pPlayAction->isEnabled());

        dlg.m_btnPrevious.click();
        expectNext(nMoves);
        dlg.m_btnClear.click();
        QVERIFY(dlg.m_cube.MarkerMove().empty());
        QVERIFY(dlg.m_staticNext.text().isEmpty());
    }

    // While a move is animated the marker is not drawn, in the view nor set.
    void markerHiddenWhileAMoveRuns()
    {
        CZelvorsCubeDlg dlg;
        Solved(dlg, true);
        bool bSeen = false, bShownDuring = true;
        QTimer::singleShot(0, &dlg, [&] {
            bSeen = dlg.IsBusy();
            bShownDuring = dlg.m_cube.IsMarkerShown();
        });
        dlg.m_btnNext.click();
        QVERIFY(bSeen);
        QVERIFY(!bShownDuring);
        QVERIFY(dlg.m_cube.IsMarkerShown());
    }

    void notationOptionKeepsTheWords()
    {
        CZelvorsCubeDlg dlg;
        Solved(dlg, false);
        QStringList before;
        for (int i = 0; i < dlg.m_listSolution.count(); ++i)
            before << dlg.m_listSolution.item(i)->text();
        for (int i = 1; i < before.size(); ++i)
            QCOMPARE(before[i], CZelvorsCubeDlg::DescribeMove(dlg.m_arrMoves[static_cast<size_t>(i)]));

        dlg.m_pNotationAction->trigger();
        QCOMPARE(dlg.m_listSolution.item(0)->text(), QString("Your Cube!"));
        for (int i = 1; i < before.size(); ++i) {
            const QString strLine = dlg.m_listSolution.item(i)->text();
            const QString strName = CZelvorsCubeDlg::StandardName(dlg.m_arrMoves[static_cast<size_t>(i)]);
            QVERIFY2(strLine.startsWith(strName + " ") && strLine.endsWith(" " + before[i]), qPrintable(strLine));
        }
        Shot(dlg, "dialog-notation");
        // Kept through a step, and off again restores the lines exactly.
        dlg.m_btnNext.click();
        QVERIFY(dlg.m_listSolution.item(1)->text() != before[1]);
        dlg.m_pNotationAction->trigger();
        for (int i = 0; i < before.size(); ++i)
            QCOMPARE(dlg.m_listSolution.item(i)->text(), before[i]);
    }

    // Pause stops after the move under way; Previous and Next work on.
    void pauseStopsAfterTheCurrentMove()
    {
        CZelvorsCubeDlg dlg;
        const CString strEntered = Solved(dlg, true);
        int nStepSeen = -2;
        dlg.m_pPlayAction->trigger();
        QVERIFY(dlg.IsPlaying());
        QCOMPARE(dlg.m_pPlayAction->text(), QString("Pause\tSpace"));
        // Pressed while the first played move is being animated.
        bool bPlayEnabled = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &dlg, [&] {
            if (!dlg.IsBusy() || nStepSeen != -2)
                return;
            nStepSeen = dlg.m_nStep;
            bPlayEnabled = dlg.m_pPlayAction->isEnabled();
            dlg.m_pPlayAction->trigger();
        });
        poll.start(1);
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsPlaying() && !dlg.IsBusy(), 10000);
        QCOMPARE(nStepSeen, 1);
        QVERIFY(bPlayEnabled);
        QCOMPARE(dlg.m_nStep, 1);
        QCOMPARE(FormatCube(dlg.m_cube), AfterMoves(strEntered, dlg.m_arrMoves, 1));
        QCOMPARE(dlg.m_pPlayAction->text(), QString("Play\tSpace"));
        QCOMPARE(dlg.m_cube.MarkerMove(), dlg.m_arrMoves[2]);
        QTest::qWait(300); // nothing more is played
        QCOMPARE(dlg.m_nStep, 1);

        dlg.m_btnNext.click();
        QCOMPARE(dlg.m_nStep, 2);
        dlg.m_btnPrevious.click();
        QCOMPARE(dlg.m_nStep, 1);
        QCOMPARE(FormatCube(dlg.m_cube), AfterMoves(strEntered, dlg.m_arrMoves, 1));
    }

    // A click in the list while a move runs (the list disabled) stops the
    // play after that move and travels nowhere.
    void listClickDuringAMoveStops()
    {
        CZelvorsCubeDlg dlg;
        const CString strEntered = Solved(dlg, true);
        dlg.m_pPlayAction->trigger();
        bool bClicked = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &dlg, [&] {
            if (!dlg.IsBusy() || bClicked)
                return;
            bClicked = true;
            ClickLine(dlg.m_listSolution, 4);
        });
        poll.start(1);
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsPlaying() && !dlg.IsBusy(), 10000);
        QVERIFY(bClicked);
        QCOMPARE(dlg.m_nStep, 1);
        QCOMPARE(FormatCube(dlg.m_cube), AfterMoves(strEntered, dlg.m_arrMoves, 1));
    }

    // Space on the list plays and pauses; a click elsewhere in the list stops
    // the play and goes to its line.
    void spaceAndListClick()
    {
        CZelvorsCubeDlg dlg;
        const CString strEntered = Solved(dlg, false);
        dlg.m_sliderSpeed.setValue(18); // 5 moves/s: room for the keys between moves
        dlg.m_listSolution.setFocus();
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_Space);
        QVERIFY(dlg.IsPlaying());
        QTRY_VERIFY(dlg.m_nStep >= 1);
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_Space);
        QVERIFY(!dlg.IsPlaying());
        const int nStopped = dlg.m_nStep;
        QTest::qWait(400);
        QCOMPARE(dlg.m_nStep, nStopped);

        QTest::keyClick(&dlg.m_listSolution, Qt::Key_Space);
        QVERIFY(dlg.IsPlaying());
        QTRY_VERIFY(dlg.m_nStep > nStopped);
        ClickLine(dlg.m_listSolution, 0);
        QTRY_VERIFY(!dlg.IsPlaying() && !dlg.IsBusy());
        QCOMPARE(dlg.m_nStep, 0);
        QCOMPARE(FormatCube(dlg.m_cube), strEntered);
        QCOMPARE(dlg.m_cube.MarkerMove(), dlg.m_arrMoves[1]);
    }

    // A whole solution played through, animated: the cube ends solved and
    // the marker gone; the pace was shown meanwhile.
    void playThroughEndsSolved()
    {
        CZelvorsCubeDlg dlg;
        Solved(dlg, true);
        dlg.m_sliderSpeed.setValue(0); // as fast as the view draws
        const int nMoves = dlg.m_listSolution.count() - 1;
        bool bPaceShown = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &dlg, [&] {
            bPaceShown = bPaceShown || dlg.m_staticNext.text().contains(" moves/s");
        });
        watch.start(20);
        dlg.m_pPlayAction->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsPlaying(), 120000);
        QTRY_VERIFY(!dlg.IsBusy());
        QCOMPARE(dlg.m_nStep, nMoves);
        QCOMPARE(dlg.m_listSolution.currentRow(), nMoves);
        QVERIFY(dlg.m_cube.IsSolved());
        QVERIFY(dlg.m_cube.MarkerMove().empty());
        QVERIFY(bPaceShown);
        QCOMPARE(dlg.m_staticNext.text(), QString("All %1 moves done").arg(nMoves));
        QVERIFY(!dlg.m_pPlayAction->isEnabled());
    }

    // Another command stops a play between moves.
    void commandsStopAPlay()
    {
        CZelvorsCubeDlg dlg;
        Solved(dlg, false);
        dlg.m_sliderSpeed.setValue(90); // one move a second
        dlg.m_pPlayAction->trigger();
        QTRY_VERIFY(dlg.m_nStep == 1 && !dlg.IsBusy());
        dlg.m_btnReset.click();
        QVERIFY(!dlg.IsPlaying());
        QVERIFY(dlg.m_cube.MarkerMove().empty());
        QTest::qWait(1200);
        QCOMPARE(dlg.m_listSolution.count(), 0);
        QVERIFY(dlg.m_cube.IsSolved());
    }
    // A change of the user's during Play (a Side key, painting keys in the
    // net) stops the play and clears the list: no line says the cube is
    // done, and Copy Solution has nothing to copy.
    void changeDuringPlayClearsTheSolution_data()
    {
        QTest::addColumn<bool>("bAnimate");
        QTest::addColumn<bool>("bPaint");
        QTest::newRow("Alt+R, 3D, animated") << true << false;
        QTest::newRow("Alt+R, 3D, not animated") << false << false;
        QTest::newRow("three w keys in the net") << false << true;
        QTest::newRow("three w keys in the net, animated") << true << true;
    }

    void changeDuringPlayClearsTheSolution()
    {
        QFETCH(bool, bAnimate);
        QFETCH(bool, bPaint);
        CZelvorsCubeDlg dlg;
        Solved(dlg, bAnimate);
        if (bPaint)
            dlg.m_check3D.click(); // the net
        QCOMPARE(dlg.m_cube.m_b2DView, bPaint);
        QVERIFY(dlg.m_listSolution.count() > 5);
        dlg.m_pPlayAction->trigger();
        QVERIFY(dlg.IsPlaying());
        // Once two moves are done, between moves or during one.
        QTRY_VERIFY(dlg.m_nStep >= 2);
        if (bPaint) {
            QTRY_VERIFY(!dlg.IsBusy());
            dlg.m_cube.setFocus();
            QTest::keyClicks(&dlg.m_cube, "www");
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
        }
        QTRY_VERIFY(!dlg.IsPlaying() && !dlg.IsBusy() && !dlg.m_cube.TurnsUnderWay());
        QTest::qWait(200);
        QCOMPARE(dlg.m_listSolution.count(), 0);
        QVERIFY(dlg.m_arrMoves.empty());
        QVERIFY(!dlg.m_staticNext.text().contains("done"));
        QVERIFY(dlg.m_cube.MarkerMove().empty());
        QGuiApplication::clipboard()->setText("kept");
        dlg.Edit().m_pCopySolutionAction->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
    }
};

QTEST_MAIN(TestFollow)
#include "test_follow.moc"
