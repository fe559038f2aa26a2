#include "EditCommands.h"

#include "CubeDiagnosis.h"
#include "CubeFormats.h"
#include "CubeText.h"
#include "MessageBox.h"
#include "Palette.h"
#include "ZelvorsCubeDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolTip>
#include <QUndoCommand>
#include <QWindow>

#include <algorithm>
#include <cstring>

// One undo step: the whole cube before and after a change. Pushing it does
// not apply it again: the change has already been made.
class CCubeChange : public QUndoCommand {
public:
    CCubeChange(CEditCommands& edit, const Facelets& before, const Facelets& after, const QString& strText)
        : QUndoCommand(strText), m_edit(edit), m_before(before), m_after(after)
    {
    }

    void undo() override { m_edit.Apply(m_before); }
    void redo() override
    {
        if (m_bPushed)
            m_edit.Apply(m_after);
        m_bPushed = true;
    }

private:
    CEditCommands& m_edit;
    const Facelets m_before;
    const Facelets m_after;
    bool m_bPushed = false;
};

namespace {

QString FromStd(const CString& s)
{
    return QString::fromStdString(s);
}

// The colour a key paints, or -1: the digits 1-6 as the 54-digit format and
// the standard facelet string give them (1 yellow U, 2 blue F, 3 red R,
// 4 orange L, 5 green B, 6 white D; each swatch shows its digit and letter)
// and the colours' initial letters.
int ColorOfKey(int nKey)
{
    if (nKey >= Qt::Key_1 && nKey <= Qt::Key_6)
        return 1 + (nKey - Qt::Key_1);
    switch (nKey) {
    case Qt::Key_Y: return 1;
    case Qt::Key_B: return 2;
    case Qt::Key_R: return 3;
    case Qt::Key_O: return 4;
    case Qt::Key_G: return 5;
    case Qt::Key_W: return 6;
    default: return -1;
    }
}

// Reads a pasted text: the whole of it, or else each of its lines when they
// all hold the same cube (Copy Cube writes the digits and the facelet string
// on two lines).
CubeTextReading ReadPasted(const QString& strText, bool bInverse)
{
    CubeTextReading reading = ReadCubeOrMoves(strText.toStdString(), bInverse);
    if (reading.kind != CubeTextKind::NONE)
        return reading;
    const QStringList lines = strText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() < 2)
        return reading;
    CubeTextReading first;
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const CubeTextReading one = ReadCubeOrMoves(line.toStdString());
        if (one.kind == CubeTextKind::NONE || one.kind == CubeTextKind::STANDARD_MOVES)
            return reading;
        if (first.kind == CubeTextKind::NONE)
            first = one;
        else if (!std::equal(std::begin(first.colors), std::end(first.colors), std::begin(one.colors)))
            return reading;
    }
    return first.kind == CubeTextKind::NONE ? reading : first;
}

} // namespace

CEditCommands::CEditCommands(CZelvorsCubeDlg& dlg) : QObject(&dlg), m_dlg(dlg)
{
    m_stack.setUndoLimit(1000);
}

CEditCommands::~CEditCommands()
{
    CCubeWnd& cube = m_dlg.m_cube;
    cube.removeEventFilter(this);
    if (cube.m_hDC)
        cube.m_hDC->removeEventFilter(this);
    m_dlg.m_listSolution.removeEventFilter(this);
    delete m_pCensus;
    delete m_pProblems;
}

