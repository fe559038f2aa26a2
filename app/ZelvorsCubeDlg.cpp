#include "ZelvorsCubeDlg.h"

#include "AboutDlg.h"
#include "CubeFiles.h"
#include "DialogUnits.h"
#include "EditCommands.h"
#include "MessageBox.h"
#include "Notation.h"
#include "Palette.h"
#include "ShortSolve.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QSignalBlocker>

#include <algorithm>
#include <iterator>

// The pictures are compiled into this library; a static library's resources
// must be registered by name before first use.
static void InitResources()
{
    static const bool bDone = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)bDone;
}

namespace {

// The faces the Side menu and its keys turn, in the menu's order.
struct SideItem {
    char letter;
    const char* cw;
    const char* ccw;
    const char* half;
};

constexpr SideItem kSideItems[6] = {
    {'B', "Back\tAlt-B", "Back\tCtrl+B", "Back\tShift+B"},
    {'D', "Down\t Alt-D", "Down\tCtrl+D", "Down\tShift+D"},
    {'F', "Front\t Alt-F", "Front\tCtrl+F", "Front\tShift+F"},
    {'L', "Left\tAlt-L", "Left\tCtrl+L", "Left\tShift+L"},
    {'R', "Right\t Alt-R", "Right\tCtrl+R", "Right\tShift+R"},
    {'T', "Top\tAlt-T", "Top\t Ctrl+T", "Top\tShift+T"},
};

} // namespace

CZelvorsCubeDlg::CZelvorsCubeDlg(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("Zelvors Cube Solver"));
    // Caption, system menu and a resizable frame; no minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    InitResources();

    m_hIcon.addFile(QStringLiteral(":/res/zelvorscube.png"));
    m_hIcon.addFile(QStringLiteral(":/res/zelvorscube-256.png"));
    for (int k = 0; k < 6; ++k) {
        const BYTE nColor = Palette::kSwatchOrder[k];
        m_palette[k].m_color = Palette::kNet[nColor];
        m_palette[k].m_nColor = nColor;
        m_palette[k].m_bSelected = false;
    }

    m_pMenuBar = new QMenuBar(this);
    m_pMenuBar->setObjectName(QStringLiteral("IDR_MAINMENU"));
    CreateMenu();
    m_pClient = new QWidget(this);
    m_pClient->setObjectName(QStringLiteral("client"));

    DoDataExchange();

    // The template's client size, with the menu bar above it.
    const CDialogUnits du(font());
    resize(du.X(kTemplateWidth), du.Y(kTemplateHeight) + m_pMenuBar->sizeHint().height());
    PlaceMenuAndClient();

    qApp->installEventFilter(this);
    OnInitDialog();
    m_pEdit->Attach();
    m_pFiles->Attach();
    setMinimumSize(MinimumClientSize() + QSize(0, m_pMenuBar->sizeHint().height()));
    PrepareShortSolverTablesOnceShown(*this);
}

CZelvorsCubeDlg::~CZelvorsCubeDlg()
{
    qApp->removeEventFilter(this);
    // Before the controls it watches go.
    delete m_pEdit;
    m_pEdit = nullptr;
}

// ---------------------------------------------------------------- template

