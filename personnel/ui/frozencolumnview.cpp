#include "personnel/ui/frozencolumnview.h"

#include <QHeaderView>
#include <QScrollBar>

FrozenColumnView::FrozenColumnView(QWidget *parent)
    : QTableView(parent), m_frozen(new QTableView(this))
{
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->verticalHeader()->hide();
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_frozen->setStyleSheet(QStringLiteral("QTableView { border: none; }"));
    m_frozen->hide();
    connect(m_frozen->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, m_frozen->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (section == m_column) {
                    m_frozen->setColumnWidth(section, size);
                    placeFrozen();
                }
            });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) { m_frozen->setRowHeight(section, size); });
}

void FrozenColumnView::freezeColumn(int column)
{
    m_column = column;
    if (column < 0 || !model()) {
        m_frozen->hide();
        return;
    }
    if (m_frozen->model() != model()) {
        m_frozen->setModel(model());
        m_frozen->setSelectionModel(selectionModel());
    }
    for (int c = 0; c < model()->columnCount(); ++c)
        m_frozen->setColumnHidden(c, c != column);
    m_frozen->setColumnWidth(column, columnWidth(column));
    viewport()->stackUnder(m_frozen);
    m_frozen->show();
    placeFrozen();
}

void FrozenColumnView::placeFrozen()
{
    if (m_column < 0)
        return;
    m_frozen->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(),
                          columnWidth(m_column),
                          viewport()->height() + horizontalHeader()->height());
}

void FrozenColumnView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    placeFrozen();
}

QModelIndex FrozenColumnView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Keep the cell the cursor moves to out from under the frozen column.
    if (m_column >= 0 && cursorAction == MoveLeft && current.column() != m_column
        && visualRect(current).topLeft().x() < columnWidth(m_column)) {
        const int scrolled = horizontalScrollBar()->value() + visualRect(current).topLeft().x()
            - columnWidth(m_column);
        horizontalScrollBar()->setValue(scrolled);
    }
    return current;
}

void FrozenColumnView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (index.column() != m_column)
        QTableView::scrollTo(index, hint);
}
