// Entering a cube through the real dialog: what a failed solve tells and
// marks, the colour census, painting from the keyboard, undo and redo of
// every change, the fill of determined facelets and the clipboard.
// With ZELVORS_SHOTS set to a folder, pictures of the main cases are saved there.

#include "ColorCensus.h"
#include "CubeFormats.h"
#include "EditCommands.h"
#include "MessageBox.h"
#include "NetCursor.h"
#include "TestCube.h"
#include "ZelvorsCubeDlg.h"

#include <QClipboard>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QWindow>

#include <cstring>
#include <vector>

namespace {

struct Box {
    QString text;
    QString caption;
};

QString FaceletText(const CCubeSolver& cube)
{
    return QString::fromStdString(FormatCube(cube));
}

const QString kSolvedString = QStringLiteral("111111111222222222333333333444444444555555555666666666");

// The colour index a facelet index 0..53 has in the view.
BYTE At(const CCubeWnd& cube, int nIndex)
{
    return cube.m_pFace[nIndex / 9]->colors[nIndex % 9];
}

// The centre of a facelet of the net, in view coordinates.
QPoint FaceletPoint(const CCubeWnd& cube, int nIndex)
{
    const NetLayout layout = cube.Layout();
    const Rect& rc = layout.rcFace[nIndex / 9];
    const int c = layout.nCell;
    return QPoint(rc.left + nIndex % 3 * c + c / 2, rc.top + nIndex % 9 / 3 * c + c / 2);
}

void SaveShot(CZelvorsCubeDlg& dlg, const char* pszName)
{
    if (!qEnvironmentVariableIsSet("ZELVORS_SHOTS"))
        return;
    dlg.Edit().UpdateCensus();
    QTest::qWait(200);
    dlg.m_cube.Repaint();
    // The screen's own picture: the view's native OpenGL surface included.
    const QPixmap shot = dlg.screen()->grabWindow(dlg.winId());
    shot.save(qEnvironmentVariable("ZELVORS_SHOTS") + "/" + pszName + ".png");
}

} // namespace

class TestEntry : public QObject {
    Q_OBJECT

private:
    std::vector<Box> m_boxes;

    // A shown dialog in the net view with animation off, so that commands
    // run at once.
    void Ready(CZelvorsCubeDlg& dlg, bool b2D = true)
    {
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTRY_VERIFY(!dlg.m_cube.GrabFrame().isNull());
        dlg.m_checkAnimate.click();
        QVERIFY(!dlg.m_cube.m_bAnimate);
        dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        if (b2D)
            dlg.m_check3D.click();
        QCOMPARE(dlg.m_cube.m_b2DView, b2D);
    }

    void Load(CZelvorsCubeDlg& dlg, const QString& strText)
    {
        LoadText(dlg.m_cube, strText.toStdString());
        dlg.m_cube.Repaint();
    }

private slots:
    void init()
    {
        m_boxes.clear();
        SetMessageBoxHandler([this](QWidget*, const QString& strText, const QString& strCaption,
                                    QMessageBox::Icon, QMessageBox::StandardButtons) {
            m_boxes.push_back({strText, strCaption});
            return QMessageBox::Ok;
        });
    }
    void cleanup() { SetMessageBoxHandler({}); }

    // ------------------------------------------------------------ a failed solve

    void failedSolveTellsAndMarks_data()
    {
        QTest::addColumn<int>("nCase");
        QTest::addColumn<QString>("strCaption");
        QTest::addColumn<QString>("strSaid");
        QTest::addColumn<QList<int>>("marked");
        QTest::newRow("one flipped edge") << 0 << "Unable To Solve Cube" << "One edge is flipped" << QList<int>{};
        // Facelet 9 (front, top left) painted white where blue belongs.
        QTest::newRow("one sticker painted wrong")
            << 1 << "Configuration Error" << "is painted the wrong colour: it is white and should be blue"
            << QList<int>{9};
        // The front and right centres exchanged.
        QTest::newRow("two centres swapped")
            << 2 << "" << "The front and right centres look swapped" << QList<int>{13, 22};
    }

