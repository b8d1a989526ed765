#include "ui/frame/cwakeupgridctrl.h"

#include <QHeaderView>

using namespace Qt::StringLiterals;

namespace {

QTableWidgetItem *cell(const QVariant &value)
{
    auto *item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidgetItem *countCell(int count)
{
    if (count < 0)
        return cell(u"<Error>"_s);
    QTableWidgetItem *item = cell(count);
    if (count > 0)
        item->setForeground(QColor(255, 0, 0));
    return item;
}

} // namespace

CWakeupGridCtrl::CWakeupGridCtrl(QWidget *parent) : QTableWidget(0, ColumnCount, parent)
{
    setObjectName(u"WakeupGrid"_s);
    setHorizontalHeaderLabels({ u"ID"_s, u"事项"_s, u"人数"_s, u"所属表"_s, u"字段"_s,
                                u"提前天数"_s, u"是否自定义条件"_s, u"自定义条件"_s, u"序号"_s });
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setFixedWidth(30);
    for (int column = 0; column < ColumnCount; ++column)
        setColumnHidden(column, column != ColTitle && column != ColCount);
    setColumnWidth(ColCount, 50);
    horizontalHeader()->setSectionResizeMode(ColTitle, QHeaderView::Stretch);
}

void CWakeupGridCtrl::FillWakeupGrid(const QVector<tagWAKEUPROW> &rows)
{
    setRowCount(0);
    setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const tagWAKEUPITEM &item = rows.at(row).item;
        setItem(row, ColId, cell(item.ID));
        setItem(row, ColTitle, cell(item.Title));
        setItem(row, ColCount, countCell(rows.at(row).count));
        setItem(row, ColTable, cell(item.WTable));
        setItem(row, ColField, cell(item.WField));
        setItem(row, ColDays, cell(item.BefDays));
        QTableWidgetItem *custom = cell(QVariant());
        custom->setCheckState(item.ISCustom ? Qt::Checked : Qt::Unchecked);
        setItem(row, ColCustom, custom);
        setItem(row, ColCondition, cell(item.WCondit));
        setItem(row, ColOrder, cell(item.Ord));
    }
}

tagWAKEUPITEM CWakeupGridCtrl::itemAt(int row) const
{
    tagWAKEUPITEM item;
    if (row < 0 || row >= rowCount())
        return item;
    const auto value = [&](int column) { return this->item(row, column)->data(Qt::DisplayRole); };
    item.ID = value(ColId).toInt();
    item.Title = value(ColTitle).toString();
    item.WTable = value(ColTable).toString();
    item.WField = value(ColField).toString();
    item.BefDays = value(ColDays).toInt();
    item.ISCustom = this->item(row, ColCustom)->checkState() == Qt::Checked;
    item.WCondit = value(ColCondition).toString();
    item.Ord = value(ColOrder).toInt();
    return item;
}

int CWakeupGridCtrl::countAt(int row) const
{
    const QTableWidgetItem *count = item(row, ColCount);
    if (!count)
        return -1;
    bool ok = false;
    const int value = count->data(Qt::DisplayRole).toInt(&ok);
    return ok ? value : -1;
}
