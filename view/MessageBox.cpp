#include "MessageBox.h"

#include <QLabel>
#include <QFontMetrics>
#include <QShowEvent>

#include <algorithm>

namespace {

// A box that shows each line of its text unbroken. QMessageBox wraps any
// text wider than about half the screen at that width, breaking the lines
// the text already has; with the text's widest line as the label's least
// width, the wrapping width is that line's.
class CMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* pEvent) override
    {
        // Polished by now: the label has the font it is shown in.
        if (auto* pLabel = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            const QFontMetrics fm(pLabel->font());
            int nWidest = 0;
            for (const QString& strLine : text().split(QLatin1Char('\n')))
                nWidest = std::max(nWidest, fm.horizontalAdvance(strLine));
            const QMargins margins = pLabel->contentsMargins();
            pLabel->setMinimumWidth(nWidest + margins.left() + margins.right() + 2 * pLabel->margin() + 1);
        }
        QMessageBox::showEvent(pEvent);
    }
};

MessageBoxHandler& Handler()
{
    static MessageBoxHandler handler;
    return handler;
}
} // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget* pOwner, const QString& strText,
                                           const QString& strCaption, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons)
{
    if (Handler())
        return Handler()(pOwner, strText, strCaption, icon, buttons);
    CMessageBox box(icon, strCaption, strText, buttons, pOwner);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    Handler() = std::move(handler);
}
