// The main dialog driven as a user drives it: clicks, keys and the message
// boxes it asks for (answered by the test).

#include "AboutDlg.h"
#include "ColorCensus.h"
#include "EditCommands.h"
#include "ZelvorsCubeApp.h"
#include "ZelvorsCubeDlg.h"
#include "MessageBox.h"
#include "TestCube.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QWindow>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <random>

namespace {

struct Box {
    QString text;
    QString caption;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

QString FaceletText(const CCubeSolver& cube)
{
    return QString::fromStdString(FormatCube(cube));
}

QStringList Lines(const QListWidget& list)
{
    QStringList lines;
    for (int i = 0; i < list.count(); ++i)
        lines << list.item(i)->text();
    return lines;
}

void ClickLine(QListWidget& list, int nLine)
{
    QListWidgetItem* pItem = list.item(nLine);
    const QRect rc = list.visualItemRect(pItem);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, rc.center());
}

} // namespace

class TestDialog : public QObject {
    Q_OBJECT

private:
    std::vector<Box> m_boxes;
    std::deque<QMessageBox::StandardButton> m_answers;
    std::function<void()> m_onBox; // runs while a box is "open"

    // A shown dialog with animation off, so that commands run at once.
    void Quiet(CZelvorsCubeDlg& dlg)
    {
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        // The view's own surface is exposed a little after the dialog.
        QTRY_VERIFY(!dlg.m_cube.GrabFrame().isNull());
        dlg.m_checkAnimate.click();
        QVERIFY(!dlg.m_cube.m_bAnimate);
    }

    // Shuffles and solves, and returns the number of moves.
    int ShuffleAndSolve(CZelvorsCubeDlg& dlg)
    {
        dlg.m_btnShuffle.click();
        dlg.m_btnSolve.click();
        return dlg.m_listSolution.count() - 1;
    }

private slots:
    void init()
    {
        m_boxes.clear();
        m_answers.clear();
        m_onBox = nullptr;
        SetMessageBoxHandler([this](QWidget*, const QString& strText, const QString& strCaption,
                                    QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
            m_boxes.push_back({strText, strCaption, icon, buttons});
            if (m_onBox)
                m_onBox();
            QMessageBox::StandardButton answer = QMessageBox::Ok;
            if (!m_answers.empty()) {
                answer = m_answers.front();
                m_answers.pop_front();
            }
            return answer;
        });
    }
    void cleanup() { SetMessageBoxHandler({}); }

    void startUpState()
    {
        CZelvorsCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.windowTitle(), QString("Zelvors Cube Solver"));
        QVERIFY(!(dlg.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(dlg.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(dlg.m_check3D.isChecked());
        QVERIFY(dlg.m_checkAnimate.isChecked());
        QCOMPARE(dlg.m_checkAnimate.text(), QString("Animate - Speed 3.00 Moves/s"));
        QCOMPARE(dlg.m_sliderSpeed.value(), 30);
        QCOMPARE(dlg.m_sliderSpeed.minimum(), 0);
        QCOMPARE(dlg.m_sliderSpeed.maximum(), 180);
        QCOMPARE(dlg.m_sliderSpeed.pageStep(), 10);
        QCOMPARE(dlg.m_sliderSpeed.tickInterval(), 10);
        QVERIFY(dlg.m_sliderSpeed.isEnabled());
        QCOMPARE(dlg.m_staticMoves.text(), QString("0 Moves"));
        QCOMPARE(dlg.m_listSolution.count(), 0);
        QVERIFY(!dlg.m_btnPrevious.isEnabled());
        QVERIFY(!dlg.m_btnNext.isEnabled());
        QCOMPARE(dlg.m_nStep, -1);
        for (const CColorCtrl& swatch : dlg.m_palette)
            QVERIFY(!swatch.m_bSelected);
        QVERIFY(!dlg.m_cube.m_b2DView);
        QVERIFY(dlg.m_cube.m_bAnimate);
        QCOMPARE(dlg.m_cube.m_nDelay, 300u);
        QCOMPARE(dlg.m_cube.m_nPaintColor, 0);
        QCOMPARE(QCoreApplication::applicationVersion(), QString("1.0.0.1"));
        QCOMPARE(QCoreApplication::organizationName(), QString("Local AppWizard-Generated Applications"));
        QVERIFY(m_boxes.empty());

        const QStringList menus = {"&File", "&Edit", "&Cube", "&Side", "&View", "&Help"};
        QStringList have;
        for (QAction* pAction : dlg.MenuBar()->actions())
            have << pAction->text();
        QCOMPARE(have, menus);
    }

    void swatchesAndTemplate()
    {
        CZelvorsCubeDlg dlg;
        const QRgb kColors[6] = {qRgb(255, 0, 0),     qRgb(0, 0, 255),   qRgb(0, 121, 0),
                                 qRgb(255, 255, 255), qRgb(255, 255, 0), qRgb(255, 128, 0)};
        const BYTE kIndexes[6] = {3, 2, 5, 6, 1, 4};
        for (int k = 0; k < 6; ++k) {
            QCOMPARE(dlg.m_palette[k].m_color, kColors[k]);
            QCOMPARE(dlg.m_palette[k].m_nColor, kIndexes[k]);
            // Each swatch paints exactly the colour the net shows for its index.
            QCOMPARE(dlg.m_cube.m_crColors[kIndexes[k]], kColors[k]);
        }
        // Controls sit on the template's grid: Reset and Exit share a row,
        // the view is 336 x 184 units wide and high.
        QCOMPARE(dlg.m_btnReset.y(), dlg.m_btnExit.y());
        QVERIFY(dlg.m_frameCube.width() > dlg.m_listSolution.width() * 3);
        QCOMPARE(dlg.m_btnSolve.text(), QString("Solve"));
        QCOMPARE(dlg.m_btnAbout.text(), QString("About..."));
        QCOMPARE(dlg.m_staticSolution.text(), QString("Solution:"));
        QVERIFY(dlg.m_staticMoves.alignment() & Qt::AlignRight);
    }

    void firstCommandTurnsZeroMovesIntoMoves_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Reset") << "IDC_RESET";
        QTest::newRow("Shuffle") << "IDC_SHUFFLE";
        QTest::newRow("Clear") << "IDC_CLEAR";
    }
    void firstCommandTurnsZeroMovesIntoMoves()
    {
        QFETCH(QString, button);
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        auto* pButton = dlg.findChild<QPushButton*>(button);
        QVERIFY(pButton);
        pButton->click();
        QCOMPARE(dlg.m_staticMoves.text(), QString("Moves"));
        QCOMPARE(dlg.m_nStep, 0);
        QVERIFY(dlg.m_btnSolve.isEnabled());
        QVERIFY(!dlg.IsBusy());
    }

    void clearShowsTheClearedCubeAtOnce()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        const long n = dlg.m_cube.FramesDrawn();
        dlg.m_btnClear.click();
        QVERIFY(dlg.m_cube.FramesDrawn() > n);
        QCOMPARE(dlg.m_cube.GetFace('F')->colors[0], BYTE(0));
        QVERIFY(dlg.m_cube.m_cubies.MatchesFacelets(dlg.m_cube.m_pFace));
    }