void CZelvorsCubeDlg::DoDataExchange()
{
    const CDialogUnits du(font());
    QWidget* pClient = m_pClient;
    auto place = [&](QWidget& w, const char* pszId, int x, int y, int cx, int cy) {
        w.setParent(pClient);
        w.setObjectName(QString::fromLatin1(pszId));
        w.setGeometry(du.Map(x, y, cx, cy));
    };

    // Template order, which is also the tab order.
    place(m_listSolution, "IDC_SOLUTION", 382, 26, 101, 206);
    m_listSolution.setSelectionMode(QAbstractItemView::SingleSelection);
    m_listSolution.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_listSolution.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listSolution.setFrameStyle(QFrame::Box | QFrame::Plain);
    static const char* const kSwatchIds[6] = {"IDC_COLOR1", "IDC_COLOR2", "IDC_COLOR3",
                                              "IDC_COLOR4", "IDC_COLOR5", "IDC_COLOR6"};
    for (int k = 0; k < 6; ++k) {
        place(m_palette[k], kSwatchIds[k], 355, 27 + 22 * k, 20, 18);
        m_palette[k].setFocusPolicy(Qt::NoFocus);
    }
    place(m_progress, "IDC_PROGRESS", 7, 218, 337, 14);
    place(m_btnReset, "IDC_RESET", 7, 236, 40, 14);
    place(m_btnShuffle, "IDC_SHUFFLE", 50, 236, 40, 14);
    place(m_btnClear, "IDC_CLEAR", 93, 236, 40, 14);
    place(m_btnSolve, "IDC_SOLVE", 136, 236, 40, 14);
    place(m_btnAbout, "IDC_ABOUT", 179, 236, 40, 14);
    place(m_btnExit, "IDC_EXIT", 222, 236, 40, 14);
    place(m_btnPrevious, "IDC_PREVIOUS", 391, 239, 40, 14);
    place(m_btnNext, "IDC_NEXT", 438, 239, 40, 14);
    place(m_staticMoves, "IDC_MOVES", 424, 14, 59, 8);
    place(m_sliderSpeed, "IDC_SPEED", 135, 14, 102, 11);
    place(m_checkAnimate, "IDC_ANIMATE", 7, 14, 126, 10);
    place(m_check3D, "IDC_3DVIEW", 7, 4, 41, 10);
    place(m_frameCube, "IDC_CUBE", 7, 27, 336, 184);
    place(m_staticSolution, "IDC_STATIC_SOLUTION", 381, 14, 29, 8);

    // No push button is the dialog's default: Enter with no push button
    // focused does nothing (keyPressEvent).
    for (QPushButton* p : {&m_btnReset, &m_btnShuffle, &m_btnClear, &m_btnSolve, &m_btnAbout, &m_btnExit,
                           &m_btnPrevious, &m_btnNext}) {
        p->setAutoDefault(false);
        p->setDefault(false);
    }
    m_btnReset.setText(QStringLiteral("Reset"));
    m_btnShuffle.setText(QStringLiteral("Shuffle"));
    m_btnClear.setText(QStringLiteral("Clear"));
    m_btnSolve.setText(QStringLiteral("Solve"));
    m_btnAbout.setText(QStringLiteral("About..."));
    m_btnExit.setText(QStringLiteral("Exit"));
    m_btnPrevious.setText(QStringLiteral("Previous"));
    m_btnNext.setText(QStringLiteral("Next"));
    m_staticMoves.setText(QStringLiteral("0 Moves"));
    m_staticMoves.setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_staticSolution.setText(QStringLiteral("Solution:"));
    m_checkAnimate.setText(QStringLiteral("Animate - Speed"));
    m_check3D.setText(QStringLiteral("3D View"));

    m_sliderSpeed.setOrientation(Qt::Horizontal);
    m_sliderSpeed.setTickPosition(QSlider::TicksBelow);
    m_sliderSpeed.setFocusPolicy(Qt::ClickFocus); // no tab stop

    // The view fills its bordered placeholder.
    m_frameCube.setFrameStyle(QFrame::Box | QFrame::Plain);
    m_frameCube.setLineWidth(1);
    m_cube.setParent(&m_frameCube);
    m_cube.setGeometry(m_frameCube.contentsRect());
    m_frameCube.installEventFilter(this);

    QWidget* const kTabOrder[] = {&m_listSolution, &m_btnReset,    &m_btnShuffle,   &m_btnClear,
                                  &m_btnSolve,     &m_btnAbout,    &m_btnExit,      &m_btnPrevious,
                                  &m_btnNext,      &m_checkAnimate, &m_check3D};
    for (size_t i = 1; i < std::size(kTabOrder); ++i)
        QWidget::setTabOrder(kTabOrder[i - 1], kTabOrder[i]);

    connect(&m_btnSolve, &QPushButton::clicked, this, &CZelvorsCubeDlg::OnSolve);
    connect(&m_btnExit, &QPushButton::clicked, this, &CZelvorsCubeDlg::OnExit);
    connect(&m_btnClear, &QPushButton::clicked, this, &CZelvorsCubeDlg::OnClear);
    connect(&m_btnAbout, &QPushButton::clicked, this, &CZelvorsCubeDlg::OnAbout);
    connect(&m_btnShuffle, &QPushButton::clicked, this, &CZelvorsCubeDlg::OnShuffle);
    connect(&m_btnReset, &QPushButton::clicked, this, &CZelvorsCubeDlg::OnReset);
    connect(&m_btnPrevious, &QPushButton::clicked, this, &CZelvorsCubeDlg::OnPrevious);
    connect(&m_btnNext, &QPushButton::clicked, this, &CZelvorsCubeDlg::OnNext);
    connect(&m_checkAnimate, &QCheckBox::clicked, this, &CZelvorsCubeDlg::OnAnimate);
    connect(&m_check3D, &QCheckBox::clicked, this, &CZelvorsCubeDlg::On3DView);
    connect(&m_sliderSpeed, &QSlider::valueChanged, this, &CZelvorsCubeDlg::OnHScroll);
    // Only the user's own selections reach the handler: the dialog selects
    // with the list's signals blocked (SelectLine). A click on the current
    // line counts as a selection too.
    connect(&m_listSolution, &QListWidget::currentRowChanged, this,
            [this](int) { OnSelchangeSolution(); });
    connect(&m_listSolution, &QListWidget::itemClicked, this, [this](QListWidgetItem* pItem) {
        if (m_listSolution.row(pItem) == m_nStep && !m_bBusy)
            OnSelchangeSolution();
    });
    for (CColorCtrl& swatch : m_palette)
        connect(&swatch, &CColorCtrl::colorSelected, this, &CZelvorsCubeDlg::OnColorSelected);
}