void CEditCommands::CreateMenu(QMenuBar* pBar)
{
    QMenu* pEdit = pBar->addMenu(QStringLiteral("&Edit"));
    pEdit->setObjectName(QStringLiteral("editMenu"));
    // Qt's own undo and redo actions follow the stack (enabled with it); the
    // texts stay the menu's own, without the step's name.
    m_pUndoAction = m_stack.createUndoAction(pEdit, QStringLiteral("&Undo"));
    m_pRedoAction = m_stack.createRedoAction(pEdit, QStringLiteral("&Redo"));
    // After the stack's own connection, which names the step.
    connect(&m_stack, &QUndoStack::undoTextChanged, m_pUndoAction,
            [this] { m_pUndoAction->setText(QStringLiteral("&Undo")); });
    connect(&m_stack, &QUndoStack::redoTextChanged, m_pRedoAction,
            [this] { m_pRedoAction->setText(QStringLiteral("&Redo")); });
    // The stack's own triggers are replaced by the commands that wait for the
    // user's turns and refuse during other commands.
    m_pUndoAction->disconnect(&m_stack);
    m_pRedoAction->disconnect(&m_stack);
    connect(m_pUndoAction, &QAction::triggered, this, &CEditCommands::OnUndo);
    connect(m_pRedoAction, &QAction::triggered, this, &CEditCommands::OnRedo);
    m_pUndoAction->setShortcuts(QKeySequence::Undo);
    // Ctrl+Y besides the platform's own redo keys.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys << QKeySequence(Qt::CTRL | Qt::Key_Y);
    m_pRedoAction->setShortcuts(redoKeys);
    pEdit->addAction(m_pUndoAction);
    pEdit->addAction(m_pRedoAction);
    pEdit->addSeparator();
    m_pCopyCubeAction = pEdit->addAction(QStringLiteral("&Copy Cube"), this, &CEditCommands::OnCopyCube);
    m_pCopyCubeAction->setShortcuts(QKeySequence::Copy);
    m_pPasteCubeAction = pEdit->addAction(QStringLiteral("&Paste Cube"), this, &CEditCommands::OnPasteCube);
    m_pPasteCubeAction->setShortcuts(QKeySequence::Paste);
    m_pPasteInverseAction =
        pEdit->addAction(QStringLiteral("Paste as &Inverse"), this, &CEditCommands::OnPasteInverse);
    m_pCopySolutionAction =
        pEdit->addAction(QStringLiteral("Copy &Solution"), this, &CEditCommands::OnCopySolution);
    pEdit->addSeparator();
    m_pFillAction = pEdit->addAction(QStringLiteral("&Fill What Is Determined"), this, &CEditCommands::OnFill);
    pEdit->addSeparator();
    m_pSkipCentresAction = pEdit->addAction(QStringLiteral("Cursor S&kips Centres"));
    m_pSkipCentresAction->setCheckable(true);
    m_pSkipCentresAction->setChecked(true);
    // Menus of the bar take their shortcuts to the whole window.
    for (QAction* p : pEdit->actions())
        p->setShortcutContext(Qt::WindowShortcut);
}

void CEditCommands::Attach()
{
    CCubeWnd& cube = m_dlg.m_cube;
    // The view takes the focus from a click or the Tab key (after the last
    // control in the tab order), so that the keys can paint.
    cube.setFocusPolicy(Qt::StrongFocus);
    QWidget::setTabOrder(&m_dlg.m_check3D, &cube);
    cube.installEventFilter(this);
    // The net's tooltip follows the pointer (a move in the 3D view without a
    // button turns nothing).
    cube.setMouseTracking(true);
    // Presses on the view's OpenGL surface give the view the focus.
    if (cube.m_hDC)
        cube.m_hDC->installEventFilter(this);
    connect(&cube, &CCubeWnd::ColorsChanged, this, &CEditCommands::OnColorsChanged);

    m_pCensus = new CColorCensus(&m_dlg.m_palette[5], &m_dlg.m_palette[0], &m_dlg.m_listSolution,
                                 m_dlg.Client());
    m_pCensus->show();
    // Told over the solution list, which is empty after a failed solve.
    m_pProblems = new QLabel(m_dlg.Client());
    m_pProblems->setObjectName(QStringLiteral("problems"));
    m_pProblems->setWordWrap(true);
    m_pProblems->setTextFormat(Qt::RichText);
    m_pProblems->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pProblems->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_pProblems->setMargin(3);
    m_pProblems->setAutoFillBackground(true);
    QPalette pal = m_pProblems->palette();
    pal.setColor(QPalette::Window, QColor(Palette::kProblemsBackground));
    pal.setColor(QPalette::WindowText, QColor(Palette::kProblemsText));
    m_pProblems->setPalette(pal);
    m_pProblems->hide();
    m_dlg.m_listSolution.installEventFilter(this);
    // A solution listed by any solver takes the list back.
    connect(m_dlg.m_listSolution.model(), &QAbstractItemModel::rowsInserted, this, &CEditCommands::HideProblems);
    UpdateCensus();
}

// ---------------------------------------------------------------- undo

CEditCommands::Record::Record(CEditCommands& edit, const QString& strText) : m_edit(edit), m_strText(strText)
{
    if (m_edit.m_nRecords++ == 0)
        m_edit.m_recordFrom = m_edit.m_dlg.m_cube.Colors();
}

