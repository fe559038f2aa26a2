// Edit > Scan Cube... through the real dialogs: six photos drawn here (a
// cube's face as coloured stickers on a dark body, seen at a slant, on a dark
// background), their corners given by hand and by dragging, the cube decided
// and put into the net as one undo step; a flipped pair of edges read
// ambiguously, set right by one click on a ringed sticker; the camera page
// with no camera, and with frames handed to it as a camera would.
//
// ZELVORS_SCAN_SHOTS=folder writes pictures of the dialog there.

#include "CubieCube.h"
#include "EditCommands.h"
#include "MessageBox.h"
#include "ScanCubeDlg.h"
#include "ScanFaces.h"
#include "ScanViews.h"
#include "TempFolder.h"
#include "ZelvorsCubeDlg.h"

#ifdef ZELVORS_HAVE_CAMERA
#include "ScanCamera.h"
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>
#endif

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <cstring>
#include <functional>
#include <random>

namespace {

// Sticker colours as a camera sees a real cube, by colour index (1 yellow,
// 2 blue, 3 red, 4 orange, 5 green, 6 white).
const QColor kSticker[7] = {QColor(), QColor(250, 210, 20), QColor(10, 70, 175), QColor(190, 20, 40),
                            QColor(250, 100, 10), QColor(10, 155, 75), QColor(235, 238, 240)};

using FaceColours = std::array<QColor, 9>;

QPolygonF Grid()
{
    return QPolygonF({QPointF(0, 0), QPointF(3, 0), QPointF(3, 3), QPointF(0, 3)});
}

// A photo of a face: its stickers (row by row) inside the quad of its outer
// corners (TL TR BR BL), seen through a perspective, with uneven light and
// a little noise.
QImage FacePhoto(const FaceColours& stickers, const QPolygonF& corners, QSize size, unsigned nSeed)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient background(0, 0, size.width(), size.height());
    background.setColorAt(0, QColor(58, 52, 46));
    background.setColorAt(1, QColor(22, 22, 26));
    painter.fillRect(image.rect(), background);
    QTransform toPhoto;
    QTransform::quadToQuad(Grid(), corners, toPhoto);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(toPhoto);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(16, 16, 18));
    painter.drawRoundedRect(QRectF(-0.1, -0.1, 3.2, 3.2), 0.2, 0.2);
    for (int k = 0; k < 9; ++k) {
        painter.setBrush(stickers[static_cast<size_t>(k)]);
        painter.drawRoundedRect(QRectF(k % 3 + 0.07, k / 3 + 0.07, 0.86, 0.86), 0.14, 0.14);
    }
    painter.end();
    std::mt19937 rng(nSeed);
    std::normal_distribution<double> noise(0, 2.5);
    for (int y = 0; y < size.height(); ++y) {
        auto* pLine = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            // The lamp on the left: a tenth brighter there than on the right.
            const double light = 1.05 - 0.1 * x / size.width();
            auto channel = [&](int v) { return std::clamp(static_cast<int>(v * light + noise(rng)), 0, 255); };
            pLine[x] = qRgb(channel(qRed(pLine[x])), channel(qGreen(pLine[x])), channel(qBlue(pLine[x])));
        }
    }
    return image;
}

// Where a face lies in its photo: a different slant for each.
QPolygonF FaceCorners(int nSlot)
{
    const double dx = 6 * (nSlot - 2.5), dy = 4 * (nSlot % 3 - 1);
    return QPolygonF({QPointF(88 + dx, 52 + dy), QPointF(232 + dx, 60 - dy), QPointF(226 - dx, 196 + dy),
                      QPointF(82 - dx, 188 + dy)});
}

photo::Quad ToPhotoQuad(const QPolygonF& corners)
{
    photo::Quad q;
    for (int k = 0; k < 4; ++k)
        q[static_cast<size_t>(k)] = {corners[k].x(), corners[k].y()};
    return q;
}

Facelets RandomCube(unsigned nSeed)
{
    std::mt19937 rng(nSeed);
    const BYTE centres[6] = {1, 2, 3, 4, 5, 6};
    Facelets f{};
    cubie::WriteFacelets(cubie::RandomCubieCube(rng), centres, f.data());
    return f;
}

// A sticker's colour between two colours: t of the way from a to b.
QColor Mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() + t * (b.redF() - a.redF())),
                            static_cast<float>(a.greenF() + t * (b.greenF() - a.greenF())),
                            static_cast<float>(a.blueF() + t * (b.blueF() - a.blueF())));
}

