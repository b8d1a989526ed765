#pragma once

#include "ui/controls/csubclasswnd.h"

#include <QPointer>

#include <functional>

// Watches the dialog of a picker whose list is dropped, and closes the list when the user
// turns elsewhere: the dialog moved or resized, deactivated, its window menu or Alt used on it,
// or a mouse click anywhere outside the picker and its list. The mouse wheel over the dialog
// is swallowed, so nothing scrolls under the open list. Hook it to the picker's window when
// the list drops and delete it (or unhook it) when the list closes.
class ComboGridHook : public CSubclassWnd
{
    Q_OBJECT

public:
    // closeList tells the picker to notify its owner and cancel its list.
    ComboGridHook(QWidget *picker, std::function<void()> closeList, QObject *parent = nullptr);
    ~ComboGridHook() override;

    // The dropped list: clicks inside it do not close it.
    void setDroppedList(QWidget *list) { m_list = list; }

protected:
    bool WindowProc(QEvent *event) override;
    // Clicks on other windows and on the dialog's other controls.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isInside(const QWidget *widget) const;
    void closeList();

    QPointer<QWidget> m_picker;
    QPointer<QWidget> m_list;
    std::function<void()> m_closeList;
};

// The drop-down tree's picker is watched the same way.
using ComboTreeHook = ComboGridHook;
