// The real dialog under abuse: a "monkey" clicks, toggles, paints, turns and
// resizes at random while Shuffle, Solve and long replays run. Afterwards
// nothing may have crashed or hung, the cubies must match the facelets and
// the controls must be usable again (or the program must have ended cleanly).

#include "AboutDlg.h"
#include "MessageBox.h"
#include "TestCube.h"
#include "ZelvorsCubeApp.h"
#include "ZelvorsCubeDlg.h"

#include <QTest>
#include <QTimer>

#include <functional>
#include <random>

namespace {

QString FaceletText(const CCubeSolver& cube)
{
    return QString::fromStdString(FormatCube(cube));
}

enum Action : unsigned {
    CLICK_ENABLED = 1 << 0, // any enabled button, swatch or list line
    TOGGLE_SWITCHES = 1 << 1, // 3D View and Animate
    MOVE_SPEED = 1 << 2,
    TURN_IN_NET = 1 << 3,  // Shift / Ctrl presses and double clicks on faces
    PAINT_IN_NET = 1 << 4,
    RESIZE = 1 << 5,       // down to nothing and back
    DRAG_3D = 1 << 6,
    ALL = 0x7f,
};

class Monkey : public QObject {
public:
    Monkey(CZelvorsCubeDlg& dlg, unsigned nActions, unsigned nSeed)
        : m_dlg(dlg), m_nActions(nActions), m_rng(nSeed), m_size(dlg.size())
    {
        m_timer.setInterval(7);
        connect(&m_timer, &QTimer::timeout, this, [this] { Act(); });
    }
    void Start() { m_timer.start(); }
    // Frames drawn up to the monkey's last act while a command ran.
    long FramesWhileBusy() const { return m_nFramesWhileBusy; }
    void Stop()
    {
        m_timer.stop();
        m_dlg.resize(m_size);
    }
    long Acts() const { return m_nActs; }

private:
    int Pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

    QPoint FacePoint()
    {
        const int c = std::max(1, m_dlg.m_cube.m_nCell);
        static const QPoint kOrigins[6] = {{3, 0}, {0, 3}, {3, 3}, {6, 3}, {9, 3}, {3, 6}};
        const QPoint o = kOrigins[Pick(6)];
        return QPoint(o.x() * c + 3 + Pick(3 * c), o.y() * c + 3 + Pick(3 * c));
    }

    void Act()
    {
        // A modal About box would stop the monkey: close it.
        if (auto* pAbout = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget()))
            pAbout->reject();
        ++m_nActs;
        std::vector<std::function<void()>> choices;
        if (m_nActions & CLICK_ENABLED) {
            choices.push_back([this] {
                QPushButton* kButtons[] = {&m_dlg.m_btnReset, &m_dlg.m_btnShuffle, &m_dlg.m_btnClear,
                                           &m_dlg.m_btnSolve, &m_dlg.m_btnAbout,   &m_dlg.m_btnPrevious,
                                           &m_dlg.m_btnNext};
                QPushButton* p = kButtons[Pick(7)];
                if (p->isEnabled())
                    QTest::mouseClick(p, Qt::LeftButton);
            });
            choices.push_back([this] {
                CColorCtrl& swatch = m_dlg.m_palette[Pick(6)];
                if (swatch.isEnabled())
                    QTest::mouseClick(&swatch, Qt::LeftButton);
            });
            choices.push_back([this] {
                QListWidget& list = m_dlg.m_listSolution;
                if (list.isEnabled() && list.count() > 0) {
                    QListWidgetItem* pItem = list.item(Pick(list.count()));
                    list.scrollToItem(pItem);
                    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                                      list.visualItemRect(pItem).center());
                }
            });
        }
        if (m_nActions & TOGGLE_SWITCHES) {
            choices.push_back([this] { m_dlg.m_check3D.click(); });
            choices.push_back([this] { m_dlg.m_checkAnimate.click(); });
        }
        if (m_nActions & MOVE_SPEED)
            choices.push_back([this] {
                if (m_dlg.m_sliderSpeed.isEnabled())
                    m_dlg.m_sliderSpeed.setValue(Pick(19) * 10);
            });
        if (m_nActions & TURN_IN_NET)
            choices.push_back([this] {
                const Qt::KeyboardModifiers mods[3] = {Qt::ShiftModifier, Qt::ControlModifier,
                                                       Qt::ShiftModifier | Qt::ControlModifier};
                const auto mod = mods[Pick(3)];
                if (Pick(2))
                    QTest::mouseClick(&m_dlg.m_cube, Qt::LeftButton, mod, FacePoint());
                else
                    QTest::mouseDClick(&m_dlg.m_cube, Qt::LeftButton, mod, FacePoint());
            });
        if (m_nActions & PAINT_IN_NET)
            choices.push_back([this] {
                m_dlg.m_cube.m_nPaintColor = static_cast<signed char>(1 + Pick(6));
                QTest::mouseClick(&m_dlg.m_cube, Qt::LeftButton, Qt::NoModifier, FacePoint());
            });
        if (m_nActions & RESIZE)
            choices.push_back([this] {
                if (Pick(2))
                    m_dlg.resize(Pick(40), Pick(40));
                else
                    m_dlg.resize(m_size.width() + Pick(200) - 100, m_size.height() + Pick(200) - 100);
            });
        if (m_nActions & DRAG_3D)
            choices.push_back([this] {
                QTest::mousePress(&m_dlg.m_cube, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
                QMouseEvent move(QEvent::MouseMove, QPointF(50 + Pick(300), 50 + Pick(300)),
                                 QPointF(), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(&m_dlg.m_cube, &move);
                QTest::mouseRelease(&m_dlg.m_cube, Qt::LeftButton);
            });
        if (!choices.empty())
            choices[static_cast<size_t>(Pick(static_cast<int>(choices.size())))]();
        if (m_dlg.IsBusy())
            m_nFramesWhileBusy = m_dlg.m_cube.FramesDrawn();
    }

    CZelvorsCubeDlg& m_dlg;
    unsigned m_nActions;
    std::mt19937 m_rng;
    QSize m_size;
    QTimer m_timer;
    long m_nActs = 0;
    long m_nFramesWhileBusy = 0;
};

} // namespace

