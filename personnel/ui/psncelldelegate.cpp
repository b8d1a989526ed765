#include "personnel/ui/psncelldelegate.h"

#include "core/query/itemmetadata.h"
#include "personnel/ui/cviewpsn.h"
#include "ui/controls/cbcgpadogridctrl.h"

#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace {

// The editor's lowest date stands for "no date".
const QDate NoDate(1900, 1, 1);

} // namespace

PsnCellDelegate::PsnCellDelegate(CBCGPADOGridCtrl *grid, const CViewPsn *view)
    : GridCellDelegate(grid), m_pGrid(grid), m_pView(view)
{
}

QWidget *PsnCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    const int type = m_pView->GetColumns().value(index.column()).iDataType;
    if (type != ItemDictionary && type != ItemDate)
        return GridCellDelegate::createEditor(parent, option, index);
    if (!m_pGrid->BeginInplaceEdit(index))
        return nullptr;
    QWidget *editor = nullptr;
    if (type == ItemDictionary) {
        auto *list = new QComboBox(parent);
        list->addItems(m_pView->GetColumns().value(index.column()).choices.split(u'|'));
        editor = list;
    } else {
        auto *dates = new QDateEdit(parent);
        dates->setObjectName(u"psnDateEditor"_s);
        dates->setCalendarPopup(true);
        dates->setDisplayFormat(u"yyyy-MM-dd"_s);
        dates->setMinimumDate(NoDate);
        dates->setSpecialValueText(u" "_s);
        editor = dates;
    }
    m_pGrid->OnInplaceEditorCreated(editor, index);
    return editor;
}

void PsnCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant value = index.data(Qt::EditRole);
    if (auto *list = qobject_cast<QComboBox *>(editor)) {
        list->setCurrentIndex(qMax(0, list->findText(value.toString(), Qt::MatchExactly)));
    } else if (auto *dates = qobject_cast<QDateEdit *>(editor)) {
        const QDate date
            = value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
        dates->setDate(date.isValid() ? date : NoDate);
    } else {
        GridCellDelegate::setEditorData(editor, index);
    }
}

void PsnCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                   const QModelIndex &index) const
{
    QVariant value;
    if (auto *list = qobject_cast<QComboBox *>(editor)) {
        value = list->currentText();
        if (value.toString().isEmpty())
            value = QVariant();
    } else if (auto *dates = qobject_cast<QDateEdit *>(editor)) {
        if (dates->date() != NoDate)
            value = QDateTime(dates->date(), QTime(0, 0));
    } else {
        GridCellDelegate::setModelData(editor, model, index);
        return;
    }
    const QVariant before = index.data(Qt::EditRole);
    if (value == before || (!value.isValid() && (before.isNull() || !before.isValid())))
        return;
    model->setData(index, value, Qt::EditRole);
}

bool PsnCellDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *dates = qobject_cast<QDateEdit *>(watched);
        dates && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            dates->setDate(NoDate);
            return true;
        }
    }
    return GridCellDelegate::eventFilter(watched, event);
}
