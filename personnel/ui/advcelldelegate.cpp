#include "personnel/ui/advcelldelegate.h"

#include <QComboBox>
#include <QDateEdit>

using namespace Qt::StringLiterals;

namespace {

const QString DateFormat = u"yyyy-MM-dd"_s;

} // namespace

QWidget *AdvCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    if (index.data(AdvDateRole).toBool()) {
        auto *date = new QDateEdit(parent);
        date->setCalendarPopup(true);
        date->setDisplayFormat(DateFormat);
        return date;
    }
    if (index.data(AdvOptionsRole).isValid()) {
        auto *combo = new QComboBox(parent);
        combo->addItems(index.data(AdvOptionsRole).toStringList());
        return combo;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void AdvCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *date = qobject_cast<QDateEdit *>(editor)) {
        const QDate value = QDate::fromString(index.data().toString(), DateFormat);
        date->setDate(value.isValid() ? value : QDate::currentDate());
        return;
    }
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        const QVariant chosen = index.data(AdvIndexRole);
        combo->setCurrentIndex(chosen.isValid() ? chosen.toInt()
                                                : combo->findText(index.data().toString()));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void AdvCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                   const QModelIndex &index) const
{
    if (auto *date = qobject_cast<QDateEdit *>(editor)) {
        model->setData(index, date->date().toString(DateFormat));
        return;
    }
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        // Writing the text updates the open editor from the cell: read the choice first.
        const int chosen = combo->currentIndex();
        const QString text = combo->currentText();
        if (chosen < 0)
            return;
        model->setData(index, text);
        if (index.data(AdvIndexRole).isValid())
            model->setData(index, chosen, AdvIndexRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}