CEditCommands::Record::~Record()
{
    if (--m_edit.m_nRecords == 0)
        m_edit.Commit(m_edit.m_recordFrom, m_strText);
}

bool CEditCommands::CanChange() const
{
    const CCubeWnd& cube = m_dlg.m_cube;
    return !m_dlg.IsBusy() && !cube.IsSolving() && !cube.IsAnimatingTurn();
}

bool CEditCommands::Deferred(void (CEditCommands::*pfnCommand)())
{
    CCubeWnd& cube = m_dlg.m_cube;
    if (!cube.TurnsUnderWay())
        return false;
    cube.AfterQueuedTurns([this, pfnCommand] { (this->*pfnCommand)(); });
    return true;
}

void CEditCommands::OnColorsChanged(const Facelets& before)
{
    // The problems told hold until the next change of the cube; a complete
    // cube that is not valid is told again at once (UpdateCensus).
    HideProblems();
    UpdateCensus();
    if (m_nRecords > 0 || m_bApplying)
        return;
    // The pasted algorithm's counts no longer describe the cube.
    if (m_bPastedMetrics) {
        m_bPastedMetrics = false;
        m_dlg.ShowMetrics(QString());
    }
    // A change outside a command: a paint (one facelet) or a turn.
    const Facelets now = m_dlg.m_cube.Colors();
    int nChanged = -1, nCount = 0;
    for (int n = 0; n < kFaceletCount; ++n)
        if (now[n] != before[n])
            nChanged = n, ++nCount;
    const QString strText = nCount != 1 ? QStringLiteral("Turn")
                            : now[nChanged] ? QStringLiteral("Paint")
                                            : QStringLiteral("Blank");
    Commit(before, strText);
}

void CEditCommands::Commit(const Facelets& before, const QString& strText)
{
    const Facelets now = m_dlg.m_cube.Colors();
    if (now == before)
        return;
    m_stack.push(new CCubeChange(*this, before, now, strText));
}

void CEditCommands::Apply(const Facelets& colors)
{
    m_dlg.ClearSolution();
    CCubeWnd& cube = m_dlg.m_cube;
    // A step that changed one facelet (a paint) brings the cursor back to it.
    const Facelets now = cube.Colors();
    int nChanged = -1, nCount = 0;
    for (int n = 0; n < kFaceletCount; ++n)
        if (now[n] != colors[n])
            nChanged = n, ++nCount;
    if (nCount == 1)
        cube.SetCursor(NetCursor::FromIndex(nChanged));
    m_bApplying = true;
    cube.SetColors(colors);
    m_bApplying = false;
}

void CEditCommands::OnUndo()
{
    if (Deferred(&CEditCommands::OnUndo))
        return;
    if (!CanChange() || !m_stack.canUndo())
        return;
    m_stack.undo();
}

void CEditCommands::OnRedo()
{
    if (Deferred(&CEditCommands::OnRedo))
        return;
    if (!CanChange() || !m_stack.canRedo())
        return;
    m_stack.redo();
}

// ---------------------------------------------------------------- clipboard

void CEditCommands::OnCopyCube()
{
    const Facelets colors = m_dlg.m_cube.Colors();
    QString strText = FromStd(FormatCube(m_dlg.m_cube));
    CString strFacelets, strError;
    // A cube with blanks or without six centre colours has no facelet string.
    if (FormatFaceletString(colors.data(), strFacelets, strError))
        strText += QLatin1Char('\n') + FromStd(strFacelets);
    QApplication::clipboard()->setText(strText);
}

void CEditCommands::OnPasteCube()
{
    if (Deferred(&CEditCommands::OnPasteCube))
        return;
    Paste(false);
}

void CEditCommands::OnPasteInverse()
{
    if (Deferred(&CEditCommands::OnPasteInverse))
        return;
    Paste(true);
}

