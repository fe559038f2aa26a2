#pragma once
// Every message box of the program is asked for here, so that a test can see
// which text, caption, icon and buttons were wanted and give the answer.

#include <QMessageBox>
#include <QString>

#include <functional>

using MessageBoxHandler = std::function<QMessageBox::StandardButton(
    QWidget* pOwner, const QString& strText, const QString& strCaption, QMessageBox::Icon icon,
    QMessageBox::StandardButtons buttons)>;

// Shows a modal message box (or asks the installed handler) and returns the
// button that ended it.
QMessageBox::StandardButton ShowMessageBox(QWidget* pOwner, const QString& strText,
                                           const QString& strCaption, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Installs a handler in place of the real boxes; an empty handler restores them.
void SetMessageBoxHandler(MessageBoxHandler handler);
