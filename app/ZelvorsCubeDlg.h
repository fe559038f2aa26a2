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
#include <QElapsedTimer>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <atomic>
#include <functional>

class CCubeFiles;
class CEditCommands;
class CStageHeaders;
class QAction;
class QFutureWatcherBase;
class QMenu;
class QMenuBar;
class QProgressDialog;
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
    // The progress bar's range during Solve and the short solve.
    static constexpr int kProgressSteps = 150;
    // The time one move takes at a speed trackbar position, in seconds: the
    // position / 90, and 5 ms at position 0. The speed text and the pace of
    // Play both follow it.
    static double MovePeriod(int nSpeed);

    void EnableControls(bool bEnable);
    void UpdateStepButtons();
    void ClearSolution();
    // Lists a solution (moves in the model's notation, three characters
    // each) under "Your Cube!" and selects that line.
    void ShowSolution(const CString& strMoves);
    // The counts of the listed solution or of a pasted algorithm ("20 HTM ·
    // 27 QTM · 20 STM") as the tooltip of the move count, the "Next:" line and
    // the list; empty to take them away.
    void ShowMetrics(const QString& strMetrics);
    void GoToStep(int nIndex, bool bUndo);
    void UpdateSpeed();
    // The view animates when the Animate box is ticked, and the speed
    // trackbar is usable with it.
    void FollowAnimateSwitch();
    void ArrangeControls(bool bRecord);
    // The smallest client size at which every control of the client area
    // is whole (inside it, and the view and the list not empty) and no two
    // overlap, by the layout's rules; of the sizes that qualify, the one of
    // the least area. The dialog's minimum size is this with the menu bar.
    QSize MinimumClientSize() const;
    // After a solve that did not succeed (any solver's result code): what is
    // wrong with the cube, told and marked (EditCommands.cpp).
    void ShowProblems(int nResult);
    // After a failed solve (either solver): the box for the result, then
    // what is wrong with the cube.
    void ShowSolveFailure(int nResult);
    // The cube a solve works on: the cube as entered, or (pTarget given) the
    // one whose solution turns it into the target. False, the failure shown,
    // when there is none.
    bool CubeToSolve(const BYTE* pTarget, Facelets& colors);
    // Edit > Scan Cube...: a real cube read from photos or the camera
    // (ScanCubeDlg.h), put into the net by UseScannedCube.
    void OnScanCube();
    // The scanned cube into the net as one undo step ("Scan"), the listed
    // solution cleared; false (nothing done) while a command runs.
    bool UseScannedCube(const Facelets& colors);
    QAction* m_pScanAction = nullptr;
    // The Edit menu, the census and keyboard painting (EditCommands.h).
    CEditCommands& Edit() const { return *m_pEdit; }
    // The File menu's cube files and the remembered options (CubeFiles.h).
    CCubeFiles& Files() const { return *m_pFiles; }
    // Says which solver listed the solution just shown ("lbl", "short", "optimal") and
    // the stage of each of its moves, if it has stages, which the list then
    // shows as headers (StageHeaders.h); ClearSolution forgets both.
    void NoteSolution(const QString& strMethod, const std::vector<int>& stages = {});
    QString m_strSolutionMethod;
    std::vector<int> m_solutionStages;
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
    // The short solution at once, then the fewest moves from a worker
    // thread, with its progress and a Cancel (OptimalSolve.cpp).
    void OnSolveOptimal();
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
    friend class CCubeFiles;
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
    // The short solve of the live cube, or (pTarget, 54 colours of a real
    // cube) of the moves that turn it into the target.
    void RunShortSolve(const BYTE* pTarget);
    // Cube > Solve to Pattern...: a stored pattern, the cube on the
    // clipboard or one read from a file, reached by the short solver or in
    // the fewest moves, as the box chooses.
    void AddSolveToPatternCommand(QMenu* pCube);
    void OnSolveToPattern();
    // Cube > Find More Solutions...: up to a dozen solutions of the cube as
    // entered (or to the target of the listed solution), shortest first with
    // their counts, found on a worker thread with a Cancel; after an optimal
    // solve those of the fewest moves, else the short solver's. The one
    // picked is listed (MoreSolutions.cpp).
    void OnFindMoreSolutions();
    // Edit > Scan Cube..., after Fill What Is Determined (ScanCubeDlg.cpp).
    void AddScanCommand();
    // The Cube menu's optimal solve command, likewise.
    void AddOptimalSolveCommand(QMenu* pCube);
    // The optimal solve of the live cube, or (pTarget, 54 colours of a real
    // cube) of the moves that turn it into the target.
    void RunOptimalSolve(const BYTE* pTarget);
    // A long search's window beside the dialog: its progress line (first
    // strFirstLine, or that the short solver's tables are being prepared)
    // and Cancel (SearchBox.cpp).
    void SetUpSearchBox(QProgressDialog& box, const QString& strObjectName, const QString& strTitle,
                        const QString& strFirstLine);
    // Shows the box and keeps the dialog live, the net sealed, until the
    // watcher's search ends or the dialog is closed; Cancel and the close
    // set bCancel. tick (called every few tenths of a second, and once at
    // the end) updates the line.
    void WaitForSearch(QFutureWatcherBase& watcher, QProgressDialog& box, std::atomic<bool>& bCancel,
                       const std::function<void()>& tick);
    // The target the listed solution turns the cube into (null: solved).
    void NoteTarget(const BYTE* pTarget);
    bool m_bSolutionTarget = false;
    Facelets m_solutionTarget{};
    // The listed solution's length when an optimal solve proved it the fewest, else -1.
    int m_nProvenLength = -1;
    // The Solve to Pattern box's last choice: the fewest moves.
    bool m_bPatternFewest = false;
    // The box for a failed short solve (result 1 or 2).
    void OnSize();
    // A moved control's rectangle by its rule at a client size.
    static QRect RuleRect(const Anchor& a, int Wc, int Hc);
    // Every control of the client area where the layout puts it at a client
    // size: the moved ones, the ones that stay, the next move's line and, last,
    // the census.
    QList<QRect> LayoutAt(int Wc, int Hc) const;
    bool LayoutWhole(int Wc, int Hc) const;
    // The next move's line for the list's rectangle.
    QRect NextLineRect(const QRect& rcList) const;
    // The menu bar along the top, the client area below it.
    void PlaceMenuAndClient();
    // Selects a list line without it counting as the user's selection, and
    // scrolls it into sight.
    void SelectLine(int nLine);
    // One step of the list travel, inside a command: the next line's move
    // played, or the current line's move undone, with the list following.
    void StepForward();
    void StepBack();
    // Runs the command once the user's face turns under way are done: true
    // when it was put off (the command then returns at once).
    bool Deferred(void (CZelvorsCubeDlg::*pfnCommand)());
    // The face turn bound to a key, or 0 quarter turns.
    bool HandleFaceKey(const QKeyEvent* pKey, bool bRun);

    QWidget* m_pClient = nullptr;
    CEditCommands* m_pEdit = nullptr;
    CCubeFiles* m_pFiles = nullptr;
    CStageHeaders* m_pStageHeaders = nullptr; // the list's stage headers, made at the first solution