void CEditCommands::Paste(bool bInverse)
{
    if (!CanChange())
        return;
    const QString strTitle = bInverse ? QStringLiteral("Paste as Inverse") : QStringLiteral("Paste Cube");
    const QString strText = QApplication::clipboard()->text();
    const CubeTextReading reading = ReadPasted(strText, bInverse);
    if (bInverse && reading.kind != CubeTextKind::NONE && reading.kind != CubeTextKind::STANDARD_MOVES) {
        ShowMessageBox(&m_dlg,
                       QStringLiteral("The clipboard holds a cube, not a move sequence; the cube is left as "
                                      "it was.\n\nPaste as Inverse takes an algorithm, such as a cube's "
                                      "solution, and sets up the cube that it solves."),
                       strTitle, QMessageBox::Warning);
        return;
    }
    if (reading.kind == CubeTextKind::NONE) {
        QString strWhy = FromStd(reading.strError);
        if (strText.trimmed().isEmpty())
            strWhy = QStringLiteral("The clipboard holds no text.");
        ShowMessageBox(&m_dlg,
                       (bInverse ? QStringLiteral("The clipboard holds no move sequence; the cube is left as it "
                                                  "was.\n\nPaste as Inverse takes an algorithm such as "
                                                  "R U R' U', and sets up the cube that it solves.\n\n")
                                 : QStringLiteral("The clipboard holds neither a cube nor a scramble; the cube "
                                                  "is left as it was.\n\nPaste Cube takes the 54 digits of "
                                                  "Copy Cube, a facelet string of 54 letters U R F D L B, or a "
                                                  "scramble such as R U R' U'.\n\n")) +
                           strWhy,
                       strTitle, QMessageBox::Warning);
        return;
    }
    const Record record(*this, bInverse ? QStringLiteral("Paste as Inverse") : QStringLiteral("Paste"));
    m_dlg.ClearSolution();
    m_dlg.m_cube.SetColors(reading.colors);
    if (reading.kind == CubeTextKind::STANDARD_MOVES) {
        m_dlg.ShowMetrics(QStringLiteral("Pasted: ") + FromStd(notation::FormatMetrics(reading.metrics)));
        m_bPastedMetrics = true;
    }
}

void CEditCommands::OnCopySolution()
{
    const CStringArray& moves = m_dlg.m_arrMoves;
    if (moves.empty()) {
        ShowMessageBox(&m_dlg, QStringLiteral("There is no solution to copy: solve the cube first."),
                       QStringLiteral("Copy Solution"), QMessageBox::Information);
        return;
    }
    CString strModel;
    for (const CString& strMove : moves)
        strModel += strMove;
    if (strModel.empty()) {
        ShowMessageBox(&m_dlg, QStringLiteral("The listed solution has no moves: the cube was solved already."),
                       QStringLiteral("Copy Solution"), QMessageBox::Information);
        return;
    }
    CString strStandard, strError;
    if (!FormatStandardMoves(strModel, strStandard, strError)) {
        ShowMessageBox(&m_dlg, FromStd(strError), QStringLiteral("Copy Solution"), QMessageBox::Warning);
        return;
    }
    QApplication::clipboard()->setText(FromStd(strStandard));
}

// ---------------------------------------------------------------- fill

void CEditCommands::OnFill()
{
    if (Deferred(&CEditCommands::OnFill))
        return;
    if (!CanChange())
        return;
    const Facelets colors = m_dlg.m_cube.Colors();
    const FillResult fill = FillDetermined(colors.data());
    const QString strCaption = QStringLiteral("Fill What Is Determined");
    if (fill.bContradiction) {
        ShowMessageBox(&m_dlg,
                       QStringLiteral("The painted facelets contradict each other, so nothing was filled. "
                                      "Solve tells what is wrong."),
                       strCaption, QMessageBox::Warning);
        return;
    }
    if (fill.nFilled > 0) {
        const Record record(*this, QStringLiteral("Fill"));
        m_dlg.m_cube.SetColors(fill.colors);
    }
    const QString strText =
        fill.nFilled == 0 ? QStringLiteral("No blank facelet is determined by the painted ones: nothing was filled.")
        : fill.nFilled == 1 ? QStringLiteral("Filled 1 facelet that the painted ones determine.")
                            : QStringLiteral("Filled %1 facelets that the painted ones determine.").arg(fill.nFilled);
    ShowMessageBox(&m_dlg, strText, strCaption, QMessageBox::Information);
}

// ---------------------------------------------------------------- problems and census

void CEditCommands::ShowProblems(int nResult)
{
    m_strProblems.clear();
    HideProblems();
    if (nResult == CCubeSolver::SOLVE_OK)
        return;
    TellProblems(DiagnoseCube(m_dlg.m_cube.Colors().data()));
}

