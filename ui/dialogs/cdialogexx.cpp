#include "ui/dialogs/cdialogexx.h"

#include "core/app/constants.h"
#include "core/util/profile.h"
#include "ui/controls/screenplacement.h"

#include <QPalette>
#include <QShowEvent>

using namespace Qt::StringLiterals;

CDialogExx::CDialogExx(int formNumber, int subNumber, QWidget *parent)
    : QDialog(parent), m_formNumber(formNumber), m_subNumber(subNumber)
{
    applyBackground(this);
}

QColor CDialogExx::backgroundColor()
{
    return QColor(0xEE, 0xF3, 0xFA);
}

void CDialogExx::applyBackground(QWidget *dialog)
{
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, backgroundColor());
    dialog->setPalette(palette);
    dialog->setAutoFillBackground(true);
}

QString CDialogExx::section() const
{
    return u"Dlgs/Form-%1-%2"_s.arg(m_formNumber).arg(m_subNumber);
}

void CDialogExx::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_restored) {
        m_restored = true;
        RestoreWindowPlacement();
    }
}

void CDialogExx::RestoreWindowPlacement()
{
    if (m_formNumber <= 0)
        return;
    const QString s = section();
    if (Profile::getInt(s, QString::fromUtf16(strMaximize), 0) != 0) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    const QRect current = frameGeometry();
    const QRect saved(Profile::getInt(s, QString::fromUtf16(strLeft), current.left()),
                      Profile::getInt(s, QString::fromUtf16(strTop), current.top()),
                      Profile::getInt(s, QString::fromUtf16(strWidth), current.width()),
                      Profile::getInt(s, QString::fromUtf16(strHeight), current.height()));
    const QRect visible = keepOnScreen(saved);
    move(visible.topLeft());
    resize(visible.size() - (frameGeometry().size() - size()));
}

void CDialogExx::SaveWindowPlacement()
{
    if (m_formNumber <= 0)
        return;
    const QString s = section();
    const bool maximized = isMaximized();
    Profile::writeInt(s, QString::fromUtf16(strMaximize), maximized ? 1 : 0);
    if (maximized)
        return; // the last normal place stays
    const QRect r = frameGeometry();
    Profile::writeInt(s, QString::fromUtf16(strLeft), r.left());
    Profile::writeInt(s, QString::fromUtf16(strTop), r.top());
    Profile::writeInt(s, QString::fromUtf16(strWidth), r.width());
    Profile::writeInt(s, QString::fromUtf16(strHeight), r.height());
}

void CDialogExx::done(int result)
{
    SaveWindowPlacement();
    QDialog::done(result);
}
