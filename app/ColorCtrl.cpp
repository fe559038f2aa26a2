#include "ColorCtrl.h"

#include "Palette.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

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