void CEditCommands::TellProblems(const CubeDiagnosis& diagnosis)
{
    if (diagnosis.problems.empty())
        return;
    std::vector<int> facelets;
    QStringList lines;
    for (const CubeProblem& problem : diagnosis.problems) {
        lines << FromStd(problem.text);
        facelets.insert(facelets.end(), problem.facelets.begin(), problem.facelets.end());
    }
    std::sort(facelets.begin(), facelets.end());
    facelets.erase(std::unique(facelets.begin(), facelets.end()), facelets.end());
    m_strProblems = lines.join(QLatin1Char('\n'));
    m_dlg.m_cube.MarkFacelets(facelets);
    QString strHtml = QStringLiteral("<p><b>What is wrong:</b></p>");
    for (const QString& line : lines)
        strHtml += QStringLiteral("<p>\u2022 %1</p>").arg(line.toHtmlEscaped());
    if (!facelets.empty())
        strHtml += QStringLiteral("<p>The facelets involved are crossed on the cube.</p>");
    m_pProblems->setText(strHtml);
    m_pProblems->setGeometry(m_dlg.m_listSolution.geometry());
    m_pProblems->show();
    m_pProblems->raise();
}

void CEditCommands::HideProblems()
{
    if (m_pProblems)
        m_pProblems->hide();
}

void CEditCommands::UpdateCensus()
{
    if (!m_pCensus || m_dlg.m_cube.IsSolving())
        return;
    const Facelets colors = m_dlg.m_cube.Colors();
    int counts[7] = {};
    for (BYTE c : colors)
        ++counts[c <= 6 ? c : 0];
    CColorCensus::State state = CColorCensus::INCOMPLETE;
    CubeDiagnosis diagnosis;
    if (counts[0] == 0) {
        diagnosis = DiagnoseCube(colors.data());
        state = diagnosis.nResult == CCubeSolver::SOLVE_OK ? CColorCensus::VALID : CColorCensus::INVALID;
    }
    m_pCensus->SetCensus(counts, state);
    const bool bTell = state == CColorCensus::INVALID && !diagnosis.problems.empty();
    m_pCensus->SetProblem(bTell ? FromStd(diagnosis.problems.front().text) : QString());
    // Every facelet painted and the cube not valid: what is wrong, at once.
    if (bTell)
        TellProblems(diagnosis);
    UpdateCursorFace();
}

void CEditCommands::UpdateCursorFace()
{
    static const char kLetters[6] = {'T', 'F', 'R', 'L', 'B', 'D'};
    const CCubeWnd& cube = m_dlg.m_cube;
    if (m_pCensus)
        m_pCensus->SetCursorFace(cube.CursorShown() ? kLetters[cube.Cursor().nSlot] : 0);
}

// ---------------------------------------------------------------- keys and mouse

void CEditCommands::PaintAtCursor(BYTE nColor, int nAdvance)
{
    CCubeWnd& cube = m_dlg.m_cube;
    {
        const Record record(*this, nColor ? QStringLiteral("Paint") : QStringLiteral("Blank"));
        cube.SetFacelet(cube.Cursor().Index(), nColor);
    }
    if (nAdvance)
        cube.SetCursor(StepCursor(cube.Cursor(), nAdvance));
}

bool CEditCommands::SkipsCentres() const
{
    return m_pSkipCentresAction && m_pSkipCentresAction->isChecked();
}

NetCursor CEditCommands::StepCursor(const NetCursor& cursor, int nDelta) const
{
    NetCursor next = StepNetCursor(cursor, nDelta);
    // A centre's neighbours in the model's order are never centres.
    if (SkipsCentres() && next.nRow == 1 && next.nCol == 1)
        next = StepNetCursor(next, nDelta);
    return next;
}

NetCursor CEditCommands::MoveCursor(const NetCursor& cursor, int dx, int dy, bool bOntoCentres) const
{
    NetCursor next = MoveNetCursor(cursor, dx, dy);
    // Across a centre to the facelet beyond it, on the same face.
    if (!bOntoCentres && SkipsCentres() && next.nRow == 1 && next.nCol == 1 && !(next == cursor))
        next = MoveNetCursor(next, dx, dy);
    return next;
}

