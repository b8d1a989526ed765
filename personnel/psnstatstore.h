#pragma once

#include "platform/common/result.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

class CADODatabase;

namespace vantrel::personnel {

// A row of qz_Stat.
struct StatDefinition
{
    int tid = 0;
    QString caption;
    int flag = 1; // 1 one-dimensional, 2 cross
    bool fixed = false;
    QString table; // 1D: table name; 2D: the horizontal (first) TID as text
    QString field; // 1D: column name; 2D: the vertical (second) TID as text
    int ord = 0;
};

// A row of qz_StatItmFilter: a bucket of a number or date statistic, both bounds inclusive.
struct StatRange
{
    int id = 0;
    QString title;
    QString lower;
    QString upper;
};

// The qz_Items row of a counted column.
struct StatItem
{
    QString table; // TblName and Name as the metadata spells them
    QString name;
    QString alias;
    int dataType = 0; // 0 number, 1 text, 2 date, 3 dictionary, 4 link
    QString idRef;    // type 4: "<referenced table>.<key column>"
};

// Data types of items that statistics treat apart.
inline constexpr int StatNumberItem = 0;
inline constexpr int StatDateItem = 2;
inline constexpr int StatLinkItem = 4;

// Whether a statistic over an item of this type counts by ranges (numbers and dates).
inline bool CountsByRanges(int dataType)
{
    return dataType == StatNumberItem || dataType == StatDateItem;
}

// The definition; nullopt when it is gone.
Result<std::optional<StatDefinition>> LoadStatDefinition(CADODatabase &db, int tid);
// The definitions of one kind (1 or 2), in their Ord.
Result<QVector<StatDefinition>> LoadStatGroup(CADODatabase &db, int flag);
// The ranges of a statistic, in their Ord.
Result<QVector<StatRange>> LoadStatRanges(CADODatabase &db, int tid);
// The item a one-dimensional statistic counts, found without regard to case; nullopt when the
// metadata has no such item.
Result<std::optional<StatItem>> LoadStatItem(CADODatabase &db, const QString &table,
                                             const QString &field);

// A date bound as stored: "yyyy-MM-dd", or older forms ("2024/5/10", "2024-05-10 00:00:00",
// "2024.5.10") read leniently. Invalid when the text is no date.
QDate ParseStatDate(const QString &text);
// A number bound: the trimmed text when it is a plain number (optional sign, digits, one
// point), else nullopt.
std::optional<double> ParseStatNumber(const QString &text);

// Saves a one-dimensional statistic in one transaction: tid 0 inserts it (Ord = its new TID),
// otherwise only its caption is rewritten (a definition deleted meanwhile is inserted anew,
// with its ranges). For a number or date item (`dataType`) the ranges are then written through
// qz_AddStatItmFilter in the given order with Ord 0, 1, 2 …, date bounds as "yyyy-MM-dd".
// Returns the TID. Refused before anything is written: an empty caption ("标题不能为空!"),
// no ranges or a range without a title or with a bound that is no number or date
// ("区段设置有错误!"). A failure rolls everything back.
Result<int> SaveStat1D(CADODatabase &db, const StatDefinition &definition, int dataType,
                       const QVector<StatRange> &ranges);

// Saves a cross of two one-dimensional statistics in one transaction: tid 0 inserts it
// (Ord = its new TID), otherwise its caption and both TIDs are rewritten. Refused with
// "标题不能为空!" for an empty caption, and with "不能创建这两横纵指标统计项!" unless both are
// one-dimensional statistics, they differ and one of them counts a column of QZ_PSNBASE.
// Returns the TID.
Result<int> SaveStat2D(CADODatabase &db, int tid, const QString &caption, int horzTid, int vertTid);

// Deletes one range at once (the range editor's delete); id 0 deletes nothing.
Status DeleteStatRange(CADODatabase &db, int id);

// Deletes a statistic with its ranges in one transaction. Refused with
// "统计项'%s'已被二维统计项'%s'引用,不能删除!" while a cross uses it.
Status DeleteStat(CADODatabase &db, int tid);

// Drag and drop in the tree (on theDatabase): the moved definition takes the target's place
// in the group `flag`, those between shift by one. Refused when either is not in that group.
Status MoveStat(int tidMove, int tidTarget, int flag);

} // namespace vantrel::personnel