void CZelvorsCubeDlg::CreateMenu()
{
    QMenu* pFile = m_pMenuBar->addMenu(QStringLiteral("&File"));
    m_pFiles = new CCubeFiles(*this);
    m_pFiles->CreateMenu(pFile);
    connect(pFile->addAction(QStringLiteral("E&xit")), &QAction::triggered, this,
            &CZelvorsCubeDlg::OnExit);
    m_pEdit = new CEditCommands(*this);
    m_pEdit->CreateMenu(m_pMenuBar);
    AddScanCommand();

    QMenu* pCube = m_pMenuBar->addMenu(QStringLiteral("&Cube"));
    m_commandActions << pCube->addAction(QStringLiteral("Reset"), this, &CZelvorsCubeDlg::OnReset);
    m_commandActions << pCube->addAction(QStringLiteral("Shuffle"), this, &CZelvorsCubeDlg::OnShuffle);
    m_commandActions << pCube->addAction(QStringLiteral("Solve"), this, &CZelvorsCubeDlg::OnSolve);
    AddShortSolveCommand(pCube);
    AddSolveToPatternCommand(pCube);
    AddOptimalSolveCommand(pCube);

    QMenu* pSide = m_pMenuBar->addMenu(QStringLiteral("&Side"));
    const struct {
        const char* title;
        int nTurns;
    } kSubmenus[3] = {{"Rotate Clockwise", 1}, {"Rotate Counter-Clockwise", -1}, {"Rotate 180 Degrees", 2}};
    for (const auto& sub : kSubmenus) {
        QMenu* pSub = pSide->addMenu(QString::fromLatin1(sub.title));
        for (const SideItem& item : kSideItems) {
            const char* pszText = sub.nTurns == 1 ? item.cw : sub.nTurns == -1 ? item.ccw : item.half;
            const char chLetter = item.letter;
            const int nTurns = sub.nTurns;
            m_commandActions << pSub->addAction(QString::fromLatin1(pszText), this,
                                                [this, chLetter, nTurns] { OnRotateFace(chLetter, nTurns); });
        }
    }

    QMenu* pView = m_pMenuBar->addMenu(QStringLiteral("&View"));
    pView->addAction(QStringLiteral("2D View"), this, &CZelvorsCubeDlg::On2DViewCommand);
    pView->addAction(QStringLiteral("3D View"), this, &CZelvorsCubeDlg::On3DViewCommand);
    CreateFollowMenu(pView);

    QMenu* pHelp = m_pMenuBar->addMenu(QStringLiteral("&Help"));
    m_commandActions << pHelp->addAction(QStringLiteral("&About..."), this, &CZelvorsCubeDlg::OnAbout);
}

void CZelvorsCubeDlg::OnInitDialog()
{
    ArrangeControls(true);
    ArrangeControls(false);
    m_cube.InitOpenGL();
    setWindowIcon(m_hIcon);

    {
        const QSignalBlocker blocker(m_sliderSpeed);
        m_sliderSpeed.setRange(0, 180);
    }
    m_sliderSpeed.setValue(30);
    m_sliderSpeed.setPageStep(10);
    m_sliderSpeed.setTickInterval(10);
    UpdateSpeed();

    m_checkAnimate.setChecked(true);
    m_check3D.setChecked(true);
    FollowAnimateSwitch();
    On3DView();
    UpdateStepButtons();
    InitFollowing();
}

// ---------------------------------------------------------------- state

CZelvorsCubeDlg::CommandGuard::CommandGuard(CZelvorsCubeDlg& dlg) : m_dlg(dlg)
{
    m_dlg.EnableControls(false);
}

CZelvorsCubeDlg::CommandGuard::~CommandGuard()
{
    if (m_dlg.m_bClosing)
        return;
    m_dlg.EnableControls(true);
    // Turns asked for during the command (a played move) follow it.
    CZelvorsCubeDlg* pDlg = &m_dlg;
    QTimer::singleShot(0, pDlg, [pDlg] {
        if (!pDlg->m_bBusy && !pDlg->m_bClosing)
            pDlg->m_cube.RunQueuedTurns();
    });
}

void CZelvorsCubeDlg::FollowAnimateSwitch()
{
    m_cube.SetAnimate(m_checkAnimate.isChecked());
    m_sliderSpeed.setEnabled(m_checkAnimate.isChecked());
}

