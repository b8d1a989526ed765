#include "ui/controls/gridcelldelegate.h"

#include "ui/controls/cbcgpadogridctrl.h"
#include "ui/controls/recordsetgridmodel.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

bool isCheckCell(const QModelIndex &index)
{
    return index.data(RecordsetGridModel::CellKindRole).toInt() == RecordsetGridModel::CheckCell;
}

bool isDateCell(const QModelIndex &index)
{
    return index.data(RecordsetGridModel::CellKindRole).toInt() == RecordsetGridModel::DateCell;
}

} // namespace

GridCellDelegate::GridCellDelegate(CBCGPADOGridCtrl *grid)
    : QStyledItemDelegate(grid), m_pGrid(grid)
{
}

QWidget *GridCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    Q_UNUSED(option);
    if (isCheckCell(index) || !m_pGrid->BeginInplaceEdit(index))
        return nullptr;
    QWidget *editor = nullptr;
    if (isDateCell(index)) {
        const bool dateOnly = index.data(Qt::EditRole).typeId() == QMetaType::QDate;
        auto *dates = dateOnly ? new QDateEdit(parent) : new QDateTimeEdit(parent);
        dates->setCalendarPopup(true);
        dates->setDisplayFormat(dateOnly ? u"yyyy-MM-dd"_s : u"yyyy-MM-dd HH:mm:ss"_s);
        editor = dates;
    } else {
        auto *line = new QLineEdit(parent);
        line->setFrame(false);
        line->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
        editor = line;
    }
    m_pGrid->OnInplaceEditorCreated(editor, index);
    return editor;
}

void GridCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant value = index.data(Qt::EditRole);
    if (auto *dates = qobject_cast<QDateTimeEdit *>(editor)) {
        // An empty date starts from today rather than from the editor's minimum.
        if (value.typeId() == QMetaType::QDate)
            dates->setDate(value.toDate().isValid() ? value.toDate() : QDate::currentDate());
        else
            dates->setDateTime(value.toDateTime().isValid() ? value.toDateTime()
                                                            : QDate::currentDate().startOfDay());
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->setText(value.toString());
        line->selectAll();
    }
}

void GridCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    QVariant value;
    if (auto *dates = qobject_cast<QDateTimeEdit *>(editor))
        value = qobject_cast<QDateEdit *>(editor) ? QVariant(dates->date())
                                                  : QVariant(dates->dateTime());
    else if (auto *line = qobject_cast<QLineEdit *>(editor))
        value = line->text();
    else
        return;
    // An unchanged value writes nothing (and troubles no other user's row).
    if (value == index.data(Qt::EditRole))
        return;
    model->setData(index, value, Qt::EditRole);
}

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    if (isCheckCell(index)) {
        paintCheck(painter, option, index);
        return;
    }
    if (!index.data(RecordsetGridModel::LinkRole).isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem link = option;
    initStyleOption(&link, index);
    link.font.setUnderline(true);
    if (!(link.state & QStyle::State_Selected))
        link.palette.setColor(QPalette::Text, link.palette.color(QPalette::Link));
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &link, painter, widget);
}

void GridCellDelegate::paintCheck(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    cell.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    QStyleOptionButton box;
    box.rect = QStyle::alignedRect(option.direction, Qt::AlignCenter,
                                   QSize(style->pixelMetric(QStyle::PM_IndicatorWidth),
                                         style->pixelMetric(QStyle::PM_IndicatorHeight)),
                                   option.rect);
    const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    box.state = (on ? QStyle::State_On : QStyle::State_Off)
        | (index.flags() & Qt::ItemIsUserCheckable ? QStyle::State_Enabled : QStyle::State_None);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);
}

bool GridCellDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                   const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (!isCheckCell(index) || !(index.flags() & Qt::ItemIsUserCheckable))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    bool toggle = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        toggle = mouse->button() == Qt::LeftButton
            && option.rect.contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        return true; // a double click is two toggles, not an edit
    } else if (event->type() == QEvent::KeyPress) {
        toggle = static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space;
    }
    if (!toggle)
        return false;
    const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    // Handled even when the change is refused: the refusal has been shown.
    model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    return true;
}
