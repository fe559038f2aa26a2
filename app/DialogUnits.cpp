#include "DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>

namespace {
// Rounded a * b / c, as the platform's dialog manager computes it.
int MulDiv(int a, int b, int c)
{
    const long long n = static_cast<long long>(a) * b;
    return static_cast<int>((n >= 0 ? n + c / 2 : n - c / 2) / c);
}
} // namespace

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetrics fm(font);
    // The average width is taken over the 52 letters, rounded.
    const int n52 = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = (n52 / 26 + 1) / 2;
    m_nBaseY = fm.height();
}

int CDialogUnits::X(int nUnits) const
{
    return MulDiv(nUnits, m_nBaseX, 4);
}

int CDialogUnits::Y(int nUnits) const
{
    return MulDiv(nUnits, m_nBaseY, 8);
}

QRect CDialogUnits::Map(int x, int y, int cx, int cy) const
{
    return QRect(X(x), Y(y), X(cx), Y(cy));
}

QFont DialogFont()
{
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}
