// Cube files and remembered options through the real dialog: saving and
// opening every part of the state, bad files that change nothing, a save that
// cannot be written leaving the old file whole, a drop on the window, the
// cube kept at Exit, and the settings file read back or, damaged, ignored.

#include "AppSettings.h"
#include "CubeFiles.h"
#include "CubeText.h"
#include "EditCommands.h"
#include "MessageBox.h"
#include "Palette.h"
#include "SolutionSheet.h"
#include "StageHeaders.h"
#include "TempFolder.h"
#include "TestCube.h"
#include "ZelvorsCubeDlg.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QUndoStack>
#include <QUrl>

#include <cstring>
#include <set>

#ifdef __unix__
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

QByteArray ReadAll(const QString& strPath)
{
    QFile f(strPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& strPath, const QByteArray& bytes)
{
    QFile f(strPath);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QString Text(const CCubeSolver& cube)
{
    return QString::fromStdString(FormatCube(cube));
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private:
    QStringList m_boxes;
    testsupport::TempFolder m_folder{"zelvors-files"};

    QString Path(const char* pszName) const { return QString::fromStdString((m_folder.path / pszName).string()); }

    void Ready(CZelvorsCubeDlg& dlg)
    {
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.m_checkAnimate.click();
        QVERIFY(!dlg.m_cube.m_bAnimate);
    }

    // A scrambled cube, solved and stepped three moves on.
    void SolvedAndStepped(CZelvorsCubeDlg& dlg, unsigned nSeed)
    {
        std::mt19937 rng(nSeed);
        MakeRandomLegalCube(dlg.m_cube, rng);
        dlg.OnSolve();
        QVERIFY(dlg.m_arrMoves.size() > 10);
        for (int i = 0; i < 3; ++i)
            dlg.OnNext();
        QCOMPARE(dlg.m_nStep, 3);
    }

private slots:
    void init()
    {
        m_boxes.clear();
        SetMessageBoxHandler([this](QWidget*, const QString& strText, const QString&, QMessageBox::Icon,
                                    QMessageBox::StandardButtons) {
            m_boxes << strText;
            return QMessageBox::Yes;
        });
    }
    void cleanup() { SetMessageBoxHandler({}); }

    void saveThenOpenBringsBackTheWholeState()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        SolvedAndStepped(dlg, 5);
        const QString strLive = Text(dlg.m_cube);
        const CStringArray moves = dlg.m_arrMoves;
        QVERIFY(dlg.Files().SaveAs(Path("a.zcube")));
        QVERIFY(m_boxes.isEmpty());

        CZelvorsCubeDlg other;
        Ready(other);
        QVERIFY(other.Files().Open(Path("a.zcube")));
        QCOMPARE(Text(other.m_cube), strLive);
        QCOMPARE(other.m_arrMoves, moves);
        QCOMPARE(other.m_nStep, 3);
        QCOMPARE(other.m_listSolution.currentRow(), 3);
        QCOMPARE(other.m_strSolutionMethod, QStringLiteral("lbl"));
        QCOMPARE(other.m_solutionStages, dlg.m_cube.m_arrStages);
        QCOMPARE(other.m_listSolution.count(), dlg.m_listSolution.count());
        for (int i = 0; i < dlg.m_listSolution.count(); ++i)
            QCOMPARE(other.m_listSolution.item(i)->text(), dlg.m_listSolution.item(i)->text());
        // Stepping on works from where the file left off.
        other.OnNext();
        dlg.OnNext();
        QCOMPARE(Text(other.m_cube), Text(dlg.m_cube));
        // Saved again, the same bytes.
        QVERIFY(other.Files().SaveAs(Path("b.zcube")));
        other.OnPrevious();
        QCOMPARE(ReadAll(Path("a.zcube")).replace("#: step 3", "#: step 4"), ReadAll(Path("b.zcube")));

        // Opening was one undo step: undo gives the cube before it.
        CZelvorsCubeDlg third;
        Ready(third);
        const int nSteps = third.Edit().UndoStack().count();
        QVERIFY(third.Files().Open(Path("a.zcube")));
        QCOMPARE(third.Edit().UndoStack().count(), nSteps + 1);
        third.Edit().OnUndo();
        QCOMPARE(Text(third.m_cube), QString::fromLatin1(kSolvedText));
        QVERIFY(third.m_arrMoves.empty());
    }

    // The layer-by-layer solution's stages head their first moves in the
    // list, whose lines and steps stay as they are.
    void stagesHeadTheListWithoutBeingLines()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        std::mt19937 rng(77);
        MakeRandomLegalCube(dlg.m_cube, rng);
        dlg.OnSolve();
        const std::vector<int>& stages = dlg.m_solutionStages;
        QCOMPARE(stages, dlg.m_cube.m_arrStages);
        QCOMPARE(stages.size() + 1, dlg.m_arrMoves.size());
        QCOMPARE(dlg.m_listSolution.count(), int(dlg.m_arrMoves.size()));
        QCOMPARE(dlg.m_staticMoves.text(), QStringLiteral("%1 Moves").arg(stages.size()));
        CStageHeaders* pHeaders = dlg.StageHeaders();
        QVERIFY(pHeaders);
        int nHeaders = 0, nLast = 0;
        for (int i = 0; i < dlg.m_listSolution.count(); ++i) {
            QCOMPARE(dlg.m_listSolution.item(i)->text(),
                     i == 0 ? QStringLiteral("Your Cube!") : CZelvorsCubeDlg::DescribeMove(dlg.m_arrMoves[size_t(i)]));
            const int nStage = pHeaders->HeaderAt(i);
            if (nStage >= 0) {
                QVERIFY(nStage > nLast);
                QCOMPARE(nStage, stages[size_t(i - 1)]);
                nLast = nStage;
                ++nHeaders;
                // Its row is taller by the header.
                QVERIFY(dlg.m_listSolution.visualItemRect(dlg.m_listSolution.item(i)).height() >
                        dlg.m_listSolution.visualItemRect(dlg.m_listSolution.item(0)).height());
            }
        }
        QCOMPARE(pHeaders->HeaderAt(1), stages.front());
        QCOMPARE(nHeaders, int(std::set<int>(stages.begin(), stages.end()).size()));
        // Next plays the first move, whatever header is drawn above it.
        CCubeSolver probe;
        BYTE colors[54];
        dlg.m_cube.GetColors(colors);
        LoadCube(probe, colors);
        probe.ExecuteMoves(dlg.m_arrMoves[1]);
        dlg.OnNext();
        QCOMPARE(dlg.m_nStep, 1);
        QCOMPARE(Text(dlg.m_cube), Text(probe));
        // A short solution has none.
        dlg.OnSolveShort();
        QVERIFY(dlg.m_solutionStages.empty());
        QCOMPARE(pHeaders->HeaderAt(1), -1);
    }

    // The sheet: as many pages as its rows need, none split, each page a
    // PDF page; the first shows the starting net's six colours and ink.
    void solutionSheetAsPdf()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        std::mt19937 rng(3);
        MakeRandomLegalCube(dlg.m_cube, rng);
        dlg.OnSolve();
        const SolutionSheetData data = dlg.Files().Sheet()->Data();
        QCOMPARE(data.moves.size() + 1, dlg.m_arrMoves.size());
        QCOMPARE(data.stages, dlg.m_solutionStages);
        const QString strPdf = Path("sheet.pdf");
        int nPages = 0;
        QVERIFY(dlg.Files().Sheet()->ExportPdf(strPdf, &nPages));
        QVERIFY(m_boxes.isEmpty());
        // A row a stage at least, twelve moves at most a row: from two pages up.
        QVERIFY2(nPages >= 2, qPrintable(QString::number(nPages)));
        const QByteArray pdf = ReadAll(strPdf);
        QVERIFY(pdf.startsWith("%PDF-"));
        QCOMPARE(int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ")),
                 nPages);
        // Fewer moves, fewer pages; none, one page.
        dlg.OnReset();
        QVERIFY(dlg.Files().Sheet()->ExportPdf(Path("none.pdf"), &nPages));
        QCOMPARE(nPages, 1);

        const QString strTool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (strTool.isEmpty())
            QSKIP("pdftoppm is not installed: the page's picture is not checked");
        QProcess tool;
        tool.start(strTool, {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                             QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"), strPdf, Path("page")});
        QVERIFY(tool.waitForFinished(60000));
        const QDir folder(Path(""));
        const QStringList pages = folder.entryList({QStringLiteral("page*.png")});
        QCOMPARE(pages.size(), 1);
        const QImage page(folder.filePath(pages[0]));
        QVERIFY(!page.isNull());
        QSet<QRgb> seen;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                seen.insert(page.pixel(x, y) & 0xffffff);
        for (int c = 1; c <= 6; ++c)
            QVERIFY2(seen.contains(Palette::kNet[c] & 0xffffff), qPrintable(QString::number(c)));
        QVERIFY(seen.contains(0));
    }

    void pictureAsPngAndSvg()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        dlg.m_check3D.click(); // the net
        CSolutionSheetCommands& sheet = *dlg.Files().Sheet();
        QVERIFY(sheet.ExportPicture(Path("cube.png")));
        const QImage png(Path("cube.png"));
        QCOMPARE(png.size(), sheet.Picture().size());
        QCOMPARE(png.pixel(png.width() * 9 / 24, png.height() / 2), Palette::kNet[2] | 0xff000000); // the front centre
        QVERIFY(sheet.ExportPicture(Path("cube.svg")));
        const QByteArray svg = ReadAll(Path("cube.svg"));
        QVERIFY(svg.contains("<svg"));
        QVERIFY(svg.contains("#0000ff")); // blue facelets, as shapes
        // The 3D view as shown.
        dlg.m_check3D.click();
        QVERIFY(sheet.ExportPicture(Path("cube3d.png")));
        QCOMPARE(QImage(Path("cube3d.png")).size(), dlg.m_cube.GrabFrame().size());
        sheet.OnCopyPicture();
        QVERIFY(!QGuiApplication::clipboard()->image().isNull());
    }

    void badFilesChangeNothingAndSayTheLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("said");
        QTest::newRow("no cube") << QByteArray("# zelvors-cube 1\n# words\n") << "line 2: the file ends without a cube";
        QTest::newRow("short cube") << QByteArray("# zelvors-cube 1\n1234\n") << "line 2: expected 54 colour digits";
        QTest::newRow("wrong solution")
            << QByteArray("111111111222222222333333333444444444555555555666666666\n#: solution F+.\n")
            << "line 2: the solution does not solve the cube of line 1";
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11) << "line 1: ";
        QTest::newRow("missing") << QByteArray() << "there is no such file";
    }

    void badFilesChangeNothingAndSayTheLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, said);
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        SolvedAndStepped(dlg, 9);
        const QString strBefore = Text(dlg.m_cube);
        const CStringArray moves = dlg.m_arrMoves;
        const int nUndo = dlg.Edit().UndoStack().count();
        const QString strPath = Path("bad.zcube");
        QFile::remove(strPath);
        if (!bytes.isEmpty())
            WriteAll(strPath, bytes);
        QVERIFY(!dlg.Files().Open(strPath));
        QCOMPARE(m_boxes.size(), 1);
        QVERIFY2(m_boxes[0].contains(said), qPrintable(m_boxes[0]));
        QVERIFY(m_boxes[0].contains(QStringLiteral("The cube is left as it was.")));
        QCOMPARE(Text(dlg.m_cube), strBefore);
        QCOMPARE(dlg.m_arrMoves, moves);
        QCOMPARE(dlg.m_nStep, 3);
        QCOMPARE(dlg.Edit().UndoStack().count(), nUndo);
    }

    void aSaveThatFailsLeavesTheOldFileWhole()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        SolvedAndStepped(dlg, 13);
        const QString strPath = Path("kept.zcube");
        const QByteArray old = QByteArray("# zelvors-cube 1\n") + kSolvedText + "\n";
        WriteAll(strPath, old);
        // A folder that does not exist: nothing can be written there.
        QVERIFY(!dlg.Files().SaveAs(Path("no-such-folder/x.zcube")));
        QCOMPARE(m_boxes.size(), 1);
        QVERIFY(m_boxes[0].contains(QStringLiteral("could not be saved")));
