#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Message boxes with the program's captions. The caption "提示" is string 117.

// Shows the text (cut at 1022 characters) with the caption "提示" and the error icon.
void MessageBoxFormat(QWidget *owner, const QString &text);
// A message box of our own look: returns the button pressed.
QMessageBox::StandardButton ShowMessage(QWidget *owner, const QString &text, const QString &caption,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton
                                        = QMessageBox::NoButton);
// Opens a topic of the help pages (html/… under the program's help folder) in a help window.
void OpenHelpTopic(const QString &topic, QWidget *caller);