void CZelvorsCubeDlg::EnableControls(bool bEnable)
{
    m_bBusy = !bEnable;
    m_listSolution.setEnabled(bEnable);
    for (CColorCtrl& swatch : m_palette)
        swatch.setEnabled(bEnable);
    for (QPushButton* p : {&m_btnSolve, &m_btnClear, &m_btnExit, &m_btnShuffle, &m_btnReset, &m_btnAbout})
        p->setEnabled(bEnable);
    for (QAction* pAction : m_commandActions)
        pAction->setEnabled(bEnable);
    if (bEnable) {
        UpdateStepButtons();
    } else {
        m_btnNext.setEnabled(false);
        m_btnPrevious.setEnabled(false);
    }
    m_listSolution.setFocus();
    FollowControls(bEnable);
}

void CZelvorsCubeDlg::UpdateStepButtons()
{
    m_btnPrevious.setEnabled(m_nStep > 0);
    m_btnNext.setEnabled(m_nStep < m_listSolution.count() - 1);
}

void CZelvorsCubeDlg::ClearSolution()
{
    m_arrMoves.clear();
    NoteSolution(QString());
    NoteTarget(nullptr);
    m_nProvenLength = -1;
    {
        const QSignalBlocker blocker(m_listSolution);
        m_listSolution.clear();
    }
    m_staticMoves.setText(QStringLiteral("Moves"));
    ShowMetrics(QString());
    m_staticMoves.setToolTip(QString());
    m_nStep = 0;
    m_btnPrevious.setEnabled(false);
    m_btnNext.setEnabled(m_nStep < m_listSolution.count() - 1);
}

void CZelvorsCubeDlg::SelectLine(int nLine)
{
    const QSignalBlocker blocker(m_listSolution);
    m_listSolution.setCurrentRow(nLine);
    // The list is disabled while it travels and cannot be scrolled by hand.
    if (QListWidgetItem* pItem = m_listSolution.item(nLine))
        m_listSolution.scrollToItem(pItem, QAbstractItemView::EnsureVisible);
}

// ---------------------------------------------------------------- commands

void CZelvorsCubeDlg::OnReset()
{
    if (m_bBusy || Deferred(&CZelvorsCubeDlg::OnReset))
        return;
    const CEditCommands::Record record(*m_pEdit, QStringLiteral("Reset"));
    const CommandGuard command(*this);
    ClearSolution();
    m_cube.ResetCube();
    m_cube.Repaint();
}

void CZelvorsCubeDlg::OnShuffle()
{
    if (m_bBusy || Deferred(&CZelvorsCubeDlg::OnShuffle))
        return;
    const CEditCommands::Record record(*m_pEdit, QStringLiteral("Shuffle"));
    ClearSolution();
    const CommandGuard command(*this);
    m_cube.Shuffle(&m_progress);
}

void CZelvorsCubeDlg::OnClear()
{
    if (m_bBusy || Deferred(&CZelvorsCubeDlg::OnClear))
        return;
    const CEditCommands::Record record(*m_pEdit, QStringLiteral("Clear"));
    const CommandGuard command(*this);
    ClearSolution();
    m_cube.ClearCube();
    // Shown at once, whatever the animation switch.
    m_cube.Repaint();
}

void CZelvorsCubeDlg::OnSolve()
{
    if (m_bBusy || Deferred(&CZelvorsCubeDlg::OnSolve))
        return;
    ClearSolution();
    m_progress.SetRange(0, kProgressSteps);
    m_progress.SetPos(0);
    const CommandGuard command(*this);
    // The view runs the solve with animation off from start to end; the
    // Animate box, whatever happens to it meanwhile, counts again afterwards.
    m_cube.SetAnimate(false);
    const int nResult = m_cube.Solve(&m_progress);
    if (command.Closing())
        return;
    FollowAnimateSwitch();
    if (nResult == CCubeSolver::SOLVE_OK) {
        ShowSolution(m_cube.GetSolution());
        NoteSolution(QStringLiteral("lbl"), m_cube.m_arrStages);
    } else
        ShowSolveFailure(nResult);
}

void CZelvorsCubeDlg::ShowSolveFailure(int nResult)
{
    if (nResult == CCubeSolver::SOLVE_BAD_CUBELETS) {
        ShowMessageBox(this,
                       QStringLiteral("Cube does not contain proper cubelets.  Check configuration and try again."),
                       QStringLiteral("Configuration Error"), QMessageBox::Warning);
    } else {
        ShowMessageBox(this,
                       QStringLiteral("Cube mis-oriented.  If the configuration you have entered is indeed what "
                                      "you have,\nthen your cube appears to have been disassembled, and "
                                      "re-assembled incorrctly.\nCheck configuration and try again."),
                       QStringLiteral("Unable To Solve Cube"), QMessageBox::Critical);
    }
    ShowProblems(nResult);
}

void CZelvorsCubeDlg::OnExit()
{
    reject();
}

