#pragma once

#include "core/query/wakeupqueries.h"

#include <QTableWidget>
#include <QVector>

// The reminder definitions with the number of persons each one finds, one row each in the
// order given. Nine columns (ID, 事项, 人数, 所属表, 字段, 提前天数,
// 是否自定义条件, 自定义条件, 序号); only 事项 and 人数 show. A count above 0 is red; a
// definition whose count cannot be computed shows "<Error>". Read-only.
class CWakeupGridCtrl : public QTableWidget
{
    Q_OBJECT

public:
    enum Column {
        ColId,
        ColTitle,
        ColCount,
        ColTable,
        ColField,
        ColDays,
        ColCustom,
        ColCondition,
        ColOrder,
        ColumnCount
    };

    explicit CWakeupGridCtrl(QWidget *parent = nullptr);

    // Empties the grid and adds every row with its count.
    void FillWakeupGrid(const QVector<tagWAKEUPROW> &rows);
    // The definition shown in a row (a default one outside the rows).
    tagWAKEUPITEM itemAt(int row) const;

    // The count shown in a row's 人数 cell, -1 for "<Error>".
    int countAt(int row) const;
};
