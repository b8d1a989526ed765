#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// Small text helpers shared by every module.

// Appends every piece between separators (empty ones too, also after a trailing separator)
// and returns how many were appended; an empty text appends nothing. The list is not cleared.
int SplitString(const QString &text, QChar separator, QStringList &pieces);

// Trims the text in place; true for an optional leading sign, digits and at most one
// decimal point, with at least one digit.
bool IsNumericText(QString &text);

// "%d年%02d月" of a period written year × 100 + month.
QString FormatWagePeriod(int period);

// An RGB colour packed as 0x00BBGGRR (red in the low byte).
using ColorRef = quint32;
constexpr ColorRef InvalidColor = 0xFFFFFFFF;
// "#RRGGBB" (exactly seven characters; the first is not looked at) → colour; else InvalidColor.
ColorRef ColorFromHtmlText(const QString &text);
// Six lower-case hex digits RRGGBB, without '#'.
QString ColorToHtmlText(ColorRef color);

// A block of fetched rows: the first index is the column, the second the row.
using RowBlock = QVector<QVector<QVariant>>;
// False when the block is empty, the cell is outside it, or the cell is NULL.
bool GetSafeArrayCell(const RowBlock &block, int column, int row, QVariant &value);
