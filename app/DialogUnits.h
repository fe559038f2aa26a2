#pragma once
// Dialog units: the layout grid of the dialog templates. A horizontal unit is
// a quarter of the dialog font's average character width, a vertical unit an
// eighth of its height, so a template scales with the font and the DPI.

#include <QFont>
#include <QRect>

class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    int X(int nUnits) const;
    int Y(int nUnits) const;
    // A template rectangle (x, y, width, height in units) in pixels.
    QRect Map(int x, int y, int cx, int cy) const;

    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }

private:
    int m_nBaseX = 0; // average character width, pixels
    int m_nBaseY = 0; // character height, pixels
};

// The font the templates are laid out in: the platform's dialog font at 8 points.
QFont DialogFont();