class TestAbuse : public QObject {
    Q_OBJECT

private:
    bool m_bAnswerYes = false;

    void Prepare(CZelvorsCubeDlg& dlg, bool bQuick = true)
    {
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        if (bQuick)
            dlg.m_sliderSpeed.setValue(5); // quick frames, so that many land in a test
    }

    // What must hold once the command and the monkey are done.
    void CheckSettled(CZelvorsCubeDlg& dlg)
    {
        QVERIFY(!dlg.IsBusy());
        QVERIFY(!dlg.m_cube.IsAnimatingTurn());
        QVERIFY(!dlg.m_cube.m_cubies.IsTurning());
        dlg.m_cube.Repaint();
        QVERIFY(dlg.m_cube.m_cubies.MatchesFacelets(dlg.m_cube.m_pFace));
        QVERIFY(dlg.m_btnSolve.isEnabled());
        QVERIFY(dlg.m_btnReset.isEnabled());
        QVERIFY(dlg.m_btnShuffle.isEnabled());
        QVERIFY(dlg.m_listSolution.isEnabled());
        QCOMPARE(dlg.m_btnPrevious.isEnabled(), dlg.m_nStep > 0);
        // The dialog still answers: a solve of the cube as it stands works.
        dlg.m_checkAnimate.setChecked(false);
        dlg.OnAnimate();
        dlg.m_btnReset.click();
        dlg.m_btnShuffle.click();
        dlg.m_btnSolve.click();
        QVERIFY(dlg.m_listSolution.count() > 1);
        ClickLineLast(dlg);
        QVERIFY(dlg.m_cube.IsSolved());
    }

    static void ClickLineLast(CZelvorsCubeDlg& dlg)
    {
        QListWidget& list = dlg.m_listSolution;
        QListWidgetItem* pItem = list.item(list.count() - 1);
        list.scrollToItem(pItem);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, list.visualItemRect(pItem).center());
    }