#ifdef __unix__
        // A disk that fills up: every write past 100 bytes fails (as on a
        // full disk, the write is refused rather than the process ended).
        struct rlimit old_limit;
        getrlimit(RLIMIT_FSIZE, &old_limit);
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old_limit;
        small.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool bSaved = dlg.Files().SaveAs(strPath);
        setrlimit(RLIMIT_FSIZE, &old_limit);
        QVERIFY(!bSaved);
        QCOMPARE(m_boxes.size(), 2);
        QVERIFY2(m_boxes[1].contains(QStringLiteral("left whole")), qPrintable(m_boxes[1]));
        QCOMPARE(ReadAll(strPath), old);
        // No temporary file is left behind.
        QCOMPARE(QDir(Path("")).entryList(QDir::Files).filter(QStringLiteral("kept")),
                 QStringList{QStringLiteral("kept.zcube")});
#endif
        QVERIFY(dlg.Files().SaveAs(strPath));
        QVERIFY(ReadAll(strPath).contains("#: step 3"));
    }

    void aDroppedFileIsOpened()
    {
        CZelvorsCubeDlg dlg;
        Ready(dlg);
        SolvedAndStepped(dlg, 21);
        const QString strLive = Text(dlg.m_cube);
        QVERIFY(dlg.Files().SaveAs(Path("drop.zcube")));
        CZelvorsCubeDlg other;
        Ready(other);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(Path("drop.zcube"))});
        const QPoint pt = other.m_cube.mapTo(&other, other.m_cube.rect().center());
        QDragEnterEvent enter(pt, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&other, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(pt, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&other, &drop);
        QCOMPARE(Text(other.m_cube), strLive);
        QCOMPARE(other.m_nStep, 3);
    }

    void theCubeAtExitAndTheOptionsComeBack()
    {
        const QString strIni = Path("settings/ZelvorsCube.ini");
        QRect placed;
        {
            CZelvorsCubeDlg dlg;
            dlg.Files().Remember(std::make_unique<QSettings>(strIni, QSettings::IniFormat));
            Ready(dlg);
            SolvedAndStepped(dlg, 31);
            QVERIFY(dlg.Files().SaveAs(Path("recent.zcube")));
            dlg.m_pMarkerAction->setChecked(false);
            dlg.m_pNotationAction->setChecked(true);
            dlg.OnSolveShort();
            QCOMPARE(dlg.m_strSolutionMethod, QStringLiteral("short"));
            dlg.setGeometry(QRect(QPoint(40, 50), dlg.size() + QSize(30, 20)));
            placed = dlg.geometry();
            dlg.reject(); // Exit, answered Yes
            QVERIFY(!dlg.isVisible());
        }
        CZelvorsCubeDlg dlg;
        dlg.Files().Remember(std::make_unique<QSettings>(strIni, QSettings::IniFormat));
        Ready(dlg);
        // The start state is the program's, whatever was remembered.
        QCOMPARE(Text(dlg.m_cube), QString::fromLatin1(kSolvedText));
        QCOMPARE(dlg.m_sliderSpeed.value(), 30);
        QVERIFY(dlg.m_check3D.isChecked());
        QCOMPARE(dlg.Files().RecentFiles(), QStringList{QFileInfo(Path("recent.zcube")).absoluteFilePath()});
        QVERIFY(!dlg.m_pMarkerAction->isChecked());
        QVERIFY(dlg.m_pNotationAction->isChecked());
        QCOMPARE(dlg.Files().LastMethod(), QStringLiteral("short"));
        QCOMPARE(dlg.geometry(), placed);
        QVERIFY(QFileInfo::exists(dlg.Files().LastRunPath()));
        QVERIFY(dlg.Files().Open(dlg.Files().LastRunPath()));
        QCOMPARE(dlg.m_nStep, 0);
        QCOMPARE(dlg.m_strSolutionMethod, QStringLiteral("short"));
        CZelvorsCubeDlg probe;
        Ready(probe);
        QVERIFY(probe.Files().Open(Path("recent.zcube")));
        QCOMPARE(Text(dlg.m_cube), Text(probe.m_cube));
    }

    void aDamagedSettingsFileIsIgnored()
    {
        const QString strIni = Path("damaged/ZelvorsCube.ini");
        QDir().mkpath(Path("damaged"));
        WriteAll(strIni, QByteArray("[files\nrecent=\"\x01\x02\n[view]\nmarker=maybe\nnotation=12\n"
                                    "[window]\ngeometry=@Rect(-99999 -99999 5 5)\n\xff\xfe\x00garbage", 96));
        CZelvorsCubeDlg dlg;
        dlg.Files().Remember(std::make_unique<QSettings>(strIni, QSettings::IniFormat));
        Ready(dlg);
        QVERIFY(dlg.m_pMarkerAction->isChecked());
        QVERIFY(!dlg.m_pNotationAction->isChecked());
        QCOMPARE(Text(dlg.m_cube), QString::fromLatin1(kSolvedText));
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.Files().RecentFiles().isEmpty());
        // Off every screen: the window is placed as without settings.
        QVERIFY(dlg.geometry().x() > -1000);
        // It is written whole again at Exit.
        dlg.reject();
        QSettings again(strIni, QSettings::IniFormat);
        QCOMPARE(again.status(), QSettings::NoError);
    }
};

QTEST_MAIN(TestFiles)
#include "test_files.moc"