void CZelvorsCubeDlg::accept()
{
    // Enter never closes the dialog.
}

void CZelvorsCubeDlg::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() != Qt::Key_Return && pEvent->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(pEvent);
        return;
    }
    // No push button presses itself on Enter (none is auto-default, so that
    // none becomes the default): the focused one is pressed here, as the
    // platform does.
    auto* pButton = qobject_cast<QPushButton*>(focusWidget());
    if (pButton && pButton->isEnabled() && isAncestorOf(pButton))
        pButton->click();
    else
        accept(); // OnOK
    pEvent->accept();
}

void CZelvorsCubeDlg::reject()
{
    if (m_bClosing)
        return;
    const auto answer = ShowMessageBox(this, QStringLiteral("Are you sure you want to exit?"),
                                       QStringLiteral("Exit!"), QMessageBox::Question,
                                       QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (m_bBusy || m_cube.TurnsUnderWay()) {
        // A command or a turn is running below this call: let it finish its
        // remaining steps at once, unseen, and end the dialog when it returns.
        // Turns and commands still queued are dropped.
        m_bClosing = true;
        m_cube.SetAnimate(false);
        m_cube.DropQueuedTurns();
    }
    QDialog::reject();
}

void CZelvorsCubeDlg::OnAbout()
{
    if (m_bBusy)
        return;
    CAboutDlg dlg(this);
    dlg.exec();
}

void CZelvorsCubeDlg::OnAnimate()
{
    if (m_bClosing)
        return;
    // During Solve the view takes the switch into account only once the
    // solve has returned.
    FollowAnimateSwitch();
}

void CZelvorsCubeDlg::On3DView()
{
    const bool bChecked = m_check3D.isChecked();
    if (bChecked) {
        OnColorSelected(nullptr);
        m_cube.SetPaintColor(0);
    }
    m_cube.Set2DView(!bChecked);
}

void CZelvorsCubeDlg::On2DViewCommand()
{
    m_check3D.setChecked(false);
    On3DView();
}

void CZelvorsCubeDlg::On3DViewCommand()
{
    m_check3D.setChecked(true);
    On3DView();
}

int CZelvorsCubeDlg::OnColorSelected(CColorCtrl* pSender)
{
    CColorCtrl* pChosen = nullptr;
    if (!m_cube.m_b2DView) {
        ShowMessageBox(this,
                       QStringLiteral("Not Yet implemented for 3D view.\nThis feature is only available in "
                                      "2D Mode!. Please Try again Later"),
                       QStringLiteral("Error"), QMessageBox::Critical);
    } else if (pSender) {
        m_cube.SetPaintColor(static_cast<signed char>(pSender->m_nColor));
        pChosen = pSender;
    }
    for (CColorCtrl& swatch : m_palette) {
        if (&swatch == pChosen)
            continue;
        swatch.m_bSelected = false;
        swatch.repaint();
    }
    return 1;
}

void CZelvorsCubeDlg::OnRotateFace(char chLetter, int nQuarterTurns)
{
    if (m_bClosing)
        return;
    // A turn is a change of the cube: it ends a play, and one asked for
    // while a played move runs is made once that move is done.
    if (m_bPlaying)
        OnPlay();
    if (m_bBusy && m_bPlayStep) {
        m_cube.QueueTurn(chLetter, nQuarterTurns);
        return;
    }
    if (m_bBusy)
        return;
    // Queued while another turn's frames run; each turn is its own undo
    // step (CEditCommands follows the view's ColorsChanged).
    m_cube.TurnFace(chLetter, nQuarterTurns);
}

bool CZelvorsCubeDlg::Deferred(void (CZelvorsCubeDlg::*pfnCommand)())
{
    if (!m_cube.TurnsUnderWay())
        return false;
    // The command works on the cube the user will have: after the turns
    // asked for before it.
    m_cube.AfterQueuedTurns([this, pfnCommand] { (this->*pfnCommand)(); });
    return true;
}

// ---------------------------------------------------------------- solution list

QString CZelvorsCubeDlg::DescribeMove(const CString& strMove)
{
    if (strMove.empty())
        return QString();
    const char* pszFace = nullptr;
    const char* kTurns[3] = {nullptr, nullptr, "180"}; // '+', '-', '*'
    switch (strMove[0]) {
    case 'T': pszFace = "Top ", kTurns[0] = "Left", kTurns[1] = "Right"; break;
    case 'D': pszFace = "Bottom ", kTurns[0] = "Right", kTurns[1] = "Left"; break;
    case 'L': pszFace = "Left ", kTurns[0] = "Down", kTurns[1] = "Up"; break;
    case 'R': pszFace = "Right ", kTurns[0] = "Up", kTurns[1] = "Down"; break;
    case 'F': pszFace = "Front ", kTurns[0] = "Clockwise", kTurns[1] = "Counter clockwise"; break;
    case 'B': pszFace = "Back ", kTurns[0] = "Clockwise", kTurns[1] = "Counter clockwise"; break;
    default: return QString();
    }
    QString strLine = QString::fromLatin1(pszFace);
    const char chCode = strMove.size() > 1 ? strMove[1] : '\0';
    if (chCode == '+')
        strLine += QString::fromLatin1(kTurns[0]);
    else if (chCode == '-')
        strLine += QString::fromLatin1(kTurns[1]);
    else if (chCode == '*')
        strLine += QString::fromLatin1(kTurns[2]);
    return strLine;
}

void CZelvorsCubeDlg::ShowSolution(const CString& s)
{
    m_arrMoves.push_back(CString());
    {
        const QSignalBlocker blocker(m_listSolution);
        m_listSolution.addItem(QStringLiteral("Your Cube!"));
    }
    size_t nPos = 0;
    for (CString strMove = s.substr(0, 3); !strMove.empty(); strMove = nPos < s.size() ? s.substr(nPos, 3) : CString()) {
        m_arrMoves.push_back(strMove);
        const QSignalBlocker blocker(m_listSolution);
        m_listSolution.addItem(DescribeMove(strMove));
        nPos += 3;
    }
    SelectLine(0);
    m_nStep = m_listSolution.currentRow();
    m_staticMoves.setText(QString::asprintf("%ld Moves", static_cast<long>(nPos / 3)));
    ShowMetrics(QString::fromStdString(notation::FormatMetrics(notation::CountModelMoves(s))));
    GoToStep(m_nStep, false);
    UpdateStepButtons();
}

void CZelvorsCubeDlg::ShowMetrics(const QString& strMetrics)
{
    for (QWidget* p : std::initializer_list<QWidget*>{&m_staticMoves, &m_staticNext, &m_listSolution})
        p->setToolTip(strMetrics);
}

void CZelvorsCubeDlg::GoToStep(int nIndex, bool bUndo)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_arrMoves.size()))
        return;
    if (bUndo)
        m_cube.UndoMove(m_arrMoves[nIndex]);
    else
        m_cube.ExecuteMoves(m_arrMoves[nIndex]);
}

