#pragma once

#include <QStringView>
#include <QtGlobal>

#include <array>

// One right: a mask with exactly one bit set, the name the operator editor shows and a
// description (often empty).
struct tagRightInfo
{
    quint64 mask;
    QStringView name;
    QStringView description;
};

inline constexpr int RightCount = 39;

// Every right of the program, indexed by right number. Rows 0, 16 and 33 are the roots
// (personnel, payroll, system administration); the rows after a root up to the next root are
// its children. Names repeat under different roots, so only the index identifies a right.
// Stored rights texts hold these bits: a row's bit never changes.
extern const std::array<tagRightInfo, RightCount> PurviewTable;

bool IsValidRight(int index);
bool IsRootRight(int index);
// The root a right sits under (a root is its own); -1 for an index outside the table.
int RootOfRight(int index);
// Whether a rights mask holds the right, that is shares a bit with it. A root does not imply
// its children. False for an index outside the table.
bool MaskHasRight(quint64 mask, int index);
