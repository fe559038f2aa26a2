#pragma once
// A colour swatch of the palette: a small control filled with one facelet
// colour. A click frames it at once and then tells the parent, which decides
// which swatch stays framed.

#include "Compat.h"

#include <QLabel>
#include <QRgb>

class CColorCtrl : public QLabel {
    Q_OBJECT

public:
    explicit CColorCtrl(QWidget* pParent = nullptr);

    QRgb m_color = qRgb(0, 0, 0); // fill colour
    BYTE m_nColor = 0;            // colour index the swatch stands for (1..6)
    bool m_bSelected = false;     // whether the selection frame is drawn

signals:
    // Sent synchronously by a click, after the swatch has framed itself.
    void colorSelected(CColorCtrl* pSender);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
};
