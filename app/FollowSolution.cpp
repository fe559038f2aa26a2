// Following a solution on a real cube: the next move marked in the view and
// named above the move count, list lines in standard notation on request, and
// Play, which runs the rest of the solution one Next at a time.
//
// The list's current line is the move just played (line 0, "Your Cube!", is
// the cube as entered), so the next move is the following line's. Play is
// Space while the list has the focus, the list being where the dialog puts
// the focus after every command; while a play runs, Space pauses it whatever
// has the focus, since the list is disabled during each move.

#include "ZelvorsCubeDlg.h"

#include "CubeFormats.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

void CZelvorsCubeDlg::CreateFollowMenu(QMenu* pView)
{
    pView->addSeparator();
    m_pMarkerAction = pView->addAction(QStringLiteral("Next Move Marker"));
    m_pMarkerAction->setCheckable(true);
    m_pMarkerAction->setChecked(true);
    connect(m_pMarkerAction, &QAction::toggled, this, [this] { UpdateFollowing(); });
    m_pNotationAction = pView->addAction(QStringLiteral("Standard Notation"));
    m_pNotationAction->setCheckable(true);
    m_pNotationAction->setChecked(false);
    connect(m_pNotationAction, &QAction::toggled, this, [this] { ApplyNotation(); });
    m_pPlayAction = pView->addAction(QStringLiteral("Play\tSpace"), this, &CZelvorsCubeDlg::OnPlay);
    m_pPlayAction->setEnabled(false);
}

void CZelvorsCubeDlg::InitFollowing()
{
    m_staticNext.setParent(m_pClient);
    m_staticNext.setObjectName(QStringLiteral("IDC_NEXT_MOVE"));
    m_staticNext.setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_staticNext.setTextFormat(Qt::PlainText);
    m_staticNext.show();
    m_playTimer.setSingleShot(true);
    m_playTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_playTimer, &QTimer::timeout, this, &CZelvorsCubeDlg::PlayNextMove);
    connect(&m_cube, &CCubeWnd::ColorsChanged, this, [this] { OnUserChange(); });
    PlaceNextLine();
    UpdateFollowing();
}

void CZelvorsCubeDlg::PlaceNextLine()
{
    if (m_staticNext.parentWidget() != m_pClient)
        return;
    m_staticNext.setGeometry(NextLineRect(m_listSolution.geometry()));
}

// ---------------------------------------------------------------- words

QString CZelvorsCubeDlg::StandardName(const CString& strMove)
{
    if (strMove.size() < 2 || strMove[0] == 'C')
        return QString();
    CString strOut, strError;
    if (!FormatStandardMoves(strMove.substr(0, 3), strOut, strError))
        return QString();
    return QString::fromStdString(strOut);
}

QString CZelvorsCubeDlg::ListLine(const CString& strMove) const
{
    const QString strWords = DescribeMove(strMove);
    if (!m_pNotationAction || !m_pNotationAction->isChecked())
        return strWords;
    // In front, so that the narrow list never cuts it off.
    const QString strName = StandardName(strMove);
    return strName.isEmpty() ? strWords : strName.leftJustified(3, QLatin1Char(' ')) + QStringLiteral(" ") + strWords;
}

void CZelvorsCubeDlg::ApplyNotation()
{
    const int nLines = std::min(m_listSolution.count(), static_cast<int>(m_arrMoves.size()));
    // Line 0 is "Your Cube!", no move.
    for (int i = 1; i < nLines; ++i) {
        const QString strLine = ListLine(m_arrMoves[static_cast<size_t>(i)]);
        if (m_listSolution.item(i)->text() != strLine)
            m_listSolution.item(i)->setText(strLine);
    }
}

CString CZelvorsCubeDlg::NextMove() const
{
    const int nNext = m_nStep + 1;
    if (m_arrMoves.size() < 2 || nNext < 1 || nNext >= static_cast<int>(m_arrMoves.size()))
        return CString();
    return m_arrMoves[static_cast<size_t>(nNext)];
}

double CZelvorsCubeDlg::PlayPace() const
{
    if (!m_bPlaying || m_nPlayStarts < 2 || m_nLastStartMs <= 0)
        return 0.0;
    return 1000.0 * (m_nPlayStarts - 1) / static_cast<double>(m_nLastStartMs);
}

// ---------------------------------------------------------------- state

void CZelvorsCubeDlg::FollowControls(bool bEnable)
{
    if (!bEnable && !m_bPlayStep && m_bPlaying) {
        m_bPlaying = false;
        m_playTimer.stop();
    }
    if (bEnable)
        ApplyNotation();
    UpdateFollowing();
}

