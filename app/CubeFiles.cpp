#include "CubeFiles.h"

#include "AppSettings.h"
#include "CubeFormats.h"
#include "CubeText.h"
#include "EditCommands.h"
#include "MessageBox.h"
#include "SolutionSheet.h"
#include "StageHeaders.h"
#include "ZelvorsCubeDlg.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSaveFile>
#include <QSettings>
#include <QUrl>

#include <cstring>

namespace {

// A cube file is a few hundred bytes; anything far larger is no cube file.
constexpr qint64 kMaxFileSize = 1 << 20;

const QString kFilter = QStringLiteral("Cube files (*.zcube);;All files (*)");

CString Concat(const CStringArray& moves, size_t nFrom, size_t nTo)
{
    CString s;
    for (size_t i = nFrom; i < nTo && i < moves.size(); ++i)
        s += moves[i];
    return s;
}

// The one local file a drag carries, or empty.
QString DraggedFile(const QMimeData* pData)
{
    if (!pData || !pData->hasUrls() || pData->urls().size() != 1 || !pData->urls()[0].isLocalFile())
        return QString();
    return pData->urls()[0].toLocalFile();
}

} // namespace

CCubeFiles::CCubeFiles(CZelvorsCubeDlg& dlg) : QObject(&dlg), m_dlg(dlg) {}

CCubeFiles::~CCubeFiles() = default;

void CCubeFiles::CreateMenu(QMenu* pFile)
{
    m_pOpenAction = pFile->addAction(QStringLiteral("&Open..."), this, &CCubeFiles::OnOpen);
    m_pOpenAction->setShortcuts(QKeySequence::Open);
    m_pRecentMenu = pFile->addMenu(QStringLiteral("Open &Recent"));
    m_pRecentMenu->setObjectName(QStringLiteral("recentMenu"));
    connect(m_pRecentMenu, &QMenu::aboutToShow, this, &CCubeFiles::FillRecentMenu);
    FillRecentMenu();
    m_pSaveAction = pFile->addAction(QStringLiteral("&Save"), this, &CCubeFiles::OnSave);
    m_pSaveAction->setShortcuts(QKeySequence::Save);
    m_pSaveAsAction = pFile->addAction(QStringLiteral("Save &As..."), this, &CCubeFiles::OnSaveAs);
    // No keys: the platform's Save As keys (Ctrl+Shift+S) are the short solve's.
    for (QAction* p : {m_pOpenAction, m_pSaveAction, m_pSaveAsAction})
        p->setShortcutContext(Qt::WindowShortcut);
    // Opening changes the cube: not while a command runs.
    m_dlg.m_commandActions << m_pOpenAction << m_pRecentMenu->menuAction();
    pFile->addSeparator();
    m_pSheet = new CSolutionSheetCommands(m_dlg);
    m_pSheet->CreateFileMenu(pFile);
    pFile->addSeparator();
}

void CCubeFiles::Attach()
{
    m_dlg.setAcceptDrops(true);
    m_dlg.installEventFilter(this);
    connect(&m_dlg, &QDialog::finished, this, &CCubeFiles::KeepLastRun);
    if (QMenu* pEdit = m_dlg.MenuBar()->findChild<QMenu*>(QStringLiteral("editMenu")))
        m_pSheet->CreateEditMenu(pEdit);
}

bool CCubeFiles::CanChange() const
{
    const CCubeWnd& cube = m_dlg.m_cube;
    return !m_dlg.IsBusy() && !cube.IsSolving() && !cube.IsAnimatingTurn() && !cube.TurnsUnderWay();
}

// ---------------------------------------------------------------- the state

CubeFile CCubeFiles::Current() const
{
    CubeFile file;
    m_dlg.m_cube.GetColors(file.colors);
    file.comments = m_comments;
    const CStringArray& moves = m_dlg.m_arrMoves;
    if (moves.size() < 2)
        return file;
    const int nStep = std::clamp(m_dlg.m_nStep, 0, static_cast<int>(moves.size()) - 1);
    // The cube the solution starts from: the moves played so far undone.
    CCubeSolver start;
    LoadCube(start, file.colors);
    start.ExecuteMoves(InverseModelMoves(Concat(moves, 1, static_cast<size_t>(nStep) + 1)));
    ReadCube(start, file.colors);
    file.strSolution = Concat(moves, 1, moves.size());
    file.nStep = nStep;
    file.strMethod = m_dlg.m_strSolutionMethod.toStdString();
    if (m_dlg.m_solutionStages.size() == moves.size() - 1)
        file.stages = m_dlg.m_solutionStages;
    return file;
}

