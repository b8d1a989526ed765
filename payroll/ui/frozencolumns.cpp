#include "payroll/ui/frozencolumns.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

FrozenColumns::FrozenColumns(QTableView *main, int count)
    : QTableView(main), m_pMain(main), m_nCount(count)
{
    setModel(main->model());
    setSelectionModel(main->selectionModel());
    setItemDelegate(main->itemDelegate());
    setSelectionBehavior(main->selectionBehavior());
    setSelectionMode(main->selectionMode());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(main->verticalScrollMode());
    setFrameShape(QFrame::NoFrame);
    setStyleSheet(QStringLiteral("QTableView { border-right: 1px solid palette(mid); }"));
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, main->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(main->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(main->horizontalHeader(), &QHeaderView::sectionResized, this, &FrozenColumns::Sync);
    connect(main->model(), &QAbstractItemModel::modelReset, this, &FrozenColumns::Sync);
    connect(main->model(), &QAbstractItemModel::layoutChanged, this, &FrozenColumns::Sync);
    connect(this, &QTableView::doubleClicked, main, &QTableView::doubleClicked);
    main->viewport()->installEventFilter(this);
    Sync();
}

void FrozenColumns::Sync()
{
    if (!model())
        return;
    for (int column = 0; column < model()->columnCount(); ++column) {
        const bool held = column < m_nCount && !m_pMain->isColumnHidden(column);
        setColumnHidden(column, !held);
        if (held)
            setColumnWidth(column, m_pMain->columnWidth(column));
    }
    for (int row = 0; row < model()->rowCount(); ++row)
        setRowHeight(row, m_pMain->rowHeight(row));
    place();
    setVisible(model()->columnCount() > 0);
}

void FrozenColumns::place()
{
    int width = 0;
    for (int column = 0; column < m_nCount && model() && column < model()->columnCount();
         ++column) {
        if (!m_pMain->isColumnHidden(column))
            width += m_pMain->columnWidth(column);
    }
    const int left
        = m_pMain->verticalHeader()->isVisible() ? m_pMain->verticalHeader()->width() : 0;
    setGeometry(m_pMain->frameWidth() + left, m_pMain->frameWidth(), width,
                m_pMain->viewport()->height() + m_pMain->horizontalHeader()->height());
    horizontalHeader()->setFixedHeight(m_pMain->horizontalHeader()->height());
}

bool FrozenColumns::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pMain->viewport() && event->type() == QEvent::Resize)
        place();
    return QTableView::eventFilter(watched, event);
}
