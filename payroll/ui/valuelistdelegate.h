#pragma once

#include "ui/controls/gridcelldelegate.h"

#include <QHash>

// Shows a column's stored values as texts from a value list: "#value;text|…" names the text of
// each value, plain entries "a|b|c" the texts of 0, 1, 2 …. A value the list does not name is
// shown as it is stored.
class ValueListDelegate : public GridCellDelegate
{
    Q_OBJECT

public:
    ValueListDelegate(const QString &list, CBCGPADOGridCtrl *grid);

    QString textOf(const QString &value) const { return m_texts.value(value, value); }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QHash<QString, QString> m_texts;
};