void CZelvorsCubeDlg::StepBack()
{
    const int a = m_listSolution.currentRow();
    GoToStep(a, true);
    m_nStep = a - 1;
    SelectLine(a - 1);
    m_cube.Repaint();
}

void CZelvorsCubeDlg::StepForward()
{
    const int a = m_listSolution.currentRow();
    m_nStep = a + 1;
    SelectLine(a + 1);
    GoToStep(a + 1, false);
    m_cube.Repaint();
}

void CZelvorsCubeDlg::OnPrevious()
{
    if (Deferred(&CZelvorsCubeDlg::OnPrevious))
        return;
    if (m_listSolution.currentRow() <= 0 || m_bClosing)
        return;
    const CommandGuard command(*this);
    StepBack();
}

void CZelvorsCubeDlg::OnNext()
{
    if (Deferred(&CZelvorsCubeDlg::OnNext))
        return;
    if (m_listSolution.currentRow() >= m_listSolution.count() - 1 || m_bClosing)
        return;
    const CommandGuard command(*this);
    StepForward();
}

void CZelvorsCubeDlg::OnSelchangeSolution()
{
    if (m_bBusy || m_bClosing || Deferred(&CZelvorsCubeDlg::OnSelchangeSolution))
        return;
    const CommandGuard command(*this);
    const int t = m_listSolution.currentRow();
    SelectLine(m_nStep);
    if (t > m_nStep) {
        for (int n = t - m_nStep; n > 0 && !command.Closing(); --n)
            StepForward();
    } else if (t >= 0 && t < m_nStep) {
        for (int n = m_nStep - t; n > 0 && !command.Closing(); --n)
            StepBack();
    }
    if (command.Closing())
        return;
    m_nStep = t;
    m_cube.Repaint();
}

double CZelvorsCubeDlg::MovePeriod(int nSpeed)
{
    return nSpeed == 0 ? 0.005 : nSpeed / 90.0;
}

void CZelvorsCubeDlg::UpdateSpeed()
{
    const int p = m_sliderSpeed.value();
    m_cube.SetDelay(static_cast<quint32>(10 * p));
    m_checkAnimate.setText(QString::asprintf("Animate - Speed %.2f Moves/s", 1.0 / MovePeriod(p)));
}

void CZelvorsCubeDlg::OnHScroll()
{
    UpdateSpeed();
}

// ---------------------------------------------------------------- layout