// Six photos of a cube's faces, named so that their order is T F R L B D;
// each sticker's colour from the callback.
QStringList WritePhotos(const testsupport::TempFolder& folder, const std::function<QColor(int)>& colourOf,
                        bool bFaceNames = false)
{
    QStringList paths;
    // Named out of order on purpose: "face-10" after "face-2" by number;
    // or by the faces, whose names' order is not the faces'.
    const char* const kCounted[6] = {"face-1.png", "face-2.png", "face-3.png", "face-10.png", "face-11.png", "face-12.png"};
    const char* const kFaces[6] = {"cube-top.png", "cube-F.png", "Right.png", "l.png", "back-1.png", "down.png"};
    const char* const* kNames = bFaceNames ? kFaces : kCounted;
    for (int s = 0; s < 6; ++s) {
        FaceColours stickers;
        for (int e = 0; e < 9; ++e)
            stickers[static_cast<size_t>(e)] = colourOf(s * 9 + e);
        const QString strPath = QString::fromStdString((folder.path / kNames[s]).string());
        if (!FacePhoto(stickers, FaceCorners(s), QSize(320, 240), 17u + static_cast<unsigned>(s)).save(strPath))
            return {};
        paths << strPath;
    }
    // Given in another order than their names'.
    std::reverse(paths.begin(), paths.end());
    return paths;
}

void Shot(QWidget& w, const char* pszName)
{
    const QByteArray folder = qgetenv("ZELVORS_SCAN_SHOTS");
    if (!folder.isEmpty())
        w.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(pszName));
}

QString Text(const Facelets& f)
{
    QString s;
    for (BYTE b : f)
        s += QChar('0' + b);
    return s;
}

} // namespace

class TestScan : public QObject {
    Q_OBJECT

private:
    QStringList m_boxes;
    testsupport::TempFolder m_folder{"zelvors-scan"};

private slots:
    void init()
    {
        m_boxes.clear();
        SetMessageBoxHandler([this](QWidget*, const QString& strText, const QString&, QMessageBox::Icon,
                                    QMessageBox::StandardButtons) {
            m_boxes << strText;
            return QMessageBox::Ok;
        });
    }
    void cleanup() { SetMessageBoxHandler({}); }

