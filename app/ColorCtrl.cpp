#include "ColorCtrl.h"

#include "Palette.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

CColorCtrl::CColorCtrl(QWidget* pParent) : QLabel(pParent)
{
    // The template's border: a thin black line around the client area.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CColorCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect rcClient = contentsRect();
    painter.fillRect(rcClient, QColor(m_color));
    if (m_bSelected) {
        // A 3-pixel pen centred on the client rectangle's outline.
        painter.setClipRect(rcClient);
        painter.setPen(QPen(QColor(Palette::kSwatchBorder), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rcClient.adjusted(0, 0, -1, -1));
        painter.setClipping(false);
    }
    // The colour's digit in the 54-digit format (its key) at the top left,
    // its letter in the standard facelet string at the bottom right, small,
    // so that the middle shows the colour alone.
    if (m_nColor >= 1 && m_nColor <= 6 && rcClient.height() >= 12) {
        static const char kLetters[7] = {' ', 'U', 'F', 'R', 'L', 'B', 'D'};
        QFont f = font();
        f.setPixelSize(std::max(7, rcClient.height() * 2 / 5));
        f.setBold(true);
        painter.setFont(f);
        const int l = qRed(m_color), g = qGreen(m_color), b = qBlue(m_color);
        painter.setPen(QColor(299 * l + 587 * g + 114 * b > 128000 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)));
        const QRect rcText = rcClient.adjusted(3, 1, -3, 0);
        painter.drawText(rcText, Qt::AlignLeft | Qt::AlignTop, QString::number(m_nColor));
        painter.drawText(rcText, Qt::AlignRight | Qt::AlignBottom, QString(QLatin1Char(kLetters[m_nColor])));
    }
    // The border, black whether enabled or not: the enabled state is not drawn.
    painter.setPen(QPen(QColor(Palette::kSwatchBorder), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CColorCtrl::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        m_bSelected = true;
        repaint();
        emit colorSelected(this);
    }
    QLabel::mousePressEvent(pEvent);
}

void CColorCtrl::changeEvent(QEvent* pEvent)
{
    QLabel::changeEvent(pEvent);
    if (pEvent->type() == QEvent::EnabledChange)
        repaint();
}
