#pragma once
// The File menu's cube files (CubeFile.h): Open..., Open Recent, Save and
// Save As..., a file named on the command line, a file dropped on the window,
// and the cube kept at Exit for the next run.
//
// Opening reads the whole file first: a bad one changes nothing and is told
// with its line; a good one sets the cube (and lists its solution at its
// step) as one undo step. Saving writes a temporary file beside the target
// and renames it over the target only once every byte is written, so a full
// disk or a read-only folder leaves the old file whole and is told.
//
// The keeper of remembered options (Remember) is the program's own: a dialog
// made without one (as the tests make it) reads and writes no settings.

#include "CubeFile.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CSolutionSheetCommands;
class CZelvorsCubeDlg;
class QAction;
class QMenu;
class QSettings;

class CCubeFiles : public QObject {
    Q_OBJECT

public:
    explicit CCubeFiles(CZelvorsCubeDlg& dlg);
    ~CCubeFiles() override;

    // Adds Open..., Open Recent, Save, Save As... and a separator to the menu.
    void CreateMenu(QMenu* pFile);
    // Once the controls exist: drops on the window, the cube kept at Exit.
    void Attach();

    // Opens a file: true when the cube was set from it; otherwise a box says
    // why and nothing changed.
    bool Open(const QString& strPath);
    // Saves the dialog's cube to a file; false (after a box) when it was not
    // written. The file becomes the current one and heads the recent files.
    bool SaveAs(const QString& strPath);

    // The dialog's state as a file: the cube the listed solution starts from
    // (or the cube as it is when none is listed), the solution, its method,
    // its stages, the step reached and the comments of the file last opened.
    CubeFile Current() const;
    // Sets the dialog from a file read without fault: one undo step.
    bool Apply(const CubeFile& file);

    // Writes bytes to a file atomically: false with the reason in strError.
    static bool WriteAtomically(const QString& strPath, const QByteArray& bytes, QString& strError);
    // Reads a cube file: false with "line N: ..." or what kept it from being read.
    static bool ReadFile(const QString& strPath, CubeFile& file, QString& strError);

    // The settings the program keeps (AppSettings.h); the dialog takes them
    // over: recent files and options are read now and written at Exit.
    void Remember(std::unique_ptr<QSettings> pSettings);
    QSettings* Settings() const { return m_pSettings.get(); }
    // Where the cube of the last run is kept: beside the settings; empty
    // without settings.
    QString LastRunPath() const;
    // Writes the cube at Exit there, and the options with it.
    void KeepLastRun();

    QString CurrentPath() const { return m_strPath; }
    QStringList RecentFiles() const { return m_recent; }
    void SetRecentFiles(const QStringList& files);
    static constexpr int kMaxRecent = 8;
    // The method of the solution listed last ("lbl", "short", "optimal"), remembered.
    QString LastMethod() const { return m_strLastMethod; }
    void SetLastMethod(const QString& strMethod) { m_strLastMethod = strMethod; }

    QAction* m_pOpenAction = nullptr;
    QAction* m_pSaveAction = nullptr;
    QAction* m_pSaveAsAction = nullptr;
    QMenu* m_pRecentMenu = nullptr;
    // Printing the solution and pictures of the cube (SolutionSheet.h).
    CSolutionSheetCommands* Sheet() const { return m_pSheet; }

public slots:
    void OnOpen();
    void OnSave();
    void OnSaveAs();

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    void FillRecentMenu();
    void AddRecent(const QString& strPath);
    bool CanChange() const;

    CZelvorsCubeDlg& m_dlg;
    QString m_strPath;      // the file last opened or saved
    CStringArray m_comments; // its comments, kept when it is saved again
    QStringList m_recent;
    QString m_strLastMethod;
    std::unique_ptr<QSettings> m_pSettings;
    CSolutionSheetCommands* m_pSheet = nullptr;
};
