#include "ColorCensus.h"

#include "Palette.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {
constexpr int kRows = 8; // six colours, the blanks or the verdict, the cursor's face

QString FaceLine(char chFace)
{
    return QStringLiteral("Cursor: %1").arg(QLatin1Char(chFace));
}
}

CColorCensus::CColorCensus(QWidget* pLastSwatch, QWidget* pFirstSwatch, QWidget* pRightOf, QWidget* pParent)
    : QWidget(pParent), m_pLastSwatch(pLastSwatch), m_pFirstSwatch(pFirstSwatch), m_pRightOf(pRightOf)
{
    setObjectName(QStringLiteral("census"));
    // Not transparent for the mouse: it has a tooltip.
    for (QWidget* p : {m_pLastSwatch, m_pFirstSwatch, m_pRightOf})
        p->installEventFilter(this);
    Place();
}

void CColorCensus::SetCensus(const int counts[7], State state)
{
    if (std::memcmp(counts, m_counts, sizeof m_counts) == 0 && state == m_state)
        return;
    std::memcpy(m_counts, counts, sizeof m_counts);
    m_state = state;
    UpdateToolTip();
    update();
}

void CColorCensus::UpdateToolTip()
{
    QString strTip = Text();
    if (m_counts[0] == 0 && m_state == INVALID && !m_strProblem.isEmpty())
        strTip += QStringLiteral("\n\n") + m_strProblem;
    setToolTip(strTip);
}

void CColorCensus::SetProblem(const QString& strProblem)
{
    m_strProblem = strProblem;
    UpdateToolTip();
}

void CColorCensus::SetCursorFace(char chFace)
{
    if (chFace == m_chCursorFace)
        return;
    m_chCursorFace = chFace;
    UpdateToolTip();
    update();
}

QString CColorCensus::Text() const
{
    QStringList lines;
    for (BYTE nColor : Palette::kSwatchOrder)
        lines << QStringLiteral("%1/9").arg(m_counts[nColor]);
    if (m_counts[0] > 0)
        lines << QStringLiteral("%1 blank").arg(m_counts[0]);
    else
        lines << (m_state == VALID ? QStringLiteral("Valid") : QStringLiteral("Invalid"));
    if (m_chCursorFace)
        lines << FaceLine(m_chCursorFace);
    return lines.join(QLatin1Char('\n'));
}

bool CColorCensus::eventFilter(QObject* pObject, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::Move || pEvent->type() == QEvent::Resize)
        Place();
    return QWidget::eventFilter(pObject, pEvent);
}

int CColorCensus::LineHeight() const
{
    QFont fBold = font();
    fBold.setBold(true);
    return QFontMetrics(fBold).height();
}

int CColorCensus::SquareSize() const
{
    return std::max(3, LineHeight() - 4);
}

QSize CColorCensus::sizeHint() const
{
    QFont fBold = font();
    fBold.setBold(true);
    const QFontMetrics fm(fBold);
    int nText = 0;
    for (const QString& s : {QStringLiteral("54/9"), QStringLiteral("54 blank"), QString::fromUtf8("\u2717 Invalid"),
                             QString::fromUtf8("\u2713 Valid"), FaceLine('T')})
        nText = std::max(nText, fm.horizontalAdvance(s));
    return QSize(SquareSize() + 4 + nText + 1, kRows * LineHeight());
}

void CColorCensus::Place()
{
    const QRect rcSwatch = m_pLastSwatch->geometry();
    const int nLeft = m_pFirstSwatch->geometry().left() - rcSwatch.width() / 3;
    const int nTop = rcSwatch.bottom() + 1 + rcSwatch.height() / 4;
    const int nRight = m_pRightOf->geometry().left() - 1;
    const QSize natural = sizeHint();
    setGeometry(nLeft, nTop, std::clamp(nRight - nLeft, 0, natural.width()), natural.height());
}

void CColorCensus::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int nLine = LineHeight();
    const int nSquare = SquareSize();
    const QFont font = this->font();
    int y = 0;
    for (BYTE nColor : Palette::kSwatchOrder) {
        const bool bOff = m_counts[nColor] != 9;
        painter.fillRect(QRect(1, y + (nLine - nSquare) / 2, nSquare, nSquare), QColor(Palette::kNet[nColor]));
        painter.setPen(QColor(Palette::kCensusText));
        painter.drawRect(QRect(1, y + (nLine - nSquare) / 2, nSquare - 1, nSquare - 1));
        QFont f = font;
        f.setBold(bOff);
        painter.setFont(f);
        painter.setPen(QColor(bOff ? Palette::kCensusOff : Palette::kCensusText));
        painter.drawText(QRect(nSquare + 4, y, width() - nSquare - 4, nLine), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("%1/9").arg(m_counts[nColor]));
        y += nLine;
    }
    QFont fBold = font;
    fBold.setBold(true);
    painter.setFont(fBold);
    QString strVerdict;
    if (m_counts[0] > 0) {
        painter.setPen(QColor(Palette::kCensusText));
        strVerdict = QStringLiteral("%1 blank").arg(m_counts[0]);
    } else if (m_state == VALID) {
        painter.setPen(QColor(Palette::kCensusValid));
        strVerdict = QString::fromUtf8("\u2713 Valid");
    } else if (m_state == INVALID) {
        painter.setPen(QColor(Palette::kCensusInvalid));
        strVerdict = QString::fromUtf8("\u2717 Invalid");
    }
    painter.drawText(QRect(1, y, width() - 1, nLine), Qt::AlignLeft | Qt::AlignVCenter, strVerdict);
    if (m_chCursorFace) {
        painter.setFont(font);
        painter.setPen(QColor(Palette::kCensusText));
        painter.drawText(QRect(1, y + nLine, width() - 1, nLine), Qt::AlignLeft | Qt::AlignVCenter,
                         FaceLine(m_chCursorFace));
    }
}
