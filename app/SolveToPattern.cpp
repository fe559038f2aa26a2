// Cube > Solve to Pattern...: the moves that turn the live cube into a chosen
// cube, found by the short solver and listed as any solution is, so that
// stepping through them ends on the pattern. Cube > Find More Solutions...:
// several short solutions of the cube, each with its counts, the one picked
// listed.

#include "ZelvorsCubeDlg.h"

#include "CubeDiagnosis.h"
#include "CubeFormats.h"
#include "CubieCube.h"
#include "MessageBox.h"
#include "Notation.h"
#include "Patterns.h"
#include "ShortSolver.h"
#include "Solutions.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QGuiApplication>
#include <QMenu>

namespace {

const char kClipboardItem[] = "The cube on the clipboard";
const char kFileItem[] = "A cube file...";
constexpr size_t kMoreSolutions = 12; // offered by Find More Solutions

// A cube from text: the whole of it, or else its first line that holds one
// (Copy Cube writes two lines). A move sequence stands for the cube it makes.
bool ReadTargetText(const QString& strText, BYTE colors[54], QString& strError)
{
    CubeTextReading reading = ReadCubeOrMoves(strText.toStdString());
    if (reading.kind == CubeTextKind::NONE)
        for (const QString& line : strText.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const CubeTextReading one = ReadCubeOrMoves(line.toStdString());
            if (one.kind != CubeTextKind::NONE) {
                reading = one;
                break;
            }
        }
    if (reading.kind == CubeTextKind::NONE) {
        strError = strText.trimmed().isEmpty() ? QStringLiteral("There is no text.")
                                               : QString::fromStdString(reading.strError);
        return false;
    }
    std::copy(std::begin(reading.colors), std::end(reading.colors), colors);
    return true;
}

} // namespace

void CZelvorsCubeDlg::AddSolveToPatternCommand(QMenu* pCube)
{
    QAction* pAction = pCube->addAction(QStringLiteral("Solve to Pattern..."), this,
                                        &CZelvorsCubeDlg::OnSolveToPattern);
    pAction->setObjectName(QStringLiteral("ID_CUBE_SOLVE_TO_PATTERN"));
    m_commandActions << pAction;
    QAction* pMore = pCube->addAction(QStringLiteral("Find More Solutions..."), this,
                                      &CZelvorsCubeDlg::OnFindMoreSolutions);
    pMore->setObjectName(QStringLiteral("ID_CUBE_FIND_MORE_SOLUTIONS"));
    m_commandActions << pMore;
}

void CZelvorsCubeDlg::OnFindMoreSolutions()
{
    if (m_bBusy || Deferred(&CZelvorsCubeDlg::OnFindMoreSolutions))
        return;
    const QString strTitle = QStringLiteral("Find More Solutions");
    if (m_nStep != 0) {
        ShowMessageBox(this, QStringLiteral("Go back to \"Your Cube!\" first: the solutions are found for the "
                                            "cube as entered."),
                       strTitle, QMessageBox::Information);
        return;
    }
    BYTE colors[54];
    m_cube.GetColors(colors);
    std::vector<std::string> solutions;
    int nResult = 0;
    {
        // Up to a few seconds while the tables are made, then a fraction of one.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        nResult = SolveShortSeveral(colors, shortsolver::kDefaultMaxLength, kMoreSolutions, solutions);
        QGuiApplication::restoreOverrideCursor();
    }
    if (nResult != CCubeSolver::SOLVE_OK) {
        ShowSolveFailure(nResult);
        return;
    }
    QStringList items;
    for (const std::string& strMoves : solutions) {
        CString strStandard, strError;
        FormatStandardMoves(strMoves, strStandard, strError);
        items << QString::fromStdString(notation::FormatMetrics(notation::CountModelMoves(strMoves)) + "   " +
                                        strStandard);
    }
    bool bOk = false;
    const QString strChoice = QInputDialog::getItem(
        this, strTitle, QStringLiteral("%1 solutions, shortest first:").arg(items.size()), items, 0, false, &bOk);
    const int nPicked = static_cast<int>(items.indexOf(strChoice));
    if (!bOk || nPicked < 0)
        return;
    ClearSolution();
    ShowSolution(solutions[static_cast<size_t>(nPicked)]);
}

void CZelvorsCubeDlg::OnSolveToPattern()
{
    if (m_bBusy || Deferred(&CZelvorsCubeDlg::OnSolveToPattern))
        return;
    size_t nPatterns = 0;
    const CubePattern* patterns = CubePatterns(nPatterns);
    QStringList items;
    for (size_t i = 0; i < nPatterns; ++i)
        items << QString::fromLatin1(patterns[i].pszName);
    items << QString::fromLatin1(kClipboardItem) << QString::fromLatin1(kFileItem);
    bool bOk = false;
    const QString strChoice =
        QInputDialog::getItem(this, QStringLiteral("Solve to Pattern"),
                              QStringLiteral("Turn the cube into:"), items, 0, false, &bOk);
    if (!bOk)
        return;

    const QString strTitle = QStringLiteral("Solve to Pattern");
    BYTE target[54] = {};
    QString strError;
    bool bRead = false;
    const int nIndex = static_cast<int>(items.indexOf(strChoice));
    if (nIndex >= 0 && nIndex < static_cast<int>(nPatterns)) {
        bRead = ReadTargetText(QString::fromLatin1(patterns[nIndex].pszCube), target, strError);
    } else if (strChoice == QLatin1String(kClipboardItem)) {
        bRead = ReadTargetText(QApplication::clipboard()->text(), target, strError);
    } else {
        const QString strPath = QFileDialog::getOpenFileName(this, QStringLiteral("Cube File"));
        if (strPath.isEmpty())
            return;
        QFile file(strPath);
        if (!file.open(QIODevice::ReadOnly)) {
            strError = file.errorString();
        } else {
            // A cube line is short: more than this is no cube file.
            bRead = ReadTargetText(QString::fromUtf8(file.read(64 * 1024)), target, strError);
        }
    }
    if (bRead && cubie::ReadVerdict(target) != kSolved) {
        bRead = false;
        strError = QString::fromStdString(DiagnoseCube(target).Summary());
    }
    if (!bRead) {
        ShowMessageBox(this,
                       QStringLiteral("%1 holds no cube to solve to; nothing was done.\n\n%2")
                           .arg(strChoice == QLatin1String(kClipboardItem) ? QStringLiteral("The clipboard")
                                                                           : QStringLiteral("The file"),
                                strError),
                       strTitle, QMessageBox::Warning);
        return;
    }
    RunShortSolve(target);
}