    void failedSolveTellsAndMarks()
    {
        QFETCH(int, nCase);
        QFETCH(QString, strCaption);
        QFETCH(QString, strSaid);
        QFETCH(QList<int>, marked);
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        CCubeWnd& cube = dlg.m_cube;
        if (nCase == 0)
            FlipEdge(cube, 0);
        else if (nCase == 1)
            cube.m_pFace[CCubeSolver::SLOT_F]->colors[0] = 6;
        else
            std::swap(cube.m_pFace[CCubeSolver::SLOT_F]->colors[4], cube.m_pFace[CCubeSolver::SLOT_R]->colors[4]);
        cube.Repaint();
        const QString strBefore = FaceletText(cube);

        dlg.m_btnSolve.click();
        // The old box, alone, with its caption; then the problems in the panel.
        QCOMPARE(int(m_boxes.size()), 1);
        if (!strCaption.isEmpty())
            QCOMPARE(m_boxes[0].caption, strCaption);
        QVERIFY(m_boxes[0].caption == "Configuration Error" || m_boxes[0].caption == "Unable To Solve Cube");
        QLabel* pPanel = dlg.Edit().ProblemsPanel();
        QVERIFY(pPanel->isVisible());
        QCOMPARE(pPanel->geometry(), dlg.m_listSolution.geometry());
        QVERIFY2(dlg.Edit().LastProblems().contains(strSaid), qPrintable(dlg.Edit().LastProblems()));
        QCOMPARE(FaceletText(cube), strBefore);
        for (int n : marked)
            QVERIFY2(std::count(cube.MarkedFacelets().begin(), cube.MarkedFacelets().end(), n) == 1,
                     qPrintable(QString::number(n)));
        if (marked.isEmpty())
            QVERIFY(cube.MarkedFacelets().empty());

        // A cross through the middle of each marked facelet in the net.
        const QImage net = cube.GrabFrame();
        for (int n : marked) {
            const QPoint pt = FaceletPoint(cube, n) * net.devicePixelRatio();
            QCOMPARE(QColor(net.pixel(pt)), QColor(Qt::black));
        }
        SaveShot(dlg, nCase == 0 ? "told-flipped-edge" : nCase == 1 ? "told-wrong-sticker" : "told-centres-swapped");
        if (!marked.isEmpty() && cube.HasContext()) {
            // Also on the 3D cube, where the facelet is in sight.
            dlg.m_check3D.click();
            const QImage plain = [&] {
                const std::vector<int> keep = cube.MarkedFacelets();
                cube.MarkFacelets({});
                const QImage image = cube.GrabFrame();
                cube.MarkFacelets(keep);
                return image;
            }();
            QVERIFY(cube.GrabFrame() != plain);
            SaveShot(dlg, nCase == 1 ? "told-wrong-sticker-3d" : "told-centres-swapped-3d");
            dlg.m_check3D.click();
        }

        // A change that leaves the cube complete and wrong tells it anew at
        // once; one that makes it valid ends both.
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_T, Qt::AltModifier);
        QVERIFY(pPanel->isVisible());
        QVERIFY2(dlg.Edit().LastProblems().contains(strSaid), qPrintable(dlg.Edit().LastProblems()));
        QCOMPARE(cube.MarkedFacelets().empty(), marked.isEmpty());
        dlg.m_btnReset.click();
        QVERIFY(cube.MarkedFacelets().empty());
        QTRY_VERIFY(!pPanel->isVisible());
    }

    void solvedCubeTellsNothing()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        dlg.ShowProblems(CCubeSolver::SOLVE_OK);
        dlg.m_btnShuffle.click();
        dlg.m_btnSolve.click();
        QVERIFY(m_boxes.empty());
        QVERIFY(!dlg.Edit().ProblemsPanel()->isVisible());
        QVERIFY(dlg.m_cube.MarkedFacelets().empty());
    }

    // ------------------------------------------------------------ census

    void censusFollowsThePainting()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        CColorCensus* pCensus = dlg.Edit().Census();
        QVERIFY(pCensus->isVisible());
        // Beside the swatches: below the last, left of the list.
        QVERIFY(pCensus->geometry().top() > dlg.m_palette[5].geometry().bottom());
        QVERIFY(pCensus->geometry().right() < dlg.m_listSolution.geometry().left());
        QCOMPARE(pCensus->Verdict(), CColorCensus::VALID);
        QCOMPARE(pCensus->Text(), QString("9/9\n9/9\n9/9\n9/9\n9/9\n9/9\nValid"));

        // Red painted over a yellow facelet: red 10, yellow 8, not valid.
        QTest::mouseClick(&dlg.m_palette[0], Qt::LeftButton);
        QTest::mouseClick(&dlg.m_cube, Qt::LeftButton, Qt::NoModifier, FaceletPoint(dlg.m_cube, 0));
        QTRY_COMPARE(pCensus->Count(3), 10);
        QCOMPARE(pCensus->Count(1), 8);
        QCOMPARE(pCensus->Verdict(), CColorCensus::INVALID);
        QVERIFY(pCensus->Text().startsWith("10/9\n"));

        dlg.m_btnClear.click();
        QTRY_COMPARE(pCensus->Count(0), 48);
        QCOMPARE(pCensus->Verdict(), CColorCensus::INCOMPLETE);
        QVERIFY(pCensus->Text().endsWith("48 blank"));

        // The census follows the swatches when the dialog grows.
        const QRect rcBefore = pCensus->geometry();
        dlg.resize(dlg.width() + 100, dlg.height() + 60);
        QTRY_COMPARE(pCensus->geometry().left(), rcBefore.left() + 100);
    }

    // ------------------------------------------------------------ keyboard painting

    void cursorMovesAsTheNetLies()
    {
        using C = CCubeSolver;
        auto at = [](int nSlot, int nRow, int nCol) { return NetCursor{nSlot, nRow, nCol}; };
        // Up from the front's top row into the top face's bottom row, and back.
        QCOMPARE(MoveNetCursor(at(C::SLOT_F, 0, 1), 0, -1), at(C::SLOT_T, 2, 1));
        QCOMPARE(MoveNetCursor(at(C::SLOT_T, 2, 1), 0, 1), at(C::SLOT_F, 0, 1));
        // Along the band L F R B, round from B to L and back.
        QCOMPARE(MoveNetCursor(at(C::SLOT_F, 1, 2), 1, 0), at(C::SLOT_R, 1, 0));
        QCOMPARE(MoveNetCursor(at(C::SLOT_B, 2, 2), 1, 0), at(C::SLOT_L, 2, 0));
        QCOMPARE(MoveNetCursor(at(C::SLOT_L, 0, 0), -1, 0), at(C::SLOT_B, 0, 2));
        QCOMPARE(MoveNetCursor(at(C::SLOT_F, 2, 0), 0, 1), at(C::SLOT_D, 0, 0));
        // Nothing lies above L, left of T or below D: the cursor stays.
        QCOMPARE(MoveNetCursor(at(C::SLOT_L, 0, 1), 0, -1), at(C::SLOT_L, 0, 1));
        QCOMPARE(MoveNetCursor(at(C::SLOT_T, 1, 0), -1, 0), at(C::SLOT_T, 1, 0));
        QCOMPARE(MoveNetCursor(at(C::SLOT_D, 2, 2), 0, 1), at(C::SLOT_D, 2, 2));
        // Stepping follows the model's order and wraps both ways.
        QCOMPARE(StepNetCursor(at(C::SLOT_T, 2, 2), 1), at(C::SLOT_F, 0, 0));
        QCOMPARE(StepNetCursor(at(C::SLOT_D, 2, 2), 1), at(C::SLOT_T, 0, 0));
        QCOMPARE(StepNetCursor(at(C::SLOT_T, 0, 0), -1), at(C::SLOT_D, 2, 2));
        for (int n = 0; n < 54; ++n)
            QCOMPARE(NetCursor::FromIndex(n).Index(), n);
    }

    void wholeCubePaintedFromTheKeyboard()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        CCubeWnd& cube = dlg.m_cube;
        dlg.m_btnClear.click();
        // The view takes the focus from the Tab key, as the last control.
        dlg.m_check3D.setFocus();
        QTest::keyClick(&dlg.m_check3D, Qt::Key_Tab);
        QVERIFY(cube.hasFocus());
        QVERIFY(cube.CursorShown());
        QCOMPARE(cube.Cursor().Index(), 0);

        // Every facelet but the centres (which Clear keeps and the cursor
        // skips) typed in order: letters for some faces, the digits of the
        // 54-digit format for the others (1 yellow ... 6 white).
        const char* const kKeys[6] = {"yyyyyyyy", "22222222", "rrrrrrrr", "44444444", "gggggggg", "66666666"};
        for (const char* pszFace : kKeys)
            QTest::keyClicks(&cube, QString::fromLatin1(pszFace));
        QCOMPARE(FaceletText(cube), kSolvedString);
        QCOMPARE(cube.Cursor().Index(), 0);
        SaveShot(dlg, "painted-from-keyboard");

        // Arrows move without painting, across a centre; Shift+arrow onto it.
        QTest::keyClick(&cube, Qt::Key_Down);
        QCOMPARE(cube.Cursor().Index(), 3);
        QTest::keyClick(&cube, Qt::Key_Right);
        QCOMPARE(cube.Cursor().Index(), 5);
        QTest::keyClick(&cube, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(cube.Cursor().Index(), 4);
        QCOMPARE(FaceletText(cube), kSolvedString);
        // Delete blanks and moves on; Backspace takes back the one before
        // (past the centre).
        QTest::keyClick(&cube, Qt::Key_Delete);
        QCOMPARE(At(cube, 4), BYTE(0));
        QCOMPARE(cube.Cursor().Index(), 5);
        QTest::keyClick(&cube, Qt::Key_Backspace);
        QCOMPARE(At(cube, 3), BYTE(0));
        QCOMPARE(cube.Cursor().Index(), 3);
        QTest::keyClick(&cube, Qt::Key_B);
        QCOMPARE(At(cube, 3), BYTE(2));
        QCOMPARE(cube.Cursor().Index(), 5);
        // Undoing a paint brings the cursor back to its facelet.
        QTest::keyClick(&cube, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(At(cube, 3), BYTE(0));
        QCOMPARE(cube.Cursor().Index(), 3);
        QTest::keyClick(&cube, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(At(cube, 3), BYTE(2));
        QTest::keyClick(&cube, Qt::Key_Right);

        // Shift+B still turns the back face; the letter alone paints.
        const QString strBefore = FaceletText(cube);
        QTest::keyClick(&cube, Qt::Key_B, Qt::ShiftModifier);
        QVERIFY(FaceletText(cube) != strBefore);
        QCOMPARE(cube.Cursor().Index(), 5);
        // Esc still asks about leaving.
        QTest::keyClick(&cube, Qt::Key_Escape);
        QCOMPARE(int(m_boxes.size()), 1);
        QCOMPARE(m_boxes[0].caption, QString("Exit!"));
        QVERIFY(dlg.isVisible());

        // In the 3D view the keys paint nothing and no cursor is drawn.
        dlg.m_check3D.click();
        cube.setFocus();
        const QString strNow = FaceletText(cube);
        QTest::keyClicks(&cube, "123yw");
        QCOMPARE(FaceletText(cube), strNow);
        QVERIFY(!cube.CursorShown());
    }

    // Once every facelet is painted, the panel and the census say what is
    // wrong at once, without Solve and without a box; it clears the moment
    // the cube is valid or a facelet is blank again.
    void liveDiagnosisWhilePainting()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        CCubeWnd& cube = dlg.m_cube;
        CColorCensus* pCensus = dlg.Edit().Census();
        QLabel* pPanel = dlg.Edit().ProblemsPanel();
        dlg.m_btnClear.click();
        cube.setFocus();
        QVERIFY(cube.CursorShown());
        QCOMPARE(pCensus->CursorFace(), 'T');
        // The digits 1-6 are the 54-digit format's; the last facelet typed
        // wrong (yellow on the down face).
        for (char chDigit = '1'; chDigit <= '6'; ++chDigit)
            QTest::keyClicks(&cube, QString(chDigit == '6' ? 7 : 8, QLatin1Char(chDigit)));
        QCOMPARE(pCensus->CursorFace(), 'D');
        QCOMPARE(pCensus->Verdict(), CColorCensus::INCOMPLETE);
        QVERIFY(!pPanel->isVisible());
        QTest::keyClick(&cube, Qt::Key_1);
        QCOMPARE(FaceletText(cube), kSolvedString.left(53) + QLatin1Char('1'));
        QCOMPARE(pCensus->Verdict(), CColorCensus::INVALID);
        QVERIFY(pPanel->isVisible());
        QVERIFY(!dlg.Edit().LastProblems().isEmpty());
        const QString strFirst = dlg.Edit().LastProblems().section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(pCensus->toolTip().endsWith(strFirst), qPrintable(pCensus->toolTip()));
        QVERIFY(std::count(cube.MarkedFacelets().begin(), cube.MarkedFacelets().end(), 53) == 1);
        QVERIFY(m_boxes.empty());
        // Blank again: incomplete, nothing told.
        QTest::keyClick(&cube, Qt::Key_Backspace);
        QCOMPARE(pCensus->Verdict(), CColorCensus::INCOMPLETE);
        QVERIFY(!pPanel->isVisible());
        QVERIFY(!pCensus->toolTip().contains(strFirst));
        // The right colour: valid, nothing told.
        QTest::keyClick(&cube, Qt::Key_6);
        QCOMPARE(FaceletText(cube), kSolvedString);
        QCOMPARE(pCensus->Verdict(), CColorCensus::VALID);
        QVERIFY(!pPanel->isVisible());
        QVERIFY(cube.MarkedFacelets().empty());
        // Away from the view, the census names no face.
        dlg.m_listSolution.setFocus();
        QCOMPARE(pCensus->CursorFace(), '\0');
        QVERIFY(!pCensus->Text().contains(QStringLiteral("Cursor")));
    }

    // With the option off the cursor stops on centres, as it steps and moves.
    void cursorOnCentresWhenTheOptionIsOff()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        CCubeWnd& cube = dlg.m_cube;
        QVERIFY(dlg.Edit().m_pSkipCentresAction->isChecked());
        dlg.Edit().m_pSkipCentresAction->setChecked(false);
        cube.setFocus();
        QTest::keyClick(&cube, Qt::Key_Down);
        QTest::keyClick(&cube, Qt::Key_Right);
        QCOMPARE(cube.Cursor().Index(), 4);
        QTest::keyClick(&cube, Qt::Key_Left);
        QTest::keyClick(&cube, Qt::Key_3);
        QCOMPARE(At(cube, 3), BYTE(3));
        QCOMPARE(cube.Cursor().Index(), 4);
        QTest::keyClick(&cube, Qt::Key_Delete);
        QCOMPARE(At(cube, 4), BYTE(0));
        QCOMPARE(cube.Cursor().Index(), 5);
    }

    void clickMovesTheCursorAndFocusesTheView()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        CCubeWnd& cube = dlg.m_cube;
        QWindow* pSurface = cube.m_hDC;
        if (!pSurface)
            QSKIP("no OpenGL surface");
        QTest::mouseClick(pSurface, Qt::LeftButton, Qt::NoModifier, FaceletPoint(cube, 23));
        QVERIFY(cube.hasFocus());
        QCOMPARE(cube.Cursor().Index(), 23);
        // The cursor shows in the net: its frame is black inside the facelet.
        const QImage net = cube.GrabFrame();
        const QPoint pt = FaceletPoint(cube, 23);
        const int c = cube.Layout().nCell;
        bool bBlack = false;
        for (int dx = 0; dx < c / 2 && !bBlack; ++dx)
            bBlack = QColor(net.pixel((pt - QPoint(dx, 0)) * net.devicePixelRatio())) == QColor(Qt::black);
        QVERIFY(bBlack);
    }

    // ------------------------------------------------------------ turns typed quickly

    // Side keys (or Shift/Ctrl clicks in the net) sent 20 ms apart, most of
    // them while the first turn's frames run: every one is performed, in
    // order, each its own undo step; Solve clicked among them solves the cube
    // after the turns asked for before it.
    void quickTurnsAreAllPerformed_data()
    {
        QTest::addColumn<bool>("b3D");
        QTest::addColumn<bool>("bAnimate");
        QTest::addColumn<bool>("bMouse");
        QTest::addColumn<bool>("bSolve");
        QTest::newRow("3D, animated") << true << true << false << false;
        QTest::newRow("3D, not animated") << true << false << false << false;
        QTest::newRow("net, animated") << false << true << false << false;
        QTest::newRow("net, not animated") << false << false << false << false;
        QTest::newRow("net clicks, animated") << false << true << true << false;
        QTest::newRow("3D, animated, then Solve") << true << true << false << true;
        QTest::newRow("net, animated, then Solve") << false << true << false << true;
    }

    void quickTurnsAreAllPerformed()
    {
        QFETCH(bool, b3D);
        QFETCH(bool, bAnimate);
        QFETCH(bool, bMouse);
        QFETCH(bool, bSolve);
        CZelvorsCubeDlg dlg;
        Ready(dlg, !b3D);
        if (bAnimate)
            dlg.m_checkAnimate.click();
        QCOMPARE(dlg.m_cube.m_bAnimate, bAnimate);
        CCubeWnd& cube = dlg.m_cube;
        const int nStepsBefore = dlg.Edit().UndoStack().count();

        // Key, modifier, and the same turn in the model's notation.
        struct Turn {
            Qt::Key key;
            Qt::KeyboardModifier mod;
            const char* move;
        };
        const std::vector<Turn> keys = {
            {Qt::Key_R, Qt::AltModifier, "R+."},     {Qt::Key_T, Qt::AltModifier, "T+."},
            {Qt::Key_F, Qt::ControlModifier, "F-."}, {Qt::Key_L, Qt::ShiftModifier, "L*."},
            {Qt::Key_D, Qt::AltModifier, "D+."},     {Qt::Key_B, Qt::ControlModifier, "B-."},
        };
        // The mouse turns the face under the pointer: Shift clockwise, Ctrl not.
        const std::vector<std::pair<char, Qt::KeyboardModifier>> clicks = {
            {'R', Qt::ShiftModifier}, {'T', Qt::ShiftModifier}, {'F', Qt::ControlModifier},
            {'L', Qt::ShiftModifier}, {'D', Qt::ShiftModifier}, {'B', Qt::ControlModifier},
        };
        CCubeSolver want;
        LoadText(want, FaceletText(cube).toStdString());
        int nSent = 0;
        const int nTurns = bMouse ? int(clicks.size()) : int(keys.size());
        for (int i = 0; i < nTurns; ++i) {
            if (bMouse)
                want.ExecuteMoves(std::string(1, clicks[i].first) + (clicks[i].second == Qt::ShiftModifier ? "+." : "-."));
            else
                want.ExecuteMoves(keys[i].move);
            QTimer::singleShot(20 * i, &dlg, [&, i] {
                if (bMouse) {
                    const int nSlot = CCubeSolver::SlotOf(clicks[i].first);
                    QTest::mouseClick(&cube, Qt::LeftButton, clicks[i].second, FaceletPoint(cube, nSlot * 9 + 4));
                } else {
                    // To the focus, as a typed key goes.
                    QTest::keyClick(QApplication::focusWidget(), keys[i].key, keys[i].mod);
                }
                ++nSent;
            });
        }
        if (bSolve)
            QTimer::singleShot(20 * nTurns, &dlg, [&] { dlg.m_btnSolve.click(); });
        QTRY_COMPARE_WITH_TIMEOUT(nSent, nTurns, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!cube.TurnsUnderWay() && !dlg.IsBusy(), 20000);
        if (bSolve)
            QTRY_VERIFY(dlg.m_listSolution.count() > 1);
        QCOMPARE(FaceletText(cube), FaceletText(want));
        QVERIFY(m_boxes.empty());
        // One undo step a turn; the cubies where the facelets are.
        QCOMPARE(dlg.Edit().UndoStack().count(), nStepsBefore + nTurns);
        cube.Repaint();
        QVERIFY(cube.m_cubies.MatchesFacelets(cube.m_pFace));
        if (bSolve)
            QVERIFY(MovesSolve(FaceletText(want).toStdString(), dlg.m_arrMoves));
    }

    // ------------------------------------------------------------ changes announced

    // Every change of the user's is announced once, with the colours from
    // before; the solver's work and the steps through a solution are not.
    void userChangesAreAnnouncedOnce()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        CCubeWnd& cube = dlg.m_cube;
        QSignalSpy spy(&cube, &CCubeWnd::ColorsChanged);
        QString strBefore = FaceletText(cube);
        auto announced = [&](const char* pszWhat) {
            QVERIFY2(spy.count() == 1, pszWhat);
            const Facelets before = spy.takeFirst().at(0).value<Facelets>();
            QString strFrom;
            for (BYTE c : before)
                strFrom += QChar('0' + c);
            QCOMPARE(strFrom, strBefore);
            QVERIFY2(FaceletText(cube) != strBefore, pszWhat);
            strBefore = FaceletText(cube);
        };
        QTest::mouseClick(&dlg.m_palette[2], Qt::LeftButton);
        QTest::mouseClick(&cube, Qt::LeftButton, Qt::NoModifier, FaceletPoint(cube, 0));
        announced("mouse paint");
        QTest::mouseClick(&cube, Qt::LeftButton, Qt::NoModifier, FaceletPoint(cube, 0));
        QCOMPARE(spy.count(), 0); // the same colour again changes nothing
        QTest::mouseClick(&cube, Qt::LeftButton, Qt::ShiftModifier, FaceletPoint(cube, 10));
        announced("mouse turn");
        cube.setFocus();
        QTest::keyClick(&cube, Qt::Key_R);
        announced("key paint");
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_R, Qt::ShiftModifier);
        announced("half turn by key");
        dlg.m_btnReset.click();
        announced("Reset");
        dlg.m_btnShuffle.click();
        announced("Shuffle");
        dlg.m_btnSolve.click();
        dlg.m_btnNext.click();
        dlg.m_btnNext.click();
        dlg.m_btnPrevious.click();
        dlg.m_listSolution.setCurrentRow(dlg.m_listSolution.count() - 1);
        QVERIFY(cube.IsSolved());
        dlg.m_listSolution.setCurrentRow(1);
        QCOMPARE(spy.count(), 0);
        strBefore = FaceletText(cube);
        dlg.Edit().m_pUndoAction->trigger();
        announced("Undo");
        dlg.m_btnClear.click();
        announced("Clear");
        QGuiApplication::clipboard()->setText("R U");
        dlg.Edit().m_pPasteCubeAction->trigger();
        announced("Paste");
    }

    // The Edit menu's keys are the platform's, with Ctrl+Y for redo too,
    // and its texts stay put whatever the step is.
    void editMenuTakesTheStandardKeys()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        CEditCommands& edit = dlg.Edit();
        QCOMPARE(edit.m_pUndoAction->shortcuts(), QKeySequence::keyBindings(QKeySequence::Undo));
        for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Redo))
            QVERIFY(edit.m_pRedoAction->shortcuts().contains(key));
        QVERIFY(edit.m_pRedoAction->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
        QCOMPARE(edit.m_pCopyCubeAction->shortcuts(), QKeySequence::keyBindings(QKeySequence::Copy));
        QCOMPARE(edit.m_pPasteCubeAction->shortcuts(), QKeySequence::keyBindings(QKeySequence::Paste));
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_R, Qt::AltModifier);
        QVERIFY(edit.m_pUndoAction->isEnabled());
        QCOMPARE(edit.m_pUndoAction->text(), QString("&Undo"));
        // One key, one step back: not also the stack's own trigger.
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_R, Qt::AltModifier);
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit.UndoStack().index(), 1);
        QCOMPARE(edit.m_pRedoAction->text(), QString("&Redo"));
    }

    // ------------------------------------------------------------ undo and redo

    void everyChangeIsUndone()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        CCubeWnd& cube = dlg.m_cube;
        QUndoStack& stack = dlg.Edit().UndoStack();
        QVERIFY(!dlg.Edit().m_pUndoAction->isEnabled());
        QStringList states{FaceletText(cube)};
        auto changed = [&](const char* pszWhat) {
            QTRY_COMPARE(stack.count(), states.size());
            QVERIFY2(FaceletText(cube) != states.last(), pszWhat);
            states << FaceletText(cube);
        };

        QTest::mouseClick(&dlg.m_palette[2], Qt::LeftButton); // green
        QTest::mouseClick(&cube, Qt::LeftButton, Qt::NoModifier, FaceletPoint(cube, 0));
        changed("mouse paint");
        QTest::mouseClick(&cube, Qt::LeftButton, Qt::ShiftModifier, FaceletPoint(cube, 10));
        changed("mouse turn");
        cube.setFocus();
        QTest::keyClick(&cube, Qt::Key_W);
        changed("key paint");
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_R, Qt::AltModifier);
        changed("Side key");
        dlg.m_btnReset.click();
        changed("Reset");
        dlg.m_btnShuffle.click();
        changed("Shuffle");
        dlg.m_btnClear.click();
        changed("Clear");
        QGuiApplication::clipboard()->setText("R U R' U'");
        dlg.Edit().m_pPasteCubeAction->trigger();
        changed("Paste");
        QVERIFY(m_boxes.empty());

        // Ctrl+Z back through every state, then both redo keys forward.
        for (int n = states.size() - 2; n >= 0; --n) {
            QTest::keyClick(&dlg.m_listSolution, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(FaceletText(cube), states[n]);
        }
        QVERIFY(!dlg.Edit().m_pUndoAction->isEnabled());
        SaveShot(dlg, "undone-to-start");
        for (int n = 1; n < states.size(); ++n) {
            QTest::keyClick(&dlg.m_listSolution, n % 2 ? Qt::Key_Y : Qt::Key_Z,
                            n % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(FaceletText(cube), states[n]);
        }
        // The cubies follow the undone colours too.
        dlg.Edit().m_pUndoAction->trigger();
        cube.Repaint();
        QVERIFY(cube.m_cubies.MatchesFacelets(cube.m_pFace));
    }

    void undoClearsTheListedSolution()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        dlg.m_btnShuffle.click();
        const QString strShuffled = FaceletText(dlg.m_cube);
        dlg.m_btnSolve.click();
        QVERIFY(dlg.m_listSolution.count() > 1);
        dlg.m_btnNext.click();
        dlg.m_btnNext.click();
        // Moves played from the list are no steps of their own: undo goes back
        // to the cube before Shuffle, and the list is cleared.
        dlg.Edit().m_pUndoAction->trigger();
        QCOMPARE(FaceletText(dlg.m_cube), kSolvedString);
        QCOMPARE(dlg.m_listSolution.count(), 0);
        QCOMPARE(dlg.m_staticMoves.text(), QString("Moves"));
        dlg.Edit().m_pRedoAction->trigger();
        QCOMPARE(FaceletText(dlg.m_cube), strShuffled);
    }

    // ------------------------------------------------------------ fill

    void fillTellsHowManyItFilled()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        CCubeWnd& cube = dlg.m_cube;
        dlg.m_btnShuffle.click();
        const QString strFull = FaceletText(cube);
        // A whole corner and one sticker of an edge left blank.
        for (const FaceletPos& pos : g_cornerTable[0])
            Facelet(cube, pos.letter, pos.row, pos.col) = 0;
        Facelet(cube, g_edgeTable[5][1].letter, g_edgeTable[5][1].row, g_edgeTable[5][1].col) = 0;
        cube.Repaint();
        const QString strBlanked = FaceletText(cube);
        const int nBefore = dlg.Edit().UndoStack().count();
        dlg.Edit().m_pFillAction->trigger();
        QCOMPARE(FaceletText(cube), strFull);
        QCOMPARE(int(m_boxes.size()), 1);
        QCOMPARE(m_boxes[0].caption, QString("Fill What Is Determined"));
        QCOMPARE(m_boxes[0].text, QString("Filled 4 facelets that the painted ones determine."));
        QCOMPARE(dlg.Edit().UndoStack().count(), nBefore + 1);
        dlg.Edit().m_pUndoAction->trigger();
        QCOMPARE(FaceletText(cube), strBlanked);

        // Nothing to fill on a full cube; a contradiction fills nothing.
        dlg.m_btnReset.click();
        dlg.Edit().m_pFillAction->trigger();
        QVERIFY(m_boxes.back().text.startsWith("No blank facelet"));
        cube.m_pFace[0]->colors[0] = 2;
        cube.m_pFace[0]->colors[1] = 0;
        const QString strBad = FaceletText(cube);
        dlg.Edit().m_pFillAction->trigger();
        QVERIFY(m_boxes.back().text.contains("contradict"));
        QCOMPARE(FaceletText(cube), strBad);
    }

    // ------------------------------------------------------------ clipboard

    void copyCubeWritesBothFormats()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 kSolvedString + "\nUUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB");
        // A cube with blanks has no facelet string: the digits alone.
        dlg.m_btnClear.click();
        dlg.Edit().m_pCopyCubeAction->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), FaceletText(dlg.m_cube));
        QVERIFY(m_boxes.empty());
    }

    void pasteTakesEveryFormat_data()
    {
        QTest::addColumn<QString>("strText");
        QTest::addColumn<QString>("strMoves"); // the pasted cube: the solved cube after these
        QTest::newRow("digits") << "  D" << "";
        QTest::newRow("facelet string") << "F" << "";
        QTest::newRow("both lines of Copy Cube") << "DF" << "";
        QTest::newRow("scramble") << "R U R' U2 B' x2" << "R+.T+.R-.T*.B-.C^.C^.";
        QTest::newRow("scramble without spaces") << "RUR'U'" << "R+.T+.R-.T-.";
        QTest::newRow("slice, wide, brackets, comment")
            << "M2 r' (U)2 [R: F] // a note" << "R*.L*.C^.C^.L-.Cv.T+.T+.R+.F+.R-.";
    }

    void pasteTakesEveryFormat()
    {
        QFETCH(QString, strText);
        QFETCH(QString, strMoves);
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        // The first three rows paste a fixed scrambled cube in the formats
        // named by their letters: D digits, F facelet string.
        CCubeSolver want;
        want.ExecuteMoves(strMoves.isEmpty() ? "T+.F-.R*.D+.L-." : strMoves.toStdString());
        const QString strDigits = FaceletText(want);
        BYTE colors[54];
        for (int n = 0; n < 54; ++n)
            colors[n] = want.m_pFace[n / 9]->colors[n % 9];
        CString strFacelets, strError;
        QVERIFY(FormatFaceletString(colors, strFacelets, strError));
        QString strPasted = strText;
        if (strMoves.isEmpty()) {
            QStringList lines;
            if (strText.contains('D'))
                lines << "  " + strDigits + " ";
            if (strText.contains('F'))
                lines << QString::fromStdString(strFacelets);
            strPasted = lines.join("\r\n") + "\n";
        }
        QGuiApplication::clipboard()->setText(strPasted);
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_V, Qt::ControlModifier);
        QVERIFY2(m_boxes.empty(), m_boxes.empty() ? "" : qPrintable(m_boxes[0].text));
        QCOMPARE(FaceletText(dlg.m_cube), strDigits);
        QVERIFY(dlg.m_cube.m_cubies.MatchesFacelets(dlg.m_cube.m_pFace));
    }

    void unusableTextLeavesTheCube_data()
    {
        QTest::addColumn<QString>("strText");
        QTest::newRow("prose") << "hello world";
        QTest::newRow("empty") << "";
        QTest::newRow("digits too short") << "1111111112222";
        QTest::newRow("bad move") << "R U Q2";
        QTest::newRow("bad slice move") << "M E S M2 X";
        QTest::newRow("unclosed repeat") << "(R U R' U'";
        QTest::newRow("two different cubes")
            << kSolvedString + "\n111111222222222555333333333444444444666555555111666666";
    }

    void unusableTextLeavesTheCube()
    {
        QFETCH(QString, strText);
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        dlg.m_btnShuffle.click();
        const QString strBefore = FaceletText(dlg.m_cube);
        const int nSteps = dlg.Edit().UndoStack().count();
        QGuiApplication::clipboard()->setText(strText);
        dlg.Edit().m_pPasteCubeAction->trigger();
        QCOMPARE(int(m_boxes.size()), 1);
        QCOMPARE(m_boxes[0].caption, QString("Paste Cube"));
        QVERIFY(m_boxes[0].text.contains("the cube is left as it was"));
        QCOMPARE(FaceletText(dlg.m_cube), strBefore);
        QCOMPARE(dlg.Edit().UndoStack().count(), nSteps);
    }

    // Paste as Inverse sets up the cube that the pasted algorithm solves; a
    // cube or a bad text is refused and changes nothing.
    void pasteAsInverseSetsUpTheCubeItSolves()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        const QString strAlgorithm = "[R, U] M' (F r)2 y";
        QGuiApplication::clipboard()->setText(strAlgorithm);
        dlg.Edit().m_pPasteInverseAction->trigger();
        QVERIFY(m_boxes.empty());
        QVERIFY(!dlg.m_cube.IsSolved());
        CString strModel, strError;
        QVERIFY(ParseStandardMoves(strAlgorithm.toStdString(), strModel, strError));
        CCubeSolver check;
        BYTE colors[54];
        dlg.m_cube.GetColors(colors);
        LoadCube(check, colors);
        check.ExecuteMoves(strModel);
        QVERIFY(check.IsSolved());
        // The algorithm's counts as written: [R, U] 4, M' 2 face turns, (F r)2 4.
        QCOMPARE(dlg.m_staticMoves.toolTip(), QString::fromUtf8("Pasted: 10 HTM \u00B7 10 QTM \u00B7 9 STM"));
        // A change of the user's takes them away.
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(dlg.m_staticMoves.toolTip().isEmpty());
        dlg.Edit().m_pUndoAction->trigger();
        const QString strBefore = FaceletText(dlg.m_cube);
        const int nSteps = dlg.Edit().UndoStack().count();
        for (const QString& strBad : {kSolvedString, QString("R U X")}) {
            m_boxes.clear();
            QGuiApplication::clipboard()->setText(strBad);
            dlg.Edit().m_pPasteInverseAction->trigger();
            QCOMPARE(int(m_boxes.size()), 1);
            QCOMPARE(m_boxes[0].caption, QString("Paste as Inverse"));
            QVERIFY(m_boxes[0].text.contains("the cube is left as it was"));
            QCOMPARE(FaceletText(dlg.m_cube), strBefore);
            QCOMPARE(dlg.Edit().UndoStack().count(), nSteps);
        }
        QVERIFY(m_boxes[0].text.contains("'X' at character 5"));
    }

    void pastedScrambleIsSolvedAndItsSolutionCopied()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        const QString strScramble = "D2 F' R2 U B2 L' D R2 F2 U' L2 B R' U2 F D' L B2 R U'";
        QGuiApplication::clipboard()->setText(strScramble);
        dlg.Edit().m_pPasteCubeAction->trigger();
        QVERIFY(m_boxes.empty());
        SaveShot(dlg, "pasted-scramble");
        dlg.m_btnSolve.click();
        QVERIFY(m_boxes.empty());
        QVERIFY(dlg.m_listSolution.count() > 1);
        // The solution's counts beside its move count, which is unchanged.
        CString strSolved;
        for (const CString& strMove : dlg.m_arrMoves)
            strSolved += strMove;
        const notation::Metrics metrics = notation::CountModelMoves(strSolved);
        QCOMPARE(dlg.m_staticMoves.text(), QString("%1 Moves").arg(dlg.m_listSolution.count() - 1));
        QCOMPARE(metrics.htm, dlg.m_listSolution.count() - 1);
        for (QWidget* p : std::initializer_list<QWidget*>{&dlg.m_staticMoves, &dlg.m_listSolution, &dlg.m_staticNext})
            QCOMPARE(p->toolTip(), QString::fromStdString(notation::FormatMetrics(metrics)));
        dlg.Edit().m_pCopySolutionAction->trigger();
        const QString strSolution = QGuiApplication::clipboard()->text();
        QVERIFY(!strSolution.isEmpty());
        // The scramble followed by the copied solution is the solved cube.
        const CubeTextReading reading = ReadCubeOrMoves((strScramble + " " + strSolution).toStdString());
        QCOMPARE(int(reading.kind), int(CubeTextKind::STANDARD_MOVES));
        CCubeSolver check;
        LoadCube(check, reading.colors);
        QVERIFY(check.IsSolved());
        // Played to its end in the dialog, too.
        dlg.m_listSolution.setCurrentRow(dlg.m_listSolution.count() - 1);
        QVERIFY(dlg.m_cube.IsSolved());
        SaveShot(dlg, "pasted-scramble-solved");

        // Without a listed solution, or with one of no moves, there is
        // nothing to copy: the clipboard keeps its text.
        dlg.m_btnReset.click();
        QGuiApplication::clipboard()->setText("kept");
        dlg.Edit().m_pCopySolutionAction->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
        QCOMPARE(int(m_boxes.size()), 1);
        QCOMPARE(m_boxes.back().caption, QString("Copy Solution"));
        dlg.m_btnSolve.click();
        QCOMPARE(dlg.m_listSolution.count(), 1);
        dlg.Edit().m_pCopySolutionAction->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
        QCOMPARE(int(m_boxes.size()), 2);
    }
};

QTEST_MAIN(TestEntry)
#include "test_entry.moc"
