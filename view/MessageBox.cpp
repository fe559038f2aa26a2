#include "MessageBox.h"

namespace {
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
    QMessageBox box(icon, strCaption, strText, buttons, pOwner);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    Handler() = std::move(handler);
}
