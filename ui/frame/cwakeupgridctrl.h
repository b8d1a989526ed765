#pragma once

#include <QTableWidget>

// The reminder definitions with the number of persons each one finds today, one row each in
// the order of LoadWakeupItems. Nine columns (ID, 事项, 人数, 所属表, 字段, 提前天数,
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

    // Empties the grid and adds every definition with its count; false (grid empty) when the
    // definitions cannot be read.
    bool FillWakeupGrid();

    // The count shown in a row's 人数 cell, -1 for "<Error>".
    int countAt(int row) const;
};