bool CEditCommands::HandleViewKey(const QKeyEvent* pKey)
{
    CCubeWnd& cube = m_dlg.m_cube;
    const Qt::KeyboardModifiers mods = pKey->modifiers() & ~Qt::KeypadModifier;
    const int nKey = pKey->key();
    const bool bArrow = nKey == Qt::Key_Left || nKey == Qt::Key_Right || nKey == Qt::Key_Up || nKey == Qt::Key_Down;
    // Shift+arrow moves onto a centre too.
    if (!cube.m_b2DView || (mods != Qt::NoModifier && !(bArrow && mods == Qt::ShiftModifier)))
        return false;
    int dx = 0, dy = 0;
    switch (nKey) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: break;
    }
    if (dx || dy) {
        cube.SetCursor(MoveCursor(cube.Cursor(), dx, dy, mods == Qt::ShiftModifier));
        UpdateCursorFace();
        return true;
    }
    const int nColor = ColorOfKey(nKey);
    if (nColor < 0 && nKey != Qt::Key_Delete && nKey != Qt::Key_Backspace)
        return false;
    if (!CanChange())
        return true;
    if (nColor > 0) {
        PaintAtCursor(static_cast<BYTE>(nColor), 1);
    } else if (nKey == Qt::Key_Delete) {
        // Blanks and moves on, as painting does.
        PaintAtCursor(0, 1);
    } else {
        // Backspace takes back the facelet typed last, as in a text.
        cube.SetCursor(StepCursor(cube.Cursor(), -1));
        PaintAtCursor(0, 0);
    }
    UpdateCursorFace();
    return true;
}

bool CEditCommands::eventFilter(QObject* pObject, QEvent* pEvent)
{
    CCubeWnd& cube = m_dlg.m_cube;
    const QEvent::Type type = pEvent->type();
    if (pObject == &m_dlg.m_listSolution) {
        if (type == QEvent::Move || type == QEvent::Resize)
            m_pProblems->setGeometry(m_dlg.m_listSolution.geometry());
        return false;
    }
    if (pObject == &cube && type == QEvent::KeyPress && HandleViewKey(static_cast<QKeyEvent*>(pEvent)))
        return true;
    if (pObject == &cube && (type == QEvent::FocusIn || type == QEvent::FocusOut)) {
        cube.Repaint();
        UpdateCursorFace();
    }
    // In the net, the face under the pointer named in a tooltip.
    if (type == QEvent::MouseMove && (pObject == &cube || pObject == cube.m_hDC))
        ShowFaceTip(static_cast<QMouseEvent*>(pEvent));
    // A plain left press on a facelet of the net puts the keyboard's cursor
    // there; a press on the OpenGL surface gives the view the focus.
    const bool bPress = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (bPress && pObject == cube.m_hDC && !cube.hasFocus() && !cube.IsSolving())
        cube.setFocus(Qt::MouseFocusReason);
    if (bPress && (pObject == &cube || pObject == cube.m_hDC) && CanChange()) {
        const auto* pMouse = static_cast<QMouseEvent*>(pEvent);
        const bool bTurn = pMouse->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
        if (pMouse->button() == Qt::LeftButton && cube.m_b2DView && !bTurn) {
            const int nFacelet = cube.FaceletAt(pMouse->position().toPoint());
            if (nFacelet >= 0)
                cube.SetCursor(NetCursor::FromIndex(nFacelet));
            UpdateCursorFace();
        }
    }
    return false;
}

void CEditCommands::ShowFaceTip(const QMouseEvent* pMouse)
{
    static const char* const kNames[6] = {"Top face T (standard U)",  "Front face F (standard F)",
                                          "Right face R (standard R)", "Left face L (standard L)",
                                          "Back face B (standard B)",  "Down face D (standard D)"};
    const CCubeWnd& cube = m_dlg.m_cube;
    const QPoint pt = cube.mapFromGlobal(pMouse->globalPosition().toPoint());
    const int nFacelet = cube.m_b2DView ? cube.FaceletAt(pt) : -1;
    const int nSlot = nFacelet < 0 ? -1 : nFacelet / 9;
    if (nSlot == m_nTipSlot)
        return;
    m_nTipSlot = nSlot;
    if (nSlot < 0)
        QToolTip::hideText();
    else
        QToolTip::showText(pMouse->globalPosition().toPoint(), QString::fromLatin1(kNames[nSlot]));
}

// ---------------------------------------------------------------- the dialog's side

void CZelvorsCubeDlg::ShowProblems(int nResult)
{
    if (m_pEdit)
        m_pEdit->ShowProblems(nResult);
}
