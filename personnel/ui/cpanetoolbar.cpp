#include "personnel/ui/cpanetoolbar.h"

#include <QAction>

CPaneToolBar::CPaneToolBar(QWidget *parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
}

QAction *CPaneToolBar::AddCommand(int id, const QString &text)
{
    QAction *action = addAction(text);
    action->setData(id);
    return action;
}

QAction *CPaneToolBar::command(int id) const
{
    for (QAction *action : actions()) {
        if (!action->isSeparator() && action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

QList<QAction *> CPaneToolBar::commands() const
{
    QList<QAction *> found;
    for (QAction *action : actions()) {
        if (!action->isSeparator() && action->data().toInt() != 0)
            found << action;
    }
    return found;
}

const IPaneCmdUI *CPaneToolBar::target() const
{
    if (m_pOwner)
        return dynamic_cast<const IPaneCmdUI *>(m_pOwner);
    for (const QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (const auto *answer = dynamic_cast<const IPaneCmdUI *>(w))
            return answer;
    }
    return nullptr;
}

void CPaneToolBar::UpdateCmdUI()
{
    // Without anyone to ask, the buttons keep the state they have.
    const IPaneCmdUI *answer = target();
    if (!answer)
        return;
    for (QAction *action : commands())
        action->setEnabled(answer->IsPaneCommandEnabled(action->data().toInt()));
}

void CPaneToolBar::showEvent(QShowEvent *event)
{
    UpdateCmdUI();
    QToolBar::showEvent(event);
}