    void solveOnASolvedCube()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_btnSolve.click();
        QCOMPARE(Lines(dlg.m_listSolution), QStringList({"Your Cube!"}));
        QCOMPARE(dlg.m_staticMoves.text(), QString("0 Moves"));
        QVERIFY(!dlg.m_btnPrevious.isEnabled());
        QVERIFY(!dlg.m_btnNext.isEnabled());
        QCOMPARE(dlg.m_progress.value(), 0);
        QVERIFY(m_boxes.empty());
    }

    void solveFailuresLeaveCubeAndListAlone_data()
    {
        QTest::addColumn<QString>("cube");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::newRow("blank cube") << "" << "Configuration Error" << int(QMessageBox::Warning);
        QTest::newRow("one edge flipped") << "flip" << "Unable To Solve Cube" << int(QMessageBox::Critical);
    }
    void solveFailuresLeaveCubeAndListAlone()
    {
        QFETCH(QString, cube);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        if (cube.isEmpty())
            dlg.m_btnClear.click();
        else
            FlipEdge(dlg.m_cube, 0);
        const QString before = FaceletText(dlg.m_cube);
        dlg.m_btnSolve.click();
        QCOMPARE(int(m_boxes.size()), 1);
        QCOMPARE(m_boxes[0].caption, caption);
        QCOMPARE(int(m_boxes[0].icon), icon);
        QCOMPARE(m_boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        if (icon == QMessageBox::Warning)
            QCOMPARE(m_boxes[0].text, QString("Cube does not contain proper cubelets.  Check configuration and try again."));
        else
            QCOMPARE(m_boxes[0].text,
                     QString("Cube mis-oriented.  If the configuration you have entered is indeed what you have,\n"
                             "then your cube appears to have been disassembled, and re-assembled incorrctly.\n"
                             "Check configuration and try again."));
        QCOMPARE(FaceletText(dlg.m_cube), before);
        QCOMPARE(dlg.m_listSolution.count(), 0);
        QCOMPARE(dlg.m_staticMoves.text(), QString("Moves"));
        QVERIFY(dlg.m_btnSolve.isEnabled() && dlg.m_btnReset.isEnabled() && dlg.m_listSolution.isEnabled());
        QVERIFY(!dlg.m_cube.m_bAnimate); // restored from the (unticked) check box
    }

    void notACubeTakesAMessagePath_data()
    {
        QTest::addColumn<int>("corner");
        QTest::addColumn<bool>("mirror");
        for (int n = 0; n < 8; ++n) {
            QTest::addRow("corner %d painted twice", n) << n << false;
            QTest::addRow("corner %d mirrored", n) << n << true;
        }
    }
    void notACubeTakesAMessagePath()
    {
        QFETCH(int, corner);
        QFETCH(bool, mirror);
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_btnShuffle.click();
        const FaceletPos& a = g_cornerTable[corner][0];
        const FaceletPos& b = g_cornerTable[corner][1];
        if (mirror)
            SwapFacelets(dlg.m_cube, a, b);
        else
            Facelet(dlg.m_cube, b.letter, b.row, b.col) = Facelet(dlg.m_cube, a.letter, a.row, a.col);
        const QString entered = FaceletText(dlg.m_cube);
        dlg.m_btnSolve.click();
        QCOMPARE(int(m_boxes.size()), 1);
        QVERIFY(m_boxes[0].caption == "Configuration Error" || m_boxes[0].caption == "Unable To Solve Cube");
        QCOMPARE(dlg.m_listSolution.count(), 0);
        QCOMPARE(FaceletText(dlg.m_cube), entered);
        QVERIFY(dlg.m_btnSolve.isEnabled());
    }

    void swatchesRefusedInThe3DView()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        QTest::mouseClick(&dlg.m_palette[2], Qt::LeftButton);
        QCOMPARE(int(m_boxes.size()), 1);
        QCOMPARE(m_boxes[0].caption, QString("Error"));
        QCOMPARE(m_boxes[0].text, QString("Not Yet implemented for 3D view.\nThis feature is only available in "
                                          "2D Mode!. Please Try again Later"));
        QCOMPARE(int(m_boxes[0].icon), int(QMessageBox::Critical));
        for (const CColorCtrl& swatch : dlg.m_palette)
            QVERIFY(!swatch.m_bSelected);
        QCOMPARE(dlg.m_cube.m_nPaintColor, 0);

        // In the net a click frames the swatch and unframes the others.
        dlg.m_check3D.click();
        QVERIFY(dlg.m_cube.m_b2DView);
        for (const CColorCtrl& swatch : dlg.m_palette)
            QVERIFY(!swatch.m_bSelected);
        QTest::mouseClick(&dlg.m_palette[0], Qt::LeftButton);
        QTest::mouseClick(&dlg.m_palette[4], Qt::LeftButton);
        QTest::mouseClick(&dlg.m_palette[4], Qt::LeftButton);
        QCOMPARE(int(m_boxes.size()), 1);
        for (int k = 0; k < 6; ++k)
            QCOMPARE(dlg.m_palette[k].m_bSelected, k == 4);
        QCOMPARE(dlg.m_cube.m_nPaintColor, 1);

        // The chosen colour paints a facelet of the net.
        QWidget* pView = &dlg.m_cube;
        const int c = dlg.m_cube.m_nCell;
        QVERIFY(c > 0);
        QTest::mouseClick(pView, Qt::LeftButton, Qt::NoModifier, QPoint(3 * c + 3 + c / 2, 3 * c + 3 + c / 2));
        QCOMPARE(dlg.m_cube.GetFace('F')->colors[0], BYTE(1));

        // Back to 3D: nothing framed, no paint colour.
        dlg.m_check3D.click();
        for (const CColorCtrl& swatch : dlg.m_palette)
            QVERIFY(!swatch.m_bSelected);
        QCOMPARE(dlg.m_cube.m_nPaintColor, 0);
    }

    void describesEveryMove_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<QString>("line");
        QTest::newRow("T+") << "T+." << "Top Left";
        QTest::newRow("T-") << "T-." << "Top Right";
        QTest::newRow("D+") << "D+." << "Bottom Right";
        QTest::newRow("D-") << "D-." << "Bottom Left";
        QTest::newRow("L+") << "L+." << "Left Down";
        QTest::newRow("L-") << "L-." << "Left Up";
        QTest::newRow("R+") << "R+." << "Right Up";
        QTest::newRow("R-") << "R-." << "Right Down";
        QTest::newRow("F-") << "F-." << "Front Counter clockwise";
        QTest::newRow("B+") << "B+." << "Back Clockwise";
        QTest::newRow("R*") << "R*." << "Right 180";
        QTest::newRow("unknown code keeps the blank") << "F?." << "Front ";
        QTest::newRow("whole cube gives an empty line") << "C+." << "";
        QTest::newRow("short tail") << "B" << "Back ";
    }
    void describesEveryMove()
    {
        QFETCH(QString, move);
        QFETCH(QString, line);
        QCOMPARE(CZelvorsCubeDlg::DescribeMove(move.toStdString()), line);
    }

    void steppingForwardBackAndByClicks()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        const int n = ShuffleAndSolve(dlg);
        QVERIFY(n > 10);
        const QString entered = FaceletText(dlg.m_cube);
        QCOMPARE(dlg.m_staticMoves.text(), QString::asprintf("%ld Moves", long(n)));
        QCOMPARE(dlg.m_listSolution.item(0)->text(), QString("Your Cube!"));
        QCOMPARE(int(dlg.m_arrMoves.size()), n + 1);
        QCOMPARE(dlg.m_nStep, 0);
        QVERIFY(!dlg.m_btnPrevious.isEnabled());
        QVERIFY(dlg.m_btnNext.isEnabled());

        CCubeSolver reference;
        LoadText(reference, entered.toStdString());
        dlg.m_btnNext.click();
        dlg.m_btnNext.click();
        reference.ExecuteMoves(dlg.m_arrMoves[1] + dlg.m_arrMoves[2]);
        QCOMPARE(FaceletText(dlg.m_cube), FaceletText(reference));
        QCOMPARE(dlg.m_nStep, 2);
        QCOMPARE(dlg.m_listSolution.currentRow(), 2);
        QVERIFY(dlg.m_btnPrevious.isEnabled());

        dlg.m_btnPrevious.click();
        dlg.m_btnPrevious.click();
        QCOMPARE(FaceletText(dlg.m_cube), entered);
        QCOMPARE(dlg.m_nStep, 0);
        QVERIFY(!dlg.m_btnPrevious.isEnabled());

        // A click on the last line plays every move: solved.
        ClickLine(dlg.m_listSolution, n);
        QCOMPARE(dlg.m_nStep, n);
        QCOMPARE(dlg.m_listSolution.currentRow(), n);
        QVERIFY(dlg.m_cube.IsSolved());
        QVERIFY(!dlg.m_btnNext.isEnabled());
        QVERIFY(dlg.m_btnPrevious.isEnabled());
        // The current line again: nothing plays.
        ClickLine(dlg.m_listSolution, n);
        QVERIFY(dlg.m_cube.IsSolved());
        // Back to line 0: the entered cube, the cubies with it.
        ClickLine(dlg.m_listSolution, 0);
        QCOMPARE(FaceletText(dlg.m_cube), entered);
        QCOMPARE(dlg.m_nStep, 0);
        QVERIFY(dlg.m_cube.m_cubies.MatchesFacelets(dlg.m_cube.m_pFace));
        // Programmatic selections never count as the user's.
        dlg.ClearSolution();
        QCOMPARE(FaceletText(dlg.m_cube), entered);
    }

    void keyboardSelectionStepsToo()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        ShuffleAndSolve(dlg);
        dlg.m_listSolution.setFocus();
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_Down);
        QCOMPARE(dlg.m_nStep, 1);
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_End);
        QCOMPARE(dlg.m_nStep, dlg.m_listSolution.count() - 1);
        QVERIFY(dlg.m_cube.IsSolved());
    }

    void speedTexts_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "Animate - Speed 200.00 Moves/s";
        QTest::newRow("30") << 30 << "Animate - Speed 3.00 Moves/s";
        QTest::newRow("90") << 90 << "Animate - Speed 1.00 Moves/s";
        QTest::newRow("180") << 180 << "Animate - Speed 0.50 Moves/s";
    }
    void speedTexts()
    {
        QFETCH(int, position);
        QFETCH(QString, text);
        CZelvorsCubeDlg dlg;
        dlg.m_sliderSpeed.setValue(position);
        QCOMPARE(dlg.m_checkAnimate.text(), text);
        QCOMPARE(dlg.m_cube.m_nDelay, quint32(10 * position));
    }

    void animateSwitchDrivesTheTrackbar()
    {
        CZelvorsCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.m_checkAnimate.click();
        QVERIFY(!dlg.m_sliderSpeed.isEnabled());
        QVERIFY(!dlg.m_cube.m_bAnimate);
        dlg.m_checkAnimate.click();
        QVERIFY(dlg.m_sliderSpeed.isEnabled());
        QVERIFY(dlg.m_cube.m_bAnimate);
        QTest::keyClick(&dlg.m_sliderSpeed, Qt::Key_PageUp);
        QCOMPARE(dlg.m_sliderSpeed.value(), 40);
        QCOMPARE(dlg.m_cube.m_nDelay, 400u);
    }

    void layoutFollowsTheFrame_data()
    {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::newRow("wider by 100") << 100 << 0;
        QTest::newRow("taller by 80") << 0 << 80;
        QTest::newRow("both, shrinking") << -40 << -30;
    }
    void layoutFollowsTheFrame()
    {
        QFETCH(int, dx);
        QFETCH(int, dy);
        CZelvorsCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QSize start = dlg.size();
        // Shrinking stops at the minimum size.
        dx = std::max(dx, dlg.minimumWidth() - start.width());
        dy = std::max(dy, dlg.minimumHeight() - start.height());
        QList<QWidget*> all = {&dlg.m_frameCube,  &dlg.m_listSolution, &dlg.m_progress,
                               &dlg.m_btnReset,   &dlg.m_btnExit,      &dlg.m_btnPrevious,
                               &dlg.m_btnNext,    &dlg.m_staticMoves,  &dlg.m_staticSolution,
                               &dlg.m_check3D,    &dlg.m_checkAnimate, &dlg.m_sliderSpeed};
        for (CColorCtrl& swatch : dlg.m_palette)
            all << &swatch;
        QMap<QWidget*, QRect> before;
        for (QWidget* w : all)
            before[w] = w->geometry();

        dlg.resize(start.width() + dx, start.height() + dy);
        QTRY_COMPARE(dlg.Client()->width(), start.width() + dx);
        auto moved = [&](QWidget* w) { return w->geometry().topLeft() - before[w].topLeft(); };
        auto grown = [&](QWidget* w) { return w->geometry().size() - before[w].size(); };
        QCOMPARE(grown(&dlg.m_frameCube), QSize(dx, dy));
        QCOMPARE(moved(&dlg.m_frameCube), QPoint(0, 0));
        QCOMPARE(grown(&dlg.m_listSolution), QSize(0, dy));
        QCOMPARE(moved(&dlg.m_listSolution), QPoint(dx, 0));
        for (CColorCtrl& swatch : dlg.m_palette)
            QCOMPARE(moved(&swatch), QPoint(dx, 0));
        QCOMPARE(moved(&dlg.m_staticMoves), QPoint(dx, 0));
        QCOMPARE(moved(&dlg.m_staticSolution), QPoint(dx, 0));
        QCOMPARE(moved(&dlg.m_btnPrevious), QPoint(dx, dy));
        QCOMPARE(moved(&dlg.m_btnNext), QPoint(dx, dy));
        QCOMPARE(moved(&dlg.m_btnReset), QPoint(0, dy));
        QCOMPARE(moved(&dlg.m_progress), QPoint(0, dy));
        QCOMPARE(grown(&dlg.m_progress), QSize(0, 0));
        for (QWidget* w : {(QWidget*)&dlg.m_check3D, (QWidget*)&dlg.m_checkAnimate, (QWidget*)&dlg.m_sliderSpeed})
            QCOMPARE(w->geometry(), before[w]);

        dlg.resize(start);
        QTRY_COMPARE(dlg.size(), start);
        for (QWidget* w : all)
            QCOMPARE(w->geometry(), before[w]);
    }

    // The controls of the client area as they are placed now: each one
    // inside the client area, and no two overlapping.
    static void VerifyWhole(CZelvorsCubeDlg& dlg)
    {
        const QRect rcClient = dlg.Client()->rect();
        QList<QWidget*> shown;
        for (QWidget* w : dlg.Client()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisibleTo(dlg.Client()))
                shown << w;
        QVERIFY(shown.size() >= 24); // 19 moved, 3 that stay, the next move's line, the census
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const QString strName = shown[i]->objectName();
            QVERIFY2(!shown[i]->geometry().isEmpty(), qPrintable(strName));
            QVERIFY2(rcClient.contains(shown[i]->geometry()), qPrintable(strName));
            for (qsizetype j = 0; j < i; ++j)
                QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()),
                         qPrintable(strName + " over " + shown[j]->objectName()));
        }
    }

    // The dialog cannot be made smaller than a size at which every control
    // is whole and none overlaps another, the longest census included; the
    // census keeps its natural size however large the dialog grows.
    void minimumSizeKeepsEveryControlWhole()
    {
        CZelvorsCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QSize start = dlg.size();
        const QSize minimum = dlg.minimumSize();
        QVERIFY(minimum.width() <= start.width() && minimum.height() < start.height());
        CColorCensus* pCensus = dlg.Edit().Census();
        const QSize census = pCensus->size();
        QCOMPARE(census.height(), pCensus->sizeHint().height());

        dlg.m_btnClear.click(); // "48 blank"
        QTRY_COMPARE(pCensus->Count(0), 48);
        dlg.resize(60, 60);
        QTRY_COMPARE(dlg.size(), minimum);
        QTRY_COMPARE(dlg.Client()->height(), minimum.height() - dlg.MenuBar()->height());
        VerifyWhole(dlg);
        QCOMPARE(pCensus->size(), census);
        // Too narrow alone, or too low alone, is as far as the minimum too.
        for (const QSize size : {QSize(minimum.width() - 1, start.height()), QSize(start.width(), minimum.height() - 1)}) {
            dlg.resize(size);
            QTRY_COMPARE(dlg.size(), size.expandedTo(minimum));
            VerifyWhole(dlg);
        }

        for (const QSize size : {QSize(1400, 1000), QSize(1920, 1080)}) {
            dlg.resize(size);
            QTRY_COMPARE(dlg.size(), size);
            QTRY_COMPARE(dlg.Client()->width(), size.width());
            VerifyWhole(dlg);
            QCOMPARE(pCensus->size(), census);
            QVERIFY(pCensus->geometry().top() > dlg.m_palette[5].geometry().bottom());
        }
        dlg.resize(start);
        QTRY_COMPARE(dlg.size(), start);
        VerifyWhole(dlg);
    }

    // Enter while no push button has the focus does nothing: the cube, the
    // list and its label stay as they were, and no button is drawn as the
    // default. A focused push button is still pressed by Enter and Space.
    void enterKeepsTheUsersWork_data()
    {
        QTest::addColumn<QString>("focus");
        for (const char* focus : {"list", "check box", "trackbar", "view"})
            QTest::newRow(focus) << QString(focus);
    }
    void enterKeepsTheUsersWork()
    {
        QFETCH(QString, focus);
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == &dlg);
        const int n = ShuffleAndSolve(dlg);
        QVERIFY(n > 3);
        ClickLine(dlg.m_listSolution, 2);
        QWidget* pFocus = focus == "list"       ? static_cast<QWidget*>(&dlg.m_listSolution)
                          : focus == "check box" ? static_cast<QWidget*>(&dlg.m_check3D)
                          : focus == "trackbar"  ? static_cast<QWidget*>(&dlg.m_sliderSpeed)
                                                 : static_cast<QWidget*>(&dlg.m_cube);
        if (pFocus == &dlg.m_sliderSpeed)
            dlg.m_checkAnimate.click(); // the trackbar is usable with animation on
        pFocus->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), pFocus);
        const QString cube = FaceletText(dlg.m_cube);
        const QStringList lines = Lines(dlg.m_listSolution);
        const QString label = dlg.m_staticMoves.text();
        QTest::keyClick(pFocus, Qt::Key_Return);
        QTest::keyClick(pFocus, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(FaceletText(dlg.m_cube), cube);
        QCOMPARE(Lines(dlg.m_listSolution), lines);
        QCOMPARE(dlg.m_staticMoves.text(), label);
        QCOMPARE(dlg.m_nStep, 2);
        QVERIFY(dlg.isVisible());
        QVERIFY(m_boxes.empty());
        for (const QPushButton* pButton : dlg.findChildren<QPushButton*>())
            QVERIFY2(!pButton->isDefault(), qPrintable(pButton->text()));

        dlg.m_btnPrevious.setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&dlg.m_btnPrevious));
        QTest::keyClick(&dlg.m_btnPrevious, Qt::Key_Return);
        QCOMPARE(dlg.m_nStep, 1);
        QTest::keyClick(&dlg.m_btnPrevious, Qt::Key_Space);
        QCOMPARE(dlg.m_nStep, 0);
    }

    // While Solve runs, clicks in the view reach neither the solver's working
    // cube nor the animation: the solution listed solves the cube as entered,
    // the switches take effect when Solve returns, and the view is redrawn.
    void solveIsSealedAgainstTheUser()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_sliderSpeed.setValue(0); // should anything animate, it ends soon
        dlg.m_check3D.click();         // the net, where clicks paint and turn
        QVERIFY(dlg.m_cube.m_b2DView);
        dlg.m_btnShuffle.click();
        const QString entered = FaceletText(dlg.m_cube);
        const int c = std::max(1, dlg.m_cube.m_nCell);

        std::mt19937 rng(5);
        long nTicks = 0;
        long nFramesInSolve = 0;
        QTimer monkey;
        monkey.setInterval(1);
        connect(&monkey, &QTimer::timeout, &dlg, [&] {
            if (!dlg.IsBusy())
                return;
            ++nTicks;
            const QPoint pt(3 * c + 3 + int(rng() % unsigned(3 * c)), 3 * c + 3 + int(rng() % unsigned(6 * c)));
            QWindow* pSurface = dlg.m_cube.m_hDC;
            switch (nTicks % 8) {
            case 0: dlg.m_checkAnimate.click(); break;
            case 1:
                if (pSurface)
                    QTest::mouseClick(pSurface, Qt::LeftButton, Qt::ShiftModifier, pt);
                break;
            case 2: QTest::mouseClick(&dlg.m_cube, Qt::LeftButton, Qt::ControlModifier, pt); break;
            case 3:
                dlg.m_cube.m_nPaintColor = 3;
                QTest::mouseClick(&dlg.m_cube, Qt::LeftButton, Qt::NoModifier, pt);
                break;
            case 4: QTest::mouseDClick(&dlg.m_cube, Qt::LeftButton, Qt::ShiftModifier, pt); break;
            case 5: dlg.m_sliderSpeed.setValue(int(rng() % 3)); break;
            case 6: dlg.m_cube.Repaint(); break; // as an exposure would
            default: break;
            }
            nFramesInSolve = dlg.m_cube.FramesDrawn();
        });
        monkey.start();
        dlg.m_btnSolve.click();
        monkey.stop();
        QVERIFY(nTicks > 8);
        QVERIFY2(m_boxes.empty(), m_boxes.empty() ? "" : qPrintable(m_boxes[0].text));
        QCOMPARE(FaceletText(dlg.m_cube), entered);
        QVERIFY(dlg.m_listSolution.count() > 1);
        QVERIFY(MovesSolve(entered.toStdString(), dlg.m_arrMoves));
        // The clicks on Animate were seen, but only once Solve was over.
        QCOMPARE(dlg.m_cube.m_bAnimate, dlg.m_checkAnimate.isChecked());
        QVERIFY(nFramesInSolve < 200);
        // Something was drawn during the solve; the view was drawn again after it.
        QVERIFY(dlg.m_cube.FramesDrawn() > nFramesInSolve);
        QVERIFY(dlg.m_cube.m_cubies.MatchesFacelets(dlg.m_cube.m_pFace));
    }

    // Ticking Animate, moving the trackbar or switching the presentation
    // while Solve runs animates none of its attempts; the box counts again
    // once Solve has returned.
    void switchesDuringSolveWaitForItsEnd()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.m_sliderSpeed.setValue(0); // should anything animate, it ends soon
        dlg.m_btnShuffle.click();
        long nTicks = 0;
        long nFramesAtStart = -1;
        long nFramesInSolve = 0;
        bool bTurnSeen = false;
        QTimer switcher;
        switcher.setInterval(1);
        connect(&switcher, &QTimer::timeout, &dlg, [&] {
            if (!dlg.IsBusy())
                return;
            if (nFramesAtStart < 0) {
                nFramesAtStart = dlg.m_cube.FramesDrawn();
                dlg.m_checkAnimate.click(); // on
            } else if (++nTicks % 50 == 0) {
                dlg.m_check3D.click();
                dlg.m_sliderSpeed.setValue(int(nTicks / 50 % 2));
            }
            bTurnSeen = bTurnSeen || dlg.m_cube.IsAnimatingTurn();
            nFramesInSolve = dlg.m_cube.FramesDrawn();
        });
        switcher.start();
        dlg.m_btnSolve.click();
        switcher.stop();
        QVERIFY(nFramesAtStart >= 0);
        QVERIFY(!bTurnSeen);
        // Only the presentation switches drew, one frame each.
        QVERIFY(nFramesInSolve - nFramesAtStart <= nTicks / 50 + 1);
        QVERIFY(dlg.m_checkAnimate.isChecked());
        QVERIFY(dlg.m_cube.m_bAnimate);
        QVERIFY(dlg.m_sliderSpeed.isEnabled());
        QVERIFY(dlg.m_listSolution.count() > 1);
    }

    // Travelling through a long solution keeps the current line in sight,
    // in both directions (the list is disabled meanwhile and cannot be
    // scrolled by hand).
    void travelKeepsTheCurrentLineInSight()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        const int n = ShuffleAndSolve(dlg);
        QListWidget& list = dlg.m_listSolution;
        QVERIFY(n > 30);
        dlg.m_sliderSpeed.setValue(0);
        dlg.m_checkAnimate.click(); // every step passes through the event loop
        long nChecks = 0;
        QStringList outOfSight;
        QTimer probe;
        probe.setInterval(0);
        connect(&probe, &QTimer::timeout, &dlg, [&] {
            if (!dlg.IsBusy() || !list.currentItem())
                return;
            ++nChecks;
            if (!list.viewport()->rect().contains(list.visualItemRect(list.currentItem())))
                outOfSight << QString::number(list.currentRow());
        });
        probe.start();
        list.scrollToBottom();
        ClickLine(list, n);
        QCOMPARE(dlg.m_nStep, n);
        list.scrollToTop();
        ClickLine(list, 0);
        probe.stop();
        QCOMPARE(dlg.m_nStep, 0);
        QVERIFY(nChecks > n);
        QVERIFY2(outOfSight.isEmpty(), qPrintable(outOfSight.mid(0, 12).join(' ')));
    }

    // Each of the box's three lines is shown whole, none broken in two.
    void unableToSolveBoxKeepsItsLines()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        SetMessageBoxHandler({}); // the real box
        FlipEdge(dlg.m_cube, 0);
        QStringList lines;
        int nWidth = 0, nHeight = 0, nLineSpacing = 1;
        QList<int> advances;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, &dlg, [&] {
            auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!pBox || !pBox->isVisible())
                return;
            poll.stop();
            auto* pLabel = pBox->findChild<QLabel*>("qt_msgbox_label");
            QVERIFY(pLabel);
            lines = pLabel->text().split('\n');
            const QFontMetrics fm(pLabel->font());
            for (const QString& line : lines)
                advances << fm.horizontalAdvance(line);
            nWidth = pLabel->contentsRect().width();
            nHeight = pLabel->contentsRect().height();
            nLineSpacing = fm.lineSpacing();
            if (qEnvironmentVariableIsSet("ZELVORS_SHOTS"))
                pBox->grab().save(qEnvironmentVariable("ZELVORS_SHOTS") + "/unable-to-solve.png");
            pBox->button(QMessageBox::Ok)->click();
        });
        poll.start();
        dlg.m_btnSolve.click();
        QCOMPARE(lines.size(), 3);
        for (int nAdvance : advances)
            QVERIFY2(nAdvance <= nWidth, qPrintable(QString("%1 > %2").arg(nAdvance).arg(nWidth)));
        QVERIFY(nHeight < 4 * nLineSpacing);
    }

    // The About box shows both its lines whole, and the picture sits on the
    // box's own background.
    void aboutBoxShowsItsTextsAndPicture()
    {
        CAboutDlg about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        for (const QLabel* pLabel : about.findChildren<QLabel*>()) {
            if (pLabel->text().isEmpty())
                continue;
            const int nAdvance = pLabel->fontMetrics().horizontalAdvance(pLabel->text());
            QVERIFY2(nAdvance <= pLabel->contentsRect().width(), qPrintable(pLabel->text()));
        }
        const QImage shot = about.grab().toImage();
        if (qEnvironmentVariableIsSet("ZELVORS_SHOTS"))
            shot.save(qEnvironmentVariable("ZELVORS_SHOTS") + "/about.png");
        const QRgb background = shot.pixel(2, shot.height() - 3);
        const QLabel* pPicture = nullptr;
        for (const QLabel* pLabel : about.findChildren<QLabel*>())
            if (!pLabel->pixmap().isNull())
                pPicture = pLabel;
        QVERIFY(pPicture);
        const QPoint corner = pPicture->geometry().topLeft();
        QCOMPARE(shot.pixel(corner), background);
        QCOMPARE(shot.pixel(pPicture->geometry().bottomRight()), background);
    }

    // Esc, Exit and the close box all ask first (Enter: enterKeepsTheUsersWork).
    void escExitAndCloseBoxAsk()
    {
        CZelvorsCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.m_listSolution.setFocus();

        m_answers = {QMessageBox::No};
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_Escape);
        QCOMPARE(int(m_boxes.size()), 1);
        QCOMPARE(m_boxes[0].text, QString("Are you sure you want to exit?"));
        QCOMPARE(m_boxes[0].caption, QString("Exit!"));
        QCOMPARE(int(m_boxes[0].icon), int(QMessageBox::Question));
        QCOMPARE(m_boxes[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(dlg.isVisible());

        m_answers = {QMessageBox::No};
        dlg.m_btnExit.click();
        QCOMPARE(int(m_boxes.size()), 2);
        QVERIFY(dlg.isVisible());
        m_answers = {QMessageBox::No};
        dlg.close();
        QCOMPARE(int(m_boxes.size()), 3);
        QVERIFY(dlg.isVisible());

        m_answers = {QMessageBox::Yes};
        dlg.close();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }

    void sideKeysAndMenuTurnFaces()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        dlg.activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == &dlg);
        CCubeSolver reference;
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_F, Qt::AltModifier);
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_T, Qt::ControlModifier);
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_B, Qt::ShiftModifier);
        reference.ExecuteMoves("F+.T-.B*.");
        QCOMPARE(FaceletText(dlg.m_cube), FaceletText(reference));
        QVERIFY(m_boxes.empty());

        // The menu items do the same.
        QAction* pLeftCW = nullptr;
        for (QAction* pAction : dlg.findChildren<QAction*>())
            if (pAction->text() == "Left\tAlt-L")
                pLeftCW = pAction;
        QVERIFY(pLeftCW);
        pLeftCW->trigger();
        reference.ExecuteMoves("L+.");
        QCOMPARE(FaceletText(dlg.m_cube), FaceletText(reference));
        QVERIFY(dlg.m_cube.m_cubies.MatchesFacelets(dlg.m_cube.m_pFace));

        // Unavailable while a command runs.
        dlg.EnableControls(false);
        QVERIFY(!pLeftCW->isEnabled());
        QTest::keyClick(&dlg.m_listSolution, Qt::Key_R, Qt::AltModifier);
        QCOMPARE(FaceletText(dlg.m_cube), FaceletText(reference));
        dlg.EnableControls(true);
        QVERIFY(pLeftCW->isEnabled());
    }

    void viewMenuSwitchesPresentation()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        for (QAction* pAction : dlg.findChildren<QAction*>())
            if (pAction->text() == "2D View")
                pAction->trigger();
        QVERIFY(!dlg.m_check3D.isChecked());
        QVERIFY(dlg.m_cube.m_b2DView);
        for (QAction* pAction : dlg.findChildren<QAction*>())
            if (pAction->text() == "3D View")
                pAction->trigger();
        QVERIFY(dlg.m_check3D.isChecked());
        QVERIFY(!dlg.m_cube.m_b2DView);
    }

    void aboutBoxOpensAndCloses()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        QString title, line;
        QStringList texts;
        QTimer::singleShot(100, [&] {
            if (auto* pAbout = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
                title = pAbout->windowTitle();
                if (auto* pLine = pAbout->findChild<QLabel*>("IDC_ABOUT_LINE"))
                    line = pLine->text();
                for (const QLabel* pLabel : pAbout->findChildren<QLabel*>())
                    texts << pLabel->text();
                QTest::keyClick(pAbout, Qt::Key_Escape);
            }
        });
        dlg.m_btnAbout.click();
        QCOMPARE(title, QString("Dialog"));
        QVERIFY(!line.isEmpty());
        // The name line takes major.minor of the project's version (1.0.0.1).
        QVERIFY2(texts.contains("Zelvor's Cube Solver v 1.0"), qPrintable(texts.join('|')));
        QVERIFY(dlg.isVisible());
        QVERIFY(m_boxes.empty());
    }

    void closingDuringAReplayEndsAtOnce()
    {
        CZelvorsCubeDlg dlg;
        Quiet(dlg);
        const int n = ShuffleAndSolve(dlg);
        dlg.m_checkAnimate.click(); // animation back on, 3D view, 300 ms
        QVERIFY(dlg.m_cube.m_bAnimate);
        long nFramesAtClose = -1;
        QTimer::singleShot(300, &dlg, [&] {
            m_answers = {QMessageBox::Yes};
            dlg.close(); // the caption's close box
            nFramesAtClose = dlg.m_cube.FramesDrawn();
        });
        ClickLine(dlg.m_listSolution, n);
        QVERIFY(nFramesAtClose >= 0);
        QCOMPARE(m_boxes.back().caption, QString("Exit!"));
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        // Nothing more was drawn on the hidden window, and the replay stopped
        // short of the end.
        QCOMPARE(dlg.m_cube.FramesDrawn(), nFramesAtClose);
        QVERIFY(dlg.m_nStep < n);
        QVERIFY(!dlg.m_cube.IsAnimatingTurn());
    }

    void closingDuringShuffleAndSolve_data()
    {
        QTest::addColumn<bool>("solve");
        QTest::newRow("Shuffle") << false;
        QTest::newRow("Solve") << true;
    }
    void closingDuringShuffleAndSolve()
    {
        QFETCH(bool, solve);
        CZelvorsCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        if (solve) {
            dlg.m_checkAnimate.click();
            dlg.m_btnShuffle.click();
        }
        // For Solve: at its first step, whatever the machine's speed.
        QTimer::singleShot(solve ? 0 : 300, &dlg, [&] {
            m_answers = {QMessageBox::Yes};
            dlg.close();
        });
        (solve ? dlg.m_btnSolve : dlg.m_btnShuffle).click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.m_listSolution.count(), 0);
    }
};

// The program's own application object, so that its set-up is seen too.
int main(int argc, char** argv)
{
    QSurfaceFormat::setDefaultFormat(CCubeWnd::PixelFormat());
    CZelvorsCubeApp app(argc, argv);
    TestDialog test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_dialog.moc"