bool CCubeFiles::Apply(const CubeFile& file)
{
    if (!CanChange())
        return false;
    BYTE live[54];
    std::memcpy(live, file.colors, 54);
    if (!file.strSolution.empty()) {
        CCubeSolver cube;
        LoadCube(cube, file.colors);
        cube.ExecuteMoves(file.strSolution.substr(0, 3 * static_cast<size_t>(file.nStep)));
        ReadCube(cube, live);
    }
    {
        const CEditCommands::Record record(m_dlg.Edit(), QStringLiteral("Open"));
        m_dlg.ClearSolution();
        m_dlg.m_cube.SetColors(live);
    }
    m_comments = file.comments;
    if (!file.strSolution.empty()) {
        m_dlg.ShowSolution(file.strSolution);
        m_dlg.NoteSolution(QString::fromStdString(file.strMethod), file.stages);
        m_dlg.m_nStep = file.nStep;
        m_dlg.SelectLine(file.nStep);
        m_dlg.UpdateStepButtons();
        m_dlg.UpdateFollowing();
    }
    m_dlg.m_cube.Repaint();
    return true;
}

// ---------------------------------------------------------------- reading and writing

bool CCubeFiles::ReadFile(const QString& strPath, CubeFile& file, QString& strError)
{
    QFile f(strPath);
    if (!QFileInfo(strPath).isFile()) {
        strError = QFileInfo::exists(strPath) ? QStringLiteral("it is no file") : QStringLiteral("there is no such file");
        return false;
    }
    if (f.size() > kMaxFileSize) {
        strError = QStringLiteral("it is far too large for a cube file");
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        strError = f.errorString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        strError = f.errorString();
        return false;
    }
    CString strWhy;
    if (!ReadCubeFile(bytes.toStdString(), file, strWhy)) {
        strError = QString::fromStdString(strWhy);
        return false;
    }
    return true;
}

bool CCubeFiles::WriteAtomically(const QString& strPath, const QByteArray& bytes, QString& strError)
{
    QSaveFile f(strPath);
    if (!f.open(QIODevice::WriteOnly)) {
        strError = f.errorString();
        return false;
    }
    if (f.write(bytes) != bytes.size()) {
        strError = f.errorString();
        f.cancelWriting();
        return false;
    }
    // Flushed and checked before the rename: QSaveFile's own commit takes a
    // short write (a disk filling up) for a whole one.
    if (!f.flush() || f.size() != bytes.size()) {
        strError = f.error() != QFileDevice::NoError ? f.errorString() : QStringLiteral("the disk is full");
        f.cancelWriting();
        return false;
    }
    // The temporary file is renamed over the old one here; on any failure it
    // is removed and the old file stays as it was.
    if (!f.commit()) {
        strError = f.errorString();
        return false;
    }
    return true;
}

bool CCubeFiles::Open(const QString& strPath)
{
    const QString strCaption = QStringLiteral("Open");
    if (!CanChange())
        return false;
    CubeFile file;
    QString strError;
    if (!ReadFile(strPath, file, strError)) {
        ShowMessageBox(&m_dlg,
                       QStringLiteral("%1 could not be opened: %2.\n\nThe cube is left as it was.")
                           .arg(QDir::toNativeSeparators(strPath), strError),
                       strCaption, QMessageBox::Warning);
        return false;
    }
    if (!Apply(file))
        return false;
    m_strPath = strPath == LastRunPath() ? QString() : strPath;
    if (!m_strPath.isEmpty())
        AddRecent(m_strPath);
    return true;
}

bool CCubeFiles::SaveAs(const QString& strPath)
{
    QString strError;
    if (!WriteAtomically(strPath, QByteArray::fromStdString(WriteCubeFile(Current())), strError)) {
        ShowMessageBox(&m_dlg,
                       QStringLiteral("The cube could not be saved as %1: %2.\n\nNothing was lost: a file "
                                      "that was there before is left whole. Free some space, or choose "
                                      "another folder with Save As...")
                           .arg(QDir::toNativeSeparators(strPath), strError),
                       QStringLiteral("Save"), QMessageBox::Warning);
        return false;
    }
    m_strPath = strPath;
    AddRecent(strPath);
    return true;
}

// ---------------------------------------------------------------- commands

void CCubeFiles::OnOpen()
{
    if (!CanChange())
        return;
    const QString strPath = QFileDialog::getOpenFileName(&m_dlg, QStringLiteral("Open Cube"),
                                                         QFileInfo(m_strPath).absolutePath(), kFilter);
    if (!strPath.isEmpty())
        Open(strPath);
}

void CCubeFiles::OnSave()
{
    if (m_strPath.isEmpty())
        OnSaveAs();
    else
        SaveAs(m_strPath);
}