void CZelvorsCubeDlg::ArrangeControls(bool bRecord)
{
    // Every moved control with its rule, in the order they are handled.
    const struct {
        QWidget* pControl;
        Rule rule;
    } kControls[19] = {
        {&m_frameCube, STRETCH_BOTH},     {&m_palette[0], TOP_RIGHT},       {&m_palette[2], TOP_RIGHT},
        {&m_palette[1], TOP_RIGHT},       {&m_palette[4], TOP_RIGHT},       {&m_palette[3], TOP_RIGHT},
        {&m_palette[5], TOP_RIGHT},       {&m_staticSolution, TOP_RIGHT},   {&m_staticMoves, TOP_RIGHT},
        {&m_listSolution, RIGHT_COLUMN},  {&m_progress, BOTTOM_LEFT},       {&m_btnReset, BOTTOM_LEFT},
        {&m_btnShuffle, BOTTOM_LEFT},     {&m_btnClear, BOTTOM_LEFT},       {&m_btnSolve, BOTTOM_LEFT},
        {&m_btnAbout, BOTTOM_LEFT},       {&m_btnExit, BOTTOM_LEFT},        {&m_btnPrevious, BOTTOM_RIGHT},
        {&m_btnNext, BOTTOM_RIGHT},
    };

    const int Wc = m_pClient->width();
    const int Hc = m_pClient->height();
    for (int n = 0; n < 19; ++n) {
        Anchor& a = m_layout[n];
        if (bRecord) {
            const QRect rc = kControls[n].pControl->geometry();
            const int l = rc.left(), t = rc.top(), r = l + rc.width(), b = t + rc.height();
            const int w = r - l, h = b - t, rm = Wc - r, bm = Hc - b;
            a.pControl = kControls[n].pControl;
            a.rule = kControls[n].rule;
            switch (a.rule) {
            case STRETCH_BOTH: a.v[0] = l, a.v[1] = t, a.v[2] = rm, a.v[3] = bm; break;
            case TOP_RIGHT: a.v[0] = w, a.v[1] = t, a.v[2] = rm, a.v[3] = h; break;
            case RIGHT_COLUMN: a.v[0] = t, a.v[1] = w, a.v[2] = rm, a.v[3] = bm; break;
            case BOTTOM_LEFT: a.v[0] = l, a.v[1] = h, a.v[2] = w, a.v[3] = bm; break;
            case BOTTOM_RIGHT: a.v[0] = w, a.v[1] = h, a.v[2] = rm, a.v[3] = bm; break;
            }
        } else if (m_bRecorded) {
            a.pControl->setGeometry(RuleRect(a, Wc, Hc));
        }
    }
    if (bRecord)
        m_bRecorded = true;
    if (isVisible())
        m_pClient->repaint();
}

QRect CZelvorsCubeDlg::RuleRect(const Anchor& a, int Wc, int Hc)
{
    QRect rc;
    const int* v = a.v;
    switch (a.rule) {
    case STRETCH_BOTH: rc = QRect(v[0], v[1], Wc - v[2] - v[0], Hc - v[3] - v[1]); break;
    case TOP_RIGHT: rc = QRect(Wc - v[2] - v[0], v[1], v[0], v[3]); break;
    case RIGHT_COLUMN: rc = QRect(Wc - v[2] - v[1], v[0], v[1], Hc - v[3] - v[0]); break;
    case BOTTOM_LEFT: rc = QRect(v[0], Hc - v[3] - v[1], v[2], v[1]); break;
    case BOTTOM_RIGHT: rc = QRect(Wc - v[2] - v[0], Hc - v[3] - v[1], v[0], v[1]); break;
    }
    // An extent below zero counts as zero.
    rc.setWidth(std::max(0, rc.width()));
    rc.setHeight(std::max(0, rc.height()));
    return rc;
}

QList<QRect> CZelvorsCubeDlg::LayoutAt(int Wc, int Hc) const
{
    QList<QRect> rects;
    QRect rcList, rcLastSwatch;
    for (const Anchor& a : m_layout) {
        rects << RuleRect(a, Wc, Hc);
        if (a.pControl == &m_listSolution)
            rcList = rects.back();
        else if (a.pControl == &m_palette[5])
            rcLastSwatch = rects.back();
    }
    for (const QWidget* p : {(const QWidget*)&m_check3D, (const QWidget*)&m_checkAnimate,
                             (const QWidget*)&m_sliderSpeed})
        rects << p->geometry();
    rects << NextLineRect(rcList);
    // Last, the census: it keeps its size and its place below the last swatch.
    if (const QWidget* pCensus = m_pEdit ? m_pEdit->Census() : nullptr)
        rects << pCensus->geometry().translated(rcLastSwatch.topLeft() - m_palette[5].geometry().topLeft());
    return rects;
}

