// Cube > Solve to Pattern...: the moves that turn the live cube into a chosen
// cube, found by the short solver or in the fewest moves (as Solve Optimally,
// with its progress and Cancel) and listed as any solution is, so that
// stepping through them ends on the pattern. Its menu item and that of Cube >
// Find More Solutions... (MoreSolutions.cpp).

#include "ZelvorsCubeDlg.h"

#include "CubeDiagnosis.h"
#include "CubeFormats.h"
#include "CubieCube.h"
#include "MessageBox.h"
#include "Patterns.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char kClipboardItem[] = "The cube on the clipboard";
const char kFileItem[] = "A cube file...";

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
    // The cube to reach, and the solver: at most 20 moves, or the fewest.
    QDialog box(this);
    box.setObjectName(QStringLiteral("IDD_SOLVE_TO_PATTERN"));
    box.setWindowTitle(QStringLiteral("Solve to Pattern"));
    auto* pLayout = new QVBoxLayout(&box);
    pLayout->addWidget(new QLabel(QStringLiteral("Turn the cube into:"), &box));
    auto* pCombo = new QComboBox(&box);
    pCombo->setObjectName(QStringLiteral("IDC_PATTERN"));
    pCombo->addItems(items);
    pLayout->addWidget(pCombo);
    auto* pShort = new QRadioButton(QStringLiteral("In 20 moves or fewer"), &box);
    pShort->setObjectName(QStringLiteral("IDC_PATTERN_SHORT"));
    auto* pFewest = new QRadioButton(QStringLiteral("In the fewest moves (slower; Cancel keeps the best found)"), &box);
    pFewest->setObjectName(QStringLiteral("IDC_PATTERN_FEWEST"));
    (m_bPatternFewest ? pFewest : pShort)->setChecked(true);
    pLayout->addWidget(pShort);
    pLayout->addWidget(pFewest);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    connect(pButtons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    pLayout->addWidget(pButtons);
    if (box.exec() != QDialog::Accepted)
        return;
    const QString strChoice = pCombo->currentText();
    m_bPatternFewest = pFewest->isChecked();

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
    if (m_bPatternFewest)
        RunOptimalSolve(target);
    else
        RunShortSolve(target);
}
