#pragma once
// The program's main window: the cube view, the palette, the solution list
// with its stepping buttons, the animation switch and speed trackbar, the
// progress bar and the commands. Every command runs to completion inside its
// handler; between moves the view's wait hook keeps the window live, and the
// dialog disables its command controls for the duration (a CommandGuard
// around EnableControls). The view's settings are written through its
// setters; Solve is run through the view, which seals it from the user.

#include "ColorCtrl.h"
#include "CubeWnd.h"
#include "ProgressBar.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

class QAction;
class QMenu;
class QMenuBar;
class CShortSolveTask;

class CZelvorsCubeDlg : public QDialog {
    Q_OBJECT

public:
    // Brackets one command: the command controls are disabled for the life
    // of the guard (EnableControls(false)) and enabled again at its end
    // (EnableControls(true)), unless Exit was confirmed meanwhile: a command
    // that finds Closing() true returns at once and the controls are left
    // alone, since the dialog is ending.
    class CommandGuard {
    public:
        explicit CommandGuard(CZelvorsCubeDlg& dlg);
        ~CommandGuard();
        CommandGuard(const CommandGuard&) = delete;
        CommandGuard& operator=(const CommandGuard&) = delete;
        bool Closing() const { return m_dlg.m_bClosing; }

    private:
        CZelvorsCubeDlg& m_dlg;
    };

    explicit CZelvorsCubeDlg(QWidget* pParent = nullptr);
    ~CZelvorsCubeDlg() override;

    // The template's size in dialog units.
    static constexpr int kTemplateWidth = 490;
    static constexpr int kTemplateHeight = 260;

    void EnableControls(bool bEnable);
    void UpdateStepButtons();
    void ClearSolution();
    void ShowSolution();
    void GoToStep(int nIndex, bool bUndo);
    void UpdateSpeed();
    // The view animates when the Animate box is ticked, and the speed
    // trackbar is usable with it.
    void FollowAnimateSwitch();
    void ArrangeControls(bool bRecord);
    // Line of the solution list for a 3-character move.
    static QString DescribeMove(const CString& strMove);

    // The area below the menu bar that holds the controls (the client area).
    QWidget* Client() const { return m_pClient; }
    QMenuBar* MenuBar() const { return m_pMenuBar; }
    // True between EnableControls(false) and EnableControls(true).
    bool IsBusy() const { return m_bBusy; }

public slots:
    void OnReset();
    void OnShuffle();
    void OnClear();
    void OnSolve();
    // Solves on a worker thread in 20 moves or fewer; otherwise as Solve
    // from the user's side (ShortSolve.cpp).
    void OnSolveShort();
    void OnExit();
    void OnAbout();
    void OnAnimate();
    void On3DView();
    void OnPrevious();
    void OnNext();
    void OnSelchangeSolution();
    void OnHScroll();
    int OnColorSelected(CColorCtrl* pSender);

    // Menu commands.
    void OnRotateFace(char chLetter, int nQuarterTurns);
    void On2DViewCommand();
    void On3DViewCommand();

public:
    // Enter: ignored. Esc, Exit and the close box: the Exit confirmation.
    void accept() override;  // OnOK
    void reject() override;  // OnCancel

    QIcon m_hIcon;
    QCheckBox m_check3D;
    QCheckBox m_checkAnimate;
    QListWidget m_listSolution;
    QLabel m_staticMoves;
    QSlider m_sliderSpeed;
    CColorCtrl m_palette[6];
    CProgressBar m_progress;
    CStringArray m_arrMoves;
    QFrame m_frameCube; // the view's bordered placeholder
    CCubeWnd m_cube;
    int m_nStep = -1;

    QPushButton m_btnReset;
    QPushButton m_btnShuffle;
    QPushButton m_btnClear;
    QPushButton m_btnSolve;
    QPushButton m_btnAbout;
    QPushButton m_btnExit;
    QPushButton m_btnPrevious;
    QPushButton m_btnNext;
    QLabel m_staticSolution;

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    // Enter: a focused push button is pressed, otherwise OnOK (nothing).
    void keyPressEvent(QKeyEvent* pEvent) override;
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    enum Rule { STRETCH_BOTH, TOP_RIGHT, RIGHT_COLUMN, BOTTOM_LEFT, BOTTOM_RIGHT };
    struct Anchor {
        QWidget* pControl;
        Rule rule;
        int v[4]; // the four recorded values of the rule
    };

    void DoDataExchange();
    void OnInitDialog();
    void CreateMenu();
    // The Cube menu's short solve command, unavailable while a command runs.
    void AddShortSolveCommand(QMenu* pCube);
    // The box for a failed short solve (result 1 or 2).
    void ShowShortSolveFailure(int nResult);
    void OnSize();
    // The menu bar along the top, the client area below it.
    void PlaceMenuAndClient();
    // Selects a list line without it counting as the user's selection, and
    // scrolls it into sight.
    void SelectLine(int nLine);
    // One step of the list travel, inside a command: the next line's move
    // played, or the current line's move undone, with the list following.
    void StepForward();
    void StepBack();
    // The face turn bound to a key, or 0 quarter turns.
    bool HandleFaceKey(const QKeyEvent* pKey, bool bRun);

    QWidget* m_pClient = nullptr;
    QMenuBar* m_pMenuBar = nullptr;
    QList<QAction*> m_commandActions; // unavailable while a command runs
    Anchor m_layout[19] = {};
    bool m_bRecorded = false;
    bool m_bBusy = false;
    bool m_bClosing = false; // Exit was confirmed while a command ran
    CShortSolveTask* m_pShortSolve = nullptr; // made at the first short solve
};
