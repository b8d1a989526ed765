#include "payroll/ui/valuelistdelegate.h"

using namespace Qt::StringLiterals;

ValueListDelegate::ValueListDelegate(const QString &list, CBCGPADOGridCtrl *grid)
    : GridCellDelegate(grid)
{
    const QStringList entries = list.split(u'|', Qt::SkipEmptyParts);
    for (int i = 0; i < entries.size(); ++i) {
        const QString &entry = entries.at(i);
        const qsizetype separator = entry.indexOf(u';');
        if (entry.startsWith(u'#') && separator > 0)
            m_texts.insert(entry.mid(1, separator - 1), entry.mid(separator + 1));
        else
            m_texts.insert(QString::number(i), entry);
    }
}

void ValueListDelegate::initStyleOption(QStyleOptionViewItem *option,
                                        const QModelIndex &index) const
{
    GridCellDelegate::initStyleOption(option, index);
    option->text = textOf(index.data(Qt::DisplayRole).toString());
    // The texts read as words, not as the numbers stored.
    option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
}