private slots:
    void init()
    {
        m_bAnswerYes = false;
        SetMessageBoxHandler([this](QWidget*, const QString&, const QString& strCaption, QMessageBox::Icon,
                                    QMessageBox::StandardButtons) {
            if (strCaption == "Exit!")
                return m_bAnswerYes ? QMessageBox::Yes : QMessageBox::No;
            return QMessageBox::Ok;
        });
    }
    void cleanup() { SetMessageBoxHandler({}); }

    void duringCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<uint>("actions");
        QTest::addColumn<uint>("seed");
        const struct {
            const char* name;
            unsigned actions;
        } kKinds[] = {{"every control", CLICK_ENABLED},
                      {"switches and speed", TOGGLE_SWITCHES | MOVE_SPEED},
                      {"turns in the net", TURN_IN_NET | TOGGLE_SWITCHES},
                      {"painting", PAINT_IN_NET | TOGGLE_SWITCHES},
                      {"resizing", RESIZE | TOGGLE_SWITCHES},
                      {"everything", ALL}};
        for (const char* command : {"shuffle", "solve", "replay"})
            for (const auto& kind : kKinds)
                for (uint seed : {1u})
                    QTest::addRow("%s, %s, seed %u", command, kind.name, seed)
                        << QString(command) << uint(kind.actions) << seed;
        // At the default speed: were the switches obeyed during Solve, its
        // thousands of turns would take many minutes.
        QTest::addRow("solve at the default speed, switches") << QString("solve") << uint(TOGGLE_SWITCHES) << 2u;
    }
    void duringCommands()
    {
        QFETCH(QString, command);
        QFETCH(uint, actions);
        QFETCH(uint, seed);
        CZelvorsCubeDlg dlg;
        Prepare(dlg, !QByteArray(QTest::currentDataTag()).contains("default speed"));
        if (command != "shuffle") {
            dlg.m_checkAnimate.click(); // a quick set-up
            dlg.m_btnShuffle.click();
            if (command == "replay")
                dlg.m_btnSolve.click();
            dlg.m_checkAnimate.click();
        }
        if (command == "replay")
            QVERIFY(dlg.m_listSolution.count() > 10);

        Monkey monkey(dlg, actions, seed);
        const QString entered = FaceletText(dlg.m_cube);
        monkey.Start();
        if (command == "shuffle") {
            dlg.m_btnShuffle.click();
        } else if (command == "solve") {
            dlg.m_btnSolve.click();
            monkey.Stop();
            // The solution listed is one for the cube as entered, the cube is
            // left as it was, and the view was drawn again after the solve.
            QCOMPARE(FaceletText(dlg.m_cube), entered);
            QVERIFY(dlg.m_listSolution.count() > 1);
            QVERIFY(MovesSolve(entered.toStdString(), dlg.m_arrMoves));
            QVERIFY(dlg.m_cube.FramesDrawn() > monkey.FramesWhileBusy());
            QCOMPARE(dlg.m_cube.m_bAnimate, dlg.m_checkAnimate.isChecked());
        } else {
            ClickLineLast(dlg);
            // And back again, part of the way.
            if (dlg.m_listSolution.isEnabled() && dlg.m_listSolution.count() > 5) {
                QListWidget& list = dlg.m_listSolution;
                list.scrollToItem(list.item(3));
                QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                                  list.visualItemRect(list.item(3)).center());
            }
        }
        monkey.Stop();
        QTest::qWait(20);
        QVERIFY(monkey.Acts() > 0 || command == "solve");
        CheckSettled(dlg);
    }

    void exitConfirmedInTheMiddle_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("afterMs");
        for (const char* command : {"shuffle", "solve", "replay"})
            for (int ms : {5, 60, 250})
                QTest::addRow("%s after %d ms", command, ms) << QString(command) << ms;
    }
    void exitConfirmedInTheMiddle()
    {
        QFETCH(QString, command);
        QFETCH(int, afterMs);
        CZelvorsCubeDlg dlg;
        Prepare(dlg);
        if (command != "shuffle") {
            dlg.m_checkAnimate.click();
            dlg.m_btnShuffle.click();
            if (command == "replay")
                dlg.m_btnSolve.click();
            dlg.m_checkAnimate.click();
        }
        Monkey monkey(dlg, TOGGLE_SWITCHES | MOVE_SPEED | TURN_IN_NET, 7);
        monkey.Start();
        QTimer::singleShot(afterMs, &dlg, [&] {
            m_bAnswerYes = true;
            dlg.close();
        });
        if (command == "shuffle")
            dlg.m_btnShuffle.click();
        else if (command == "solve")
            dlg.m_btnSolve.click();
        else
            ClickLineLast(dlg);
        monkey.Stop();
        // The close came while the command ran (or, for a short one, after it).
        QTRY_VERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(!dlg.m_cube.IsAnimatingTurn());
        QVERIFY(!dlg.m_cube.m_cubies.IsTurning());
        const long nFrames = dlg.m_cube.FramesDrawn();
        QTest::qWait(50);
        QCOMPARE(dlg.m_cube.FramesDrawn(), nFrames);
    }
};

int main(int argc, char** argv)
{
    QSurfaceFormat::setDefaultFormat(CCubeWnd::PixelFormat());
    CZelvorsCubeApp app(argc, argv);
    TestAbuse test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_abuse.moc"