    // The pose of each face agrees with the net: the face above the one read
    // in the picture holds the other sticker of the edge at its top row's
    // middle, the face to its right that of the edge at its right column's.
    // The face a photo's name tells, for six photos chosen at once.
    void faceOfFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("slot");
        const std::pair<const char*, int> rows[] = {
            {"/photos/cube-T.jpg", 0}, {"up.png", 0},          {"Front.JPG", 1},     {"img_r.jpeg", 2},
            {"left side.png", 3},      {"2024-back-1.jpg", 4}, {"D.jpg", 5},         {"bottom.tiff", 5},
            {"IMG_0001.jpg", -1},      {"b-T.jpg", 0},         {"frontal.jpg", -1},  {"d-L.JPG", 3},
            {"dir.f/photo.jpg", -1},   {"top-top.png", 0},     {"front.d.jpg", 5}};
        for (const auto& [name, slot] : rows)
            QTest::newRow(name) << QString(name) << slot;
    }
    void faceOfFileName()
    {
        QFETCH(QString, name);
        QFETCH(int, slot);
        QCOMPARE(FaceOfFileName(name), slot);
    }

    void posesAgreeWithTheNet_data()
    {
        QTest::addColumn<int>("slot");
        for (int s = 0; s < 6; ++s)
            QTest::newRow(qPrintable(FaceTitle(s))) << s;
    }
    void posesAgreeWithTheNet()
    {
        QFETCH(int, slot);
        auto otherFace = [](int nFacelet) {
            for (const auto& edge : cubie::kEdgeFacelets)
                if (edge[0] == nFacelet || edge[1] == nFacelet)
                    return (edge[0] == nFacelet ? edge[1] : edge[0]) / 9;
            return -1;
        };
        QCOMPARE(otherFace(slot * 9 + 1), kScanPoses[slot].nUp);
        QCOMPARE(otherFace(slot * 9 + 5), kScanPoses[slot].nRight);
        QCOMPARE(kScanPoses[slot].nFront, slot);
        QVERIFY(HoldText(slot).contains(CentreColourName(slot) + " centre towards the camera"));
    }

    // Six photos (FindFace finds nothing in this build: five faces' corners
    // given by hand, one dragged into place with the mouse), one decision,
    // Use This Cube from the menu command: the net holds the cube, the
    // census finds it valid, and one undo brings the old cube back.
    void photosScannedIntoTheNetAsOneUndoStep()
    {
        const Facelets truth = RandomCube(7);
        const QStringList paths = WritePhotos(m_folder, [&](int f) { return kSticker[truth[static_cast<size_t>(f)]]; });
        QCOMPARE(paths.size(), 6);

        CZelvorsCubeDlg main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.m_checkAnimate.click();
        main.m_btnShuffle.click();
        const Facelets before = main.m_cube.Colors();
        const int nSteps = main.Edit().UndoStack().count();

        // The command has a key of its own in the Edit menu.
        QAction* pAction = main.m_pScanAction;
        QVERIFY(pAction);
        QCOMPARE(pAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
        // In the Edit menu, after Fill What Is Determined; the menu's other
        // items as they were.
        auto* pEdit = main.MenuBar()->findChild<QMenu*>("editMenu");
        QVERIFY(pEdit);
        const QList<QAction*> items = pEdit->actions();
        QCOMPARE(items.indexOf(pAction), items.indexOf(main.Edit().m_pFillAction) + 1);
        QCOMPARE(pAction->text(), QString("Sc&an Cube..."));
        QCOMPARE(main.Edit().m_pFillAction->text(), QString("&Fill What Is Determined"));
        int nHolders = 0;
        std::vector<QMenu*> menus;
        for (QAction* pMenu : main.MenuBar()->actions())
            menus.push_back(pMenu->menu());
        while (!menus.empty()) {
            QMenu* pMenu = menus.back();
            menus.pop_back();
            for (QAction* p : pMenu->actions()) {
                if (p->menu())
                    menus.push_back(p->menu());
                nHolders += p->shortcuts().contains(pAction->shortcut()) ? 1 : 0;
            }
        }
        QCOMPARE(nHolders, 1);

        bool bScanned = false;
        CScanCubeDlg* pDlg = nullptr;
        auto scan = [&] {
            pDlg = qobject_cast<CScanCubeDlg*>(QApplication::activeModalWidget());
            QVERIFY(pDlg);
            CScanCubeDlg& dlg = *pDlg;
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QVERIFY(!dlg.UseButton()->isEnabled());
            QVERIFY(dlg.LoadPhotos(paths));
            QVERIFY(m_boxes.isEmpty());
            // Every face found where it was drawn: the decision is shown.
            QCOMPARE(dlg.Page(), 6);
            for (int s = 0; s < 6; ++s) {
                dlg.GoTo(s);
                const QPolygonF drawn = FaceCorners(s);
                for (int k = 0; k < 4; ++k) {
                    QVERIFY(std::abs(dlg.PhotoView()->Quad()[static_cast<size_t>(k)].x - drawn[k].x()) < 4);
                    QVERIFY(std::abs(dlg.PhotoView()->Quad()[static_cast<size_t>(k)].y - drawn[k].y()) < 4);
                }
            }
            // A finding that is off (the top face's corners set wide of it)
            // put right by dragging the corners.
            dlg.GoTo(0);
            QPolygonF off = FaceCorners(0);
            for (int k = 0; k < 4; ++k)
                off[k] += QPointF(k % 2 == 0 ? -25 : 20, k < 2 ? -15 : 25);
            dlg.SetCorners(0, ToPhotoQuad(off));
            CPhotoView* pView = dlg.PhotoView();
            const photo::Quad guessed = pView->Quad();
            const QPolygonF target = FaceCorners(0);
            for (int k = 0; k < 4; ++k) {
                const QPoint from = pView->ToWidget(guessed[static_cast<size_t>(k)]).toPoint();
                const QPoint to = pView->ToWidget({target[k].x(), target[k].y()}).toPoint();
                QTest::mousePress(pView, Qt::LeftButton, {}, from);
                QTest::mouseMove(pView, (from + to) / 2);
                QTest::mouseMove(pView, to);
                QTest::mouseRelease(pView, Qt::LeftButton, {}, to);
            }
            for (int k = 0; k < 4; ++k) {
                QVERIFY(std::abs(pView->Quad()[static_cast<size_t>(k)].x - target[k].x()) < 2.5);
                QVERIFY(std::abs(pView->Quad()[static_cast<size_t>(k)].y - target[k].y()) < 2.5);
            }
            Shot(dlg, "scan-photo.png");
            for (int s = 0; s < 6; ++s)
                for (int e = 0; e < 9; ++e) {
                    const QColor want = kSticker[truth[static_cast<size_t>(s * 9 + e)]];
                    QVERIFY2(std::abs(dlg.Reading(s)[static_cast<size_t>(e)].b - want.blue()) < 30,
                             qPrintable(QStringLiteral("face %1 sticker %2: %3 %4 %5 for %6").arg(s).arg(e).arg(dlg.Reading(s)[static_cast<size_t>(e)].r).arg(dlg.Reading(s)[static_cast<size_t>(e)].g).arg(dlg.Reading(s)[static_cast<size_t>(e)].b).arg(want.name())));
                }
            dlg.GoTo(6);
            QCOMPARE(dlg.Page(), 6);
            QCOMPARE(dlg.Decision().nResult, int(kSolved));
            QCOMPARE(Text(dlg.Colors()), Text(truth));
            QVERIFY(dlg.Decision().doubtful.empty());
            QVERIFY(dlg.NoteLabel()->text().contains("A real cube was read"));
            Shot(dlg, "scan-result.png");
            QVERIFY(dlg.UseButton()->isEnabled());
            bScanned = true;
            dlg.UseButton()->click();
        };
        // A failed check inside the dialog ends it, so that the test goes on.
        QTimer::singleShot(0, this, [&] {
            scan();
            if (!bScanned && pDlg)
                pDlg->reject();
        });
        pAction->trigger();
        QVERIFY(bScanned);
        QCOMPARE(Text(main.m_cube.Colors()), Text(truth));
        QCOMPARE(main.Edit().Census()->Verdict(), CColorCensus::VALID);
        QCOMPARE(main.Edit().UndoStack().count(), nSteps + 1);
        QCOMPARE(main.Edit().UndoStack().undoText(), QString("Scan"));
        main.Edit().m_pUndoAction->trigger();
        QCOMPARE(Text(main.m_cube.Colors()), Text(before));
        main.Edit().m_pRedoAction->trigger();
        QCOMPARE(Text(main.m_cube.Colors()), Text(truth));
    }

    // Two edges read flipped more than not (each sticker between its own
    // colour and its partner's): the decision gives the flipped pair,
    // ringed; one click on one of the four stickers gives it its next likely
    // colour (the one of the likeliest cube with it changed), and the
    // decision around that pin is the true cube.
    void aClickOnARingedStickerSetsAFlippedPairRight()
    {
        const Facelets truth = RandomCube(11);
        // Two edges with white on them: white mixes with any colour into a
        // pale one between the two.
        std::vector<int> edges;
        for (int i = 0; i < cubie::EDGE_COUNT; ++i)
            if (truth[static_cast<size_t>(cubie::kEdgeFacelets[i][0])] == 6 ||
                truth[static_cast<size_t>(cubie::kEdgeFacelets[i][1])] == 6)
                edges.push_back(i);
        QVERIFY(edges.size() >= 2);
        std::array<int, kFaceletCount> partner;
        partner.fill(-1);
        for (int n = 0; n < 2; ++n) {
            const int* pair = cubie::kEdgeFacelets[edges[static_cast<size_t>(n)]];
            partner[static_cast<size_t>(pair[0])] = pair[1];
            partner[static_cast<size_t>(pair[1])] = pair[0];
        }
        const QStringList paths = WritePhotos(m_folder, [&](int f) {
            const QColor own = kSticker[truth[static_cast<size_t>(f)]];
            const int p = partner[static_cast<size_t>(f)];
            return p < 0 ? own : Mix(own, kSticker[truth[static_cast<size_t>(p)]], 0.7);
        }, true);
        CScanCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(dlg.LoadPhotos(paths));
        for (int s = 0; s < 6; ++s)
            dlg.SetCorners(s, ToPhotoQuad(FaceCorners(s)));
        dlg.GoTo(6);
        const scan::ColourDecision first = dlg.Decision();
        QCOMPARE(first.nResult, int(kSolved));
        std::vector<int> mixed;
        for (int f = 0; f < kFaceletCount; ++f)
            if (partner[static_cast<size_t>(f)] >= 0)
                mixed.push_back(f);
        // The flipped pair was taken: every mixed sticker wrong and ringed.
        for (int f : mixed) {
            QCOMPARE(first.colors[static_cast<size_t>(f)], truth[static_cast<size_t>(partner[static_cast<size_t>(f)])]);
            QVERIFY2(first.IsDoubtful(f), qPrintable(QString::number(f)));
        }
        Shot(dlg, "scan-doubtful.png");

        const int f = mixed.front();
        QTest::mouseClick(dlg.NetView(), Qt::LeftButton, {}, dlg.NetView()->FaceletCentre(f));
        QCOMPARE(dlg.Pins()[static_cast<size_t>(f)], truth[static_cast<size_t>(f)]);
        QCOMPARE(Text(dlg.Colors()), Text(truth));
        QCOMPARE(dlg.Decision().nResult, int(kSolved));
        QVERIFY(!dlg.Decision().IsDoubtful(f));
        QVERIFY(dlg.NoteLabel()->text().contains("One sticker is pinned"));
        Shot(dlg, "scan-pinned.png");
        // A right-click unpins: the measurement's own choice again.
        QTest::mouseClick(dlg.NetView(), Qt::RightButton, {}, dlg.NetView()->FaceletCentre(f));
        QCOMPARE(dlg.Pins()[static_cast<size_t>(f)], BYTE(0));
        QCOMPARE(Text(dlg.Colors()), Text(first.colors));
        // Six clicks go round the six colours to the one decided unpinned.
        QSet<int> seen;
        for (int i = 0; i < 6; ++i) {
            QTest::mouseClick(dlg.NetView(), Qt::LeftButton, {}, dlg.NetView()->FaceletCentre(f));
            seen << dlg.Colors()[static_cast<size_t>(f)];
        }
        QCOMPARE(seen.size(), 6);
        QCOMPARE(dlg.Pins()[static_cast<size_t>(f)], BYTE(0));
        QCOMPARE(Text(dlg.Colors()), Text(first.colors));
        // A centre is never pinned.
        QTest::mouseClick(dlg.NetView(), Qt::LeftButton, {}, dlg.NetView()->FaceletCentre(4));
        QCOMPARE(dlg.Pins()[4], BYTE(0));
    }

    // The same face photographed six times: no real cube fits, and the
    // result says why; Use This Cube still puts what was read in the net,
    // where the census tells what is wrong.
    void noRealCubeIsSaidSo()
    {
        const Facelets truth = RandomCube(5);
        const QStringList paths = WritePhotos(m_folder, [&](int f) { return kSticker[truth[static_cast<size_t>(f % 9)]]; });
        CScanCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(dlg.LoadPhotos(paths));
        for (int s = 0; s < 6; ++s)
            dlg.SetCorners(s, ToPhotoQuad(FaceCorners(s)));
        dlg.GoTo(6);
        QCOMPARE(dlg.Decision().nResult, int(kUnsolvable));
        QVERIFY(dlg.NoteLabel()->text().contains("No real cube fits the colours read."));
        QVERIFY(!dlg.Decision().note.empty());
        // The note's reason, after its verdict.
        const QString strNote = QString::fromStdString(dlg.Decision().note);
        QVERIFY(strNote.size() > 40);
        QVERIFY(dlg.NoteLabel()->text().contains(strNote.mid(strNote.indexOf(':') + 2, 30).toHtmlEscaped()));
        // All of it in the tooltip, however long.
        QVERIFY(dlg.NoteLabel()->toolTip().endsWith(strNote.right(30)));
        QVERIFY(!dlg.Decision().doubtful.empty());
        QVERIFY(dlg.UseButton()->isEnabled());
        Shot(dlg, "scan-no-real-cube.png");
    }

    // The steady watch: a face is taken once held within range for half a
    // second, never while it moves, never when dark, and not twice running.
    void steadyWatch_data()
    {
        QTest::addColumn<QString>("moves"); // per 100 ms: s still, m moved, d dark, n a new face
        QTest::addColumn<QString>("takes"); // where the watch says take: t
        QTest::newRow("held still half a second") << "ssssssss" << ".....ttt";
        QTest::newRow("moving all the time") << "mmmmmmmm" << "........";
        QTest::newRow("a move starts the half second again") << "sssmssssss" << ".........t";
        QTest::newRow("dark, however still") << "dddddddd" << "........";
        QTest::newRow("not the face taken last") << "sssssTssssss" << ".....t......";
        QTest::newRow("a new face after the one taken") << "sssssTnnnnnnn" << ".....t.....tt";
    }
    void steadyWatch()
    {
        QFETCH(QString, moves);
        QFETCH(QString, takes);
        CSteadyWatch watch;
        FaceReading face;
        for (size_t k = 0; k < face.size(); ++k)
            face[k] = {120.0 + 10 * k, 80, 60};
        QString got;
        for (int i = 0; i < moves.size(); ++i) {
            const QChar c = moves[i];
            FaceReading r = face;
            if (c == 'm')
                for (auto& x : r)
                    x.g += (i % 2 ? 30 : -30);
            if (c == 'd')
                for (auto& x : r)
                    x = {10, 12, 9};
            if (c == 'n')
                for (auto& x : r)
                    x.r = 250 - x.r;
            bool bTake = watch.Feed(100 * i, r);
            if (c == 'T') {
                QVERIFY(bTake);
                watch.Taken(r);
            }
            got += bTake ? QChar('t') : QChar('.');
        }
        QCOMPARE(got, takes);
    }

    // With no camera the page says so and offers nothing to press; the
    // photos still work (the rest of the dialog is untouched).
    void noCameraIsSaidPlainly()
    {
        if (!CScanCubeDlg::HasCameraPage())
            QSKIP("built without Qt Multimedia: no camera page");
        CScanCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.ShowCameraPage();
#ifdef ZELVORS_HAVE_CAMERA
        if (dlg.Camera() && !dlg.Camera()->Cameras().isEmpty())
            QSKIP("this machine has a camera");
#endif
        QVERIFY(dlg.CameraStatus()->text().contains("No camera was found"));
        auto* pCapture = dlg.Sources()->currentWidget()->findChild<QPushButton*>();
        QVERIFY(pCapture && !pCapture->isEnabled());
        Shot(dlg, "scan-no-camera.png");
        // Leaving the page and coming back asks again without trouble.
        dlg.Sources()->setCurrentIndex(0);
        dlg.ShowCameraPage();
        QVERIFY(dlg.CameraStatus()->text().contains("No camera was found"));
        QVERIFY(m_boxes.isEmpty());
    }

#ifdef ZELVORS_HAVE_CAMERA
    // Frames handed to the camera's sink as a camera would: a face held
    // still in the guide for half a second is taken and the next face shown;
    // the same face held on is not taken again, the next face is.
    void framesHeldStillAreTakenFaceByFace()
    {
        CScanCubeDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.ShowCameraPage();
        QVERIFY(dlg.Camera());
        const Facelets truth = RandomCube(3);
        auto frameOf = [&](int nSlot) {
            FaceColours stickers;
            for (int e = 0; e < 9; ++e)
                stickers[static_cast<size_t>(e)] = kSticker[truth[static_cast<size_t>(nSlot * 9 + e)]];
            // The face filling the guide of a 640 x 480 frame.
            const QRectF guide = GuideRect(QSize(640, 480));
            return FacePhoto(stickers, QPolygonF(guide).mid(0, 4), QSize(640, 480), 5);
        };
        qint64 nMs = 0;
        auto feed = [&](const QImage& image, int nFrames) {
            for (int i = 0; i < nFrames; ++i, nMs += 40) {
                QVideoFrame frame(QVideoFrameFormat(image.size(), QVideoFrameFormat::Format_BGRX8888));
                QVERIFY(frame.map(QVideoFrame::WriteOnly));
                const QImage bgrx = image.convertToFormat(QImage::Format_RGB32);
                for (int y = 0; y < image.height(); ++y)
                    std::memcpy(frame.bits(0) + y * frame.bytesPerLine(0), bgrx.constScanLine(y),
                                static_cast<size_t>(image.width()) * 4);
                frame.unmap();
                frame.setStartTime(nMs * 1000);
                dlg.Camera()->Sink()->setVideoFrame(frame);
            }
        };
        const QImage top = frameOf(0), front = frameOf(1);
        feed(top, 10); // 0.36 s
        QCOMPARE(dlg.Page(), 0);
        QVERIFY(!dlg.IsRead(0));
        Shot(dlg, "scan-camera.png");
        feed(top, 6);
        QCOMPARE(dlg.Page(), 1);
        QVERIFY(dlg.IsRead(0));
        for (int e = 0; e < 9; ++e)
            QVERIFY(std::abs(dlg.Reading(0)[static_cast<size_t>(e)].g -
                             kSticker[truth[static_cast<size_t>(e)]].green()) < 30);
        feed(top, 30);
        QCOMPARE(dlg.Page(), 1);
        QVERIFY(!dlg.IsRead(1));
        feed(front, 16);
        QCOMPARE(dlg.Page(), 2);
        QVERIFY(dlg.IsRead(1));
        QVERIFY(m_boxes.isEmpty());
    }
#endif
};

QTEST_MAIN(TestScan)
#include "test_scan.moc"
