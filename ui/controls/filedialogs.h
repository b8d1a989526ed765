#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

// The program's file dialogs. They tell a file's kind by its name only and never open it to
// look: POSIX locks belong to the process, so opening and closing the database file (or its
// -wal/-shm) anywhere in the program silently drops SQLite's locks on it, and another program
// closing the same database would then delete the write-ahead log that still holds our writes.
namespace vantrel::ui {

// Applies the name-only icons and the program's own dialog to a dialog built by hand.
void PrepareFileDialog(QFileDialog &dialog);

QString GetOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter);
QStringList GetOpenFileNames(QWidget *parent, const QString &caption, const QString &dir,
                             const QString &filter);
QString GetSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter, QFileDialog::Options options = {});

} // namespace vantrel::ui
