#pragma once

// The rows of a CADORecordset and what its writes need; shared by the recordset's own
// source files only.

#include "core/db/cadorecordset.h"
#include "core/db/rowset.h"

#include <QString>
#include <QVariant>
#include <QVector>

struct CADORecordset::Data
{
    vantrel::db::RowSet set;
    bool open = false;
    QVector<int> visible; // indexes into set.rows that the filter lets through
    int pos = 0;          // index into visible; visible.size() is EOF, -1 BOF

    // Where writes go.
    QString table;
    QString keyColumn;
    int keyIndex = -1;            // column of the key in each row; past the fields when hidden
    QVector<QString> baseColumns; // per field: its table column, empty when computed

    // The pending change.
    QVector<QVariant> original;
    QVector<bool> changed;
    QVector<bool> chunked;
};