public:
    CStageHeaders* StageHeaders() const { return m_pStageHeaders; }
private:
    QMenuBar* m_pMenuBar = nullptr;
    QList<QAction*> m_commandActions; // unavailable while a command runs
    Anchor m_layout[19] = {};
    bool m_bRecorded = false;
    bool m_bBusy = false;
    bool m_bClosing = false; // Exit was confirmed while a command ran

    // ------------------------------------------------ following a solution
    // (FollowSolution.cpp): the next move marked in the view and named in
    // words and standard notation, list lines in standard notation, and
    // playing the rest of the solution with a pause.
public:
    // The line above the move count: the next move and its position, and the
    // pace while playing.
    QLabel m_staticNext;
    QAction* m_pMarkerAction = nullptr;   // View > Next Move Marker, on by default
    QAction* m_pNotationAction = nullptr; // View > Standard Notation, off by default
    QAction* m_pPlayAction = nullptr;     // View > Play / Pause, key Space

    // Starts playing the rest of the solution, or, while it plays, stops it
    // after the move under way.
    void OnPlay();
    bool IsPlaying() const { return m_bPlaying; }
    // The next move of the listed solution, or empty: none listed, or at its end.
    CString NextMove() const;
    // A model move group in standard notation ("R+." is R, "T-." U'); empty
    // for a group that is no face turn.
    static QString StandardName(const CString& strMove);
    // The list line of a move: DescribeMove's words, with the standard name
    // in front when the option is on.
    QString ListLine(const CString& strMove) const;
    // The measured pace of the present play, in moves per second; 0 until
    // two moves have started.
    double PlayPace() const;

private:
    void CreateFollowMenu(QMenu* pView);
    void InitFollowing();
    // Called by EnableControls: a command other than a played move stops
    // the play; between commands the marker, the line, the list lines and
    // the Play command follow the solution.
    void FollowControls(bool bEnable);
    // The user changed the cube: a play stops and the listed solution,
    // found for another cube, is cleared.
    void OnUserChange();
    void UpdateFollowing();
    void ApplyNotation();
    void PlaceNextLine();
    void PlayNextMove();
    // Space plays or pauses; a press on the list stops a play.
    bool FilterFollowEvent(QObject* pObject, QEvent* pEvent);

    bool m_bPlaying = false;
    bool m_bPlayStep = false; // the played move's own command is running
    int m_nPlayStarts = 0;    // moves started in the present play
    QTimer m_playTimer;       // the next played move, after the pace's gap
    QElapsedTimer m_playClock; // since the first played move started
    qint64 m_nLastStartMs = 0; // when the latest played move started
    CShortSolveTask* m_pShortSolve = nullptr; // made at the first short solve
};
