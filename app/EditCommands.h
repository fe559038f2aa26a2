#pragma once
// The dialog's entry aids: the Edit menu (undo and redo, the clipboard, the
// fill of determined facelets), painting from the keyboard in the net, the
// colour census beside the swatches, and the problems of a cube that does not
// solve, told in words and marked on the cube: after a failed solve, and at
// once while painting as soon as every facelet is painted.
//
// Undo works on whole cubes: every change the user makes (painting with the
// mouse or the keys, face turns from the mouse, the Side menu or its keys,
// Reset, Clear, Shuffle, Paste, the fill) is one step holding the 54 colours
// before and after it. Moves played from the solution list are not steps of
// their own: undo returns to the cube before the last change, and both undo
// and redo clear the listed solution, whose moves were found for another cube.

#include "ColorCensus.h"
#include "Compat.h"
#include "CubeDiagnosis.h"
#include "Facelets.h"
#include "NetCursor.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

class CZelvorsCubeDlg;
class QAction;
class QKeyEvent;
class QLabel;
class QMenuBar;
class QMouseEvent;

class CEditCommands : public QObject {
    Q_OBJECT

public:
    explicit CEditCommands(CZelvorsCubeDlg& dlg);
    ~CEditCommands() override;

    // Adds the Edit menu to the bar; called where the menus are made.
    void CreateMenu(QMenuBar* pBar);
    // Once the controls exist: the census, the view's keys and mouse hooks.
    void Attach();

    // Brackets one change of the cube by a command: whatever the cube went
    // through meanwhile becomes one undo step, named by strText.
    class Record {
    public:
        Record(CEditCommands& edit, const QString& strText);
        ~Record();
        Record(const Record&) = delete;
        Record& operator=(const Record&) = delete;

    private:
        CEditCommands& m_edit;
        QString m_strText;
    };

    QUndoStack& UndoStack() { return m_stack; }
    CColorCensus* Census() const { return m_pCensus; }
    // The census brought up to the live cube now (it also follows the view's
    // ColorsChanged by itself).
    void UpdateCensus();
    // The problems last told after a failed solve, one per line.
    const QString& LastProblems() const { return m_strProblems; }

    // After a solve with a result other than SOLVE_OK: the problems told in
    // a panel over the (then empty) solution list and their facelets crossed
    // on the cube, both until the next change of the cube.
    void ShowProblems(int nResult);
    void HideProblems();
    QLabel* ProblemsPanel() const { return m_pProblems; }

    QAction* m_pUndoAction = nullptr;
    QAction* m_pRedoAction = nullptr;
    QAction* m_pCopyCubeAction = nullptr;
    QAction* m_pPasteCubeAction = nullptr;
    QAction* m_pPasteInverseAction = nullptr;
    QAction* m_pCopySolutionAction = nullptr;
    QAction* m_pFillAction = nullptr;
    // Edit > Cursor Skips Centres, on by default: the keys step and move the
    // cursor past the six centres (Shift+arrow and a click still reach one).
    QAction* m_pSkipCentresAction = nullptr;

public slots:
    void OnUndo();
    void OnRedo();
    void OnCopyCube();
    void OnPasteCube();
    // Paste a move sequence as the solution of the cube meant: the cube set
    // to the solved one with the moves' inverse performed.
    void OnPasteInverse();
    void OnCopySolution();
    void OnFill();

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    friend class CCubeChange;

    // True while the cube may be changed by the user (no command, no turn
    // frames, no solve).
    bool CanChange() const;
    // Runs the command once the user's face turns under way are done; true
    // when it was put off.
    bool Deferred(void (CEditCommands::*pfnCommand)());
    // The view announced a change of the user's: the census follows, and
    // outside a Record the change becomes an undo step of its own.
    void OnColorsChanged(const Facelets& before);
    // An undo step from before to the live cube, if they differ.
    void Commit(const Facelets& before, const QString& strText);
    // Undo and redo: the cube set to the colours, the solution list cleared.
    void Apply(const Facelets& colors);
    // Painting from the keyboard in the net; true when the key was used.
    bool HandleViewKey(const QKeyEvent* pKey);
    void PaintAtCursor(BYTE nColor, int nAdvance);
    // Paste Cube and Paste as Inverse: the clipboard read, a bad text refused
    // with its reason and the cube unchanged.
    void Paste(bool bInverse);
    bool SkipsCentres() const;
    // The cursor stepped in the model's order, or moved by an arrow, past a
    // centre while the option is on (and the move is not onto centres).
    NetCursor StepCursor(const NetCursor& cursor, int nDelta) const;
    NetCursor MoveCursor(const NetCursor& cursor, int dx, int dy, bool bOntoCentres) const;
    // The census says which face the cursor is on while it is shown.
    void UpdateCursorFace();
    // What is wrong told in the panel and crossed on the cube.
    void TellProblems(const CubeDiagnosis& diagnosis);
    void ShowFaceTip(const QMouseEvent* pMouse);

    CZelvorsCubeDlg& m_dlg;
    QUndoStack m_stack;
    CColorCensus* m_pCensus = nullptr;
    Facelets m_recordFrom = {}; // the cube when the outermost Record opened
    int m_nRecords = 0;         // open Records
    bool m_bApplying = false;   // undo or redo is setting the cube
    bool m_bPastedMetrics = false; // the pasted algorithm's counts are shown
    QString m_strProblems;
    QLabel* m_pProblems = nullptr;
    int m_nTipSlot = -1; // the face the net's tooltip names
};