void CZelvorsCubeDlg::UpdateFollowing()
{
    if (!m_pPlayAction)
        return;
    const CString strNext = NextMove();
    const int nMoves = static_cast<int>(m_arrMoves.size()) - 1;
    QString strText;
    if (!strNext.empty()) {
        strText = QStringLiteral("Next: %1 \u2014 %2   move %3 of %4")
                      .arg(DescribeMove(strNext), StandardName(strNext))
                      .arg(m_nStep + 1)
                      .arg(nMoves);
        const double fPace = PlayPace();
        if (fPace > 0.0)
            strText += QStringLiteral("   playing at %1 moves/s").arg(fPace, 0, 'f', 2);
    } else if (nMoves > 0) {
        strText = QStringLiteral("All %1 moves done").arg(nMoves);
    }
    if (m_staticNext.text() != strText)
        m_staticNext.setText(strText);

    // The marker only between commands: during one the view animates or jumps.
    const bool bMarker = !m_bBusy && m_pMarkerAction->isChecked() && !strNext.empty();
    m_cube.SetMarkerMove(bMarker ? strNext : CString());

    m_pPlayAction->setText(m_bPlaying ? QStringLiteral("Pause\tSpace") : QStringLiteral("Play\tSpace"));
    m_pPlayAction->setEnabled(m_bPlaying || (!m_bBusy && !m_bClosing && !strNext.empty()));
}

// ---------------------------------------------------------------- play

void CZelvorsCubeDlg::OnUserChange()
{
    if (m_bPlaying) {
        m_bPlaying = false;
        m_playTimer.stop();
    }
    if (!m_arrMoves.empty() || m_listSolution.count() > 0)
        ClearSolution();
    if (!m_bBusy)
        UpdateFollowing();
}

void CZelvorsCubeDlg::OnPlay()
{
    if (m_bPlaying) {
        // The move under way ends first; between moves nothing is under way.
        m_bPlaying = false;
        m_playTimer.stop();
        UpdateFollowing();
        return;
    }
    if (m_bBusy || m_bClosing || NextMove().empty())
        return;
    if (Deferred(&CZelvorsCubeDlg::OnPlay))
        return;
    m_bPlaying = true;
    m_nPlayStarts = 0;
    m_nLastStartMs = 0;
    m_playClock.start();
    UpdateFollowing();
    m_playTimer.start(0);
}

void CZelvorsCubeDlg::PlayNextMove()
{
    if (!m_bPlaying || m_bBusy || m_bClosing || !isVisible() || NextMove().empty()) {
        m_bPlaying = false;
        UpdateFollowing();
        return;
    }
    // A box over the dialog (the Exit question, About) holds the play until
    // it is answered.
    QWidget* pModal = QApplication::activeModalWidget();
    if (pModal && pModal != this) {
        m_playTimer.start(50);
        return;
    }
    // A move takes at least the period the speed text gives, so that the
    // play keeps that pace whenever the view is quicker, also unanimated.
    const double fPeriodMs = 1000.0 * MovePeriod(m_sliderSpeed.value());
    QElapsedTimer move;
    move.start();
    if (m_nPlayStarts == 0)
        m_playClock.start();
    m_nLastStartMs = m_playClock.elapsed();
    ++m_nPlayStarts;
    m_bPlayStep = true;
    OnNext();
    m_bPlayStep = false;
    if (m_bClosing)
        return;
    if (!m_bPlaying || NextMove().empty()) {
        m_bPlaying = false;
        UpdateFollowing();
        return;
    }
    const qint64 nLeft = static_cast<qint64>(fPeriodMs) - move.elapsed();
    m_playTimer.start(static_cast<int>(std::max<qint64>(0, nLeft)));
    UpdateFollowing();
}

bool CZelvorsCubeDlg::FilterFollowEvent(QObject* pObject, QEvent* pEvent)
{
    const QEvent::Type type = pEvent->type();
    if (type == QEvent::KeyPress && QApplication::activeWindow() == this) {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->key() != Qt::Key_Space || (pKey->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (m_bPlaying) {
            if (!pKey->isAutoRepeat())
                OnPlay();
            return true;
        }
        // Sent to the list: it has the focus (a key is sent to the focus).
        if (pObject == &m_listSolution && m_listSolution.isEnabled()) {
            if (!pKey->isAutoRepeat())
                OnPlay();
            return true;
        }
        return false;
    }
    // A press on the list stops a play; between moves the click then goes to
    // its line as any list click does.
    if (type == QEvent::MouseButtonPress && m_bPlaying &&
        (pObject == m_listSolution.viewport() || pObject == &m_listSolution)) {
        m_bPlaying = false;
        m_playTimer.stop();
        if (!m_bBusy)
            UpdateFollowing();
    }
    return false;
}