void CCubeFiles::OnSaveAs()
{
    QString strPath = QFileDialog::getSaveFileName(&m_dlg, QStringLiteral("Save Cube"),
                                                   m_strPath.isEmpty() ? QStringLiteral("cube.zcube") : m_strPath,
                                                   kFilter);
    if (strPath.isEmpty())
        return;
    if (QFileInfo(strPath).suffix().isEmpty())
        strPath += QStringLiteral(".") + QLatin1String(kCubeFileExtension);
    SaveAs(strPath);
}

// ---------------------------------------------------------------- recent files

void CCubeFiles::SetRecentFiles(const QStringList& files)
{
    m_recent.clear();
    for (const QString& s : files)
        if (!s.isEmpty() && !m_recent.contains(s) && m_recent.size() < kMaxRecent)
            m_recent << s;
}

void CCubeFiles::AddRecent(const QString& strPath)
{
    const QString strAbsolute = QFileInfo(strPath).absoluteFilePath();
    QStringList files = m_recent;
    files.removeAll(strAbsolute);
    files.prepend(strAbsolute);
    SetRecentFiles(files);
}

void CCubeFiles::FillRecentMenu()
{
    m_pRecentMenu->clear();
    const QString strLast = LastRunPath();
    if (!strLast.isEmpty() && QFileInfo::exists(strLast)) {
        m_pRecentMenu->addAction(QStringLiteral("&Cube of the Last Run"), this, [this, strLast] { Open(strLast); });
        m_pRecentMenu->addSeparator();
    }
    int n = 0;
    for (const QString& strPath : m_recent) {
        ++n;
        QAction* p = m_pRecentMenu->addAction(
            QStringLiteral("&%1 %2").arg(n).arg(QFileInfo(strPath).fileName().replace(QLatin1Char('&'),
                                                                                       QStringLiteral("&&"))),
            this, [this, strPath] { Open(strPath); });
        p->setToolTip(QDir::toNativeSeparators(strPath));
        p->setStatusTip(QDir::toNativeSeparators(strPath));
    }
    if (m_pRecentMenu->isEmpty()) {
        m_pRecentMenu->addAction(QStringLiteral("(none)"))->setEnabled(false);
        return;
    }
    if (!m_recent.isEmpty()) {
        m_pRecentMenu->addSeparator();
        m_pRecentMenu->addAction(QStringLiteral("C&lear the List"), this, [this] { m_recent.clear(); });
    }
}

// ---------------------------------------------------------------- settings and the last run

void CCubeFiles::Remember(std::unique_ptr<QSettings> pSettings)
{
    m_pSettings = std::move(pSettings);
    if (m_pSettings)
        AppSettings::Restore(*m_pSettings, m_dlg);
}

QString CCubeFiles::LastRunPath() const
{
    if (!m_pSettings)
        return QString();
    return QFileInfo(m_pSettings->fileName()).absolutePath() + QStringLiteral("/last-run.zcube");
}

void CCubeFiles::KeepLastRun()
{
    if (!m_pSettings)
        return;
    QDir().mkpath(QFileInfo(LastRunPath()).absolutePath());
    QString strError;
    // Nothing to tell at Exit: a cube that could not be kept is simply not offered.
    WriteAtomically(LastRunPath(), QByteArray::fromStdString(WriteCubeFile(Current())), strError);
    // A damaged file is not read; it is written anew.
    if (m_pSettings->status() != QSettings::NoError) {
        const QString strFile = m_pSettings->fileName();
        m_pSettings.reset();
        QFile::remove(strFile);
        m_pSettings = std::make_unique<QSettings>(strFile, QSettings::IniFormat);
    }
    AppSettings::Store(*m_pSettings, m_dlg);
}

// ---------------------------------------------------------------- drops

bool CCubeFiles::eventFilter(QObject* pObject, QEvent* pEvent)
{
    if (pObject != &m_dlg)
        return false;
    switch (pEvent->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* pDrag = static_cast<QDragMoveEvent*>(pEvent);
        if (!DraggedFile(pDrag->mimeData()).isEmpty() && CanChange())
            pDrag->acceptProposedAction();
        else
            pDrag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* pDrop = static_cast<QDropEvent*>(pEvent);
        const QString strPath = DraggedFile(pDrop->mimeData());
        if (strPath.isEmpty())
            return false;
        pDrop->acceptProposedAction();
        Open(strPath);
        return true;
    }
    default: return false;
    }
}

// ---------------------------------------------------------------- the dialog's side

void CZelvorsCubeDlg::NoteSolution(const QString& strMethod, const std::vector<int>& stages)
{
    m_strSolutionMethod = strMethod;
    if (!strMethod.isEmpty() && m_pFiles)
        m_pFiles->SetLastMethod(strMethod);
    m_solutionStages = stages;
    if (!m_pStageHeaders) {
        m_pStageHeaders = new CStageHeaders(*this);
        m_listSolution.setItemDelegate(m_pStageHeaders);
    }
    m_pStageHeaders->Refresh();
}
