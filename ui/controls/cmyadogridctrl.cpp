#include "ui/controls/cmyadogridctrl.h"

#include "core/util/profile.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <utility>

using namespace Qt::StringLiterals;

CMyADOGridCtrl::CMyADOGridCtrl(QWidget *parent)
    : CBCGPADOGridCtrl(parent), m_nEnterAction(Profile::getInt({}, u"EnterAction"_s, 0))
{
}

bool CMyADOGridCtrl::eventFilter(QObject *watched, QEvent *event)
{
    auto *line = qobject_cast<QLineEdit *>(watched);
    if (line && event->type() == QEvent::KeyPress
        && handleCaretKey(line, static_cast<QKeyEvent *>(event)))
        return true;
    if (event->type() == QEvent::KeyPress && !m_bTabEndsEdit && watched->isWidgetType()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return true; // the edit goes on
    }
    return CBCGPADOGridCtrl::eventFilter(watched, event);
}

bool CMyADOGridCtrl::handleCaretKey(QLineEdit *editor, const QKeyEvent *key)
{
    // Shift extends the selection inside the cell and never leaves it.
    if (key->modifiers() & Qt::ShiftModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Right:
    case Qt::Key_End:
        return handleForwardKey(editor, key->key());
    case Qt::Key_Left:
    case Qt::Key_Home:
        return handleBackwardKey(editor, key->key());
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (m_bUpDownEndEdit)
            endEditAndMove(editor, key->key() == Qt::Key_Up ? MoveUp : MoveDown, EndByArrow);
        return true; // otherwise the arrows do nothing inside the cell
    default:
        return false;
    }
}

bool CMyADOGridCtrl::handleForwardKey(QLineEdit *editor, int key)
{
    if (editor->hasSelectedText()) {
        editor->setCursorPosition(int(editor->text().size()));
        return true;
    }
    const bool mayEnd = key == Qt::Key_Right ? m_bLeftRightEndEdit : m_bHomeEndEndEdit;
    if (editor->cursorPosition() < editor->text().size() || !mayEnd)
        return false;
    endEditAndMove(editor, key == Qt::Key_Right ? MoveRight : MoveEnd,
                   key == Qt::Key_Right ? EndByArrow : EndByHomeEnd);
    return true;
}

bool CMyADOGridCtrl::handleBackwardKey(QLineEdit *editor, int key)
{
    if (editor->hasSelectedText()) {
        editor->setCursorPosition(0);
        return true;
    }
    const bool mayEnd = key == Qt::Key_Left ? m_bLeftRightEndEdit : m_bHomeEndEndEdit;
    if (editor->cursorPosition() > 0 || !mayEnd)
        return false;
    endEditAndMove(editor, key == Qt::Key_Left ? MoveLeft : MoveHome,
                   key == Qt::Key_Left ? EndByArrow : EndByHomeEnd);
    return true;
}

void CMyADOGridCtrl::endEditAndMove(QLineEdit *editor, CursorAction move, int reason)
{
    m_nEndMove = move;
    SetPendingEndReason(reason);
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void CMyADOGridCtrl::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_bEnterBeginsEdit && state() != EditingState && currentIndex().isValid()
        && edit(currentIndex(), AllEditTriggers, event))
        return;
    CBCGPADOGridCtrl::keyPressEvent(event);
}

void CMyADOGridCtrl::OnEndInplaceEdit(QWidget *editor, QAbstractItemDelegate::EndEditHint hint,
                                      const GridItemInfo &info)
{
    m_endEditInfo = info;
    const int move = std::exchange(m_nEndMove, -1);
    if (info.endReason & EndByEnter) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        moveAfterEnter(info);
        return;
    }
    if (move < 0) {
        CBCGPADOGridCtrl::OnEndInplaceEdit(editor, hint, info);
        return;
    }
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    const QModelIndex target = moveCursor(CursorAction(move), Qt::NoModifier);
    if (target.isValid())
        SetCurSel(target.row(), target.column());
}

void CMyADOGridCtrl::moveAfterEnter(const GridItemInfo &info)
{
    if (info.row < 0 || info.column < 0)
        return;
    const int last = GetGridModel()->columnCount() - 1;
    int row = info.row, column = info.column;
    if (m_nEnterAction == EnterNextColumn) {
        if (column >= last)
            return;
        int target = last;
        for (int c = column + 1; c < last; ++c) {
            if (!isColumnHidden(c)) {
                target = c;
                break;
            }
        }
        // The last column is the fallback, but a hidden cell cannot be current.
        if (isColumnHidden(target))
            return;
        column = target;
    } else if (m_nEnterAction == EnterNextRow) {
        if (row >= GetRowCount() - 1)
            return;
        ++row;
    } else {
        return;
    }
    SetCurSel(row, column);
}
