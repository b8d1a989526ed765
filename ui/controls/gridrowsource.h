#pragma once

#include "core/db/sqldialect.h"

#include <QString>
#include <QVariant>
#include <QVector>

class CADORecordset;

// Where a grid row's values live, for writing them back: the recordset that holds the record,
// its position there, and the value of the grid's key field (invalid without one).
struct GridRecordRef
{
    CADORecordset *recordset = nullptr;
    long position = -1;
    QVariant key;
};

// The rows a grid shows. Records are numbered 0 … rowCount() - 1 in the order the query
// returned them; that numbering never changes while the rows are open (sorting is an order of
// record numbers on top).
class GridRowSource
{
public:
    virtual ~GridRowSource() = default;

    virtual int rowCount() const = 0;
    virtual int fieldCount() const = 0;
    virtual QString fieldName(int field) const = 0;
    virtual vantrel::db::FieldKind fieldKind(int field) const = 0;
    // Invalid for a NULL value or a record or field out of range.
    virtual QVariant value(int record, int field) = 0;
    virtual GridRecordRef recordRef(int record) = 0;
    // The record was written: read it again when next asked.
    virtual void refresh(int record) = 0;
    // The records in the order of the field (stable, empty values first when ascending).
    virtual QVector<int> sortedOrder(int field, bool ascending) = 0;
    // The record whose key field holds the value; -1 when none does or there is no key field.
    virtual int recordOfKey(const QVariant &key) = 0;
};