bool CZelvorsCubeDlg::LayoutWhole(int Wc, int Hc) const
{
    const QRect rcClient(0, 0, Wc, Hc);
    QList<QRect> rects = LayoutAt(Wc, Hc);
    // The census is drawn edge to edge: it keeps some room to its left, to
    // the view and the progress bar, and below it, to whatever is there.
    if (m_pEdit && m_pEdit->Census()) {
        const CDialogUnits du(font());
        rects.back().adjust(-du.X(4), 0, 0, du.Y(4));
    }
    for (qsizetype i = 0; i < rects.size(); ++i) {
        if (rects[i].isEmpty() || !rcClient.contains(rects[i]))
            return false;
        for (qsizetype j = 0; j < i; ++j)
            if (rects[i].intersects(rects[j]))
                return false;
    }
    return true;
}

QSize CZelvorsCubeDlg::MinimumClientSize() const
{
    // The template's client size, at which the layout was recorded.
    const CDialogUnits du(font());
    const int nWidth = du.X(kTemplateWidth), nHeight = du.Y(kTemplateHeight);
    if (!m_bRecorded || !LayoutWhole(nWidth, nHeight))
        return QSize(nWidth, nHeight);
    // Growing the client only moves the anchored groups apart, so the sizes
    // at which the layout is whole are every size above a staircase: walk it
    // from the template's size, narrower step by step, each width with the
    // least height that serves it.
    QSize best(nWidth, nHeight);
    int h = nHeight;
    for (int w = nWidth; w > 0; --w) {
        while (!LayoutWhole(w, h) && h <= nHeight * 2)
            ++h;
        if (h > nHeight * 2)
            break;
        while (h > 1 && LayoutWhole(w, h - 1))
            --h;
        if (static_cast<long long>(w) * h < static_cast<long long>(best.width()) * best.height())
            best = QSize(w, h);
    }
    return best;
}

QRect CZelvorsCubeDlg::NextLineRect(const QRect& rcList) const
{
    // Along the top of the client area, from beside the 3D View box to the
    // list's right edge, above the move count.
    const CDialogUnits du(font());
    const int nLeft = du.X(60);
    return QRect(nLeft, du.Y(3), std::max(0, rcList.left() + rcList.width() - nLeft), du.Y(9));
}

void CZelvorsCubeDlg::OnSize()
{
    if (!m_pClient->children().isEmpty())
        ArrangeControls(false);
}

void CZelvorsCubeDlg::PlaceMenuAndClient()
{
    const int nMenu = m_pMenuBar->sizeHint().height();
    m_pMenuBar->setGeometry(0, 0, width(), nMenu);
    m_pClient->setGeometry(0, nMenu, width(), std::max(0, height() - nMenu));
}

void CZelvorsCubeDlg::resizeEvent(QResizeEvent* pEvent)
{
    QDialog::resizeEvent(pEvent);
    PlaceMenuAndClient();
    OnSize();
    PlaceNextLine();
}

// ---------------------------------------------------------------- keys

bool CZelvorsCubeDlg::HandleFaceKey(const QKeyEvent* pKey, bool bRun)
{
    const Qt::KeyboardModifiers mods =
        pKey->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier);
    int nTurns = 0;
    if (mods == Qt::AltModifier)
        nTurns = 1;
    else if (mods == Qt::ControlModifier)
        nTurns = -1;
    else if (mods == Qt::ShiftModifier)
        nTurns = 2;
    else
        return false;
    char chLetter = 0;
    switch (pKey->key()) {
    case Qt::Key_B: chLetter = 'B'; break;
    case Qt::Key_D: chLetter = 'D'; break;
    case Qt::Key_F: chLetter = 'F'; break;
    case Qt::Key_L: chLetter = 'L'; break;
    case Qt::Key_R: chLetter = 'R'; break;
    case Qt::Key_T: chLetter = 'T'; break;
    default: return false;
    }
    if (bRun)
        OnRotateFace(chLetter, nTurns);
    return true;
}

bool CZelvorsCubeDlg::eventFilter(QObject* pObject, QEvent* pEvent)
{
    if (FilterFollowEvent(pObject, pEvent))
        return true;
    if (pObject == &m_frameCube && pEvent->type() == QEvent::Resize) {
        m_cube.setGeometry(m_frameCube.contentsRect());
        return false;
    }
    const QEvent::Type type = pEvent->type();
    if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) &&
        QApplication::activeWindow() == this) {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        // The Side menu's keys win over menu mnemonics (Alt-F turns the front
        // face rather than opening File): claimed at the override, run at the press.
        if (HandleFaceKey(pKey, type == QEvent::KeyPress)) {
            pEvent->accept();
            return true;
        }
        // While a command runs the dialog's own keys (Enter, Esc) are not
        // handled, only between commands.
        if (type == QEvent::KeyPress && m_bBusy &&
            (pKey->key() == Qt::Key_Escape || pKey->key() == Qt::Key_Return || pKey->key() == Qt::Key_Enter))
            return true;
    }
    return QDialog::eventFilter(pObject, pEvent);
}
