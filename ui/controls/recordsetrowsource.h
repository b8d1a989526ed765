#pragma once

#include "ui/controls/gridrowsource.h"

// The rows of an open recordset, which holds them all in memory. The recordset stays the
// caller's and must outlive the source.
class RecordsetRowSource : public GridRowSource
{
public:
    // The key field (may be empty) only fills GridRecordRef::key.
    explicit RecordsetRowSource(CADORecordset *recordset, const QString &keyField = {});

    int rowCount() const override;
    int fieldCount() const override;
    QString fieldName(int field) const override;
    vantrel::db::FieldKind fieldKind(int field) const override;
    QVariant value(int record, int field) override;
    GridRecordRef recordRef(int record) override;
    void refresh(int record) override;
    QVector<int> sortedOrder(int field, bool ascending) override;
    int recordOfKey(const QVariant &key) override;

    // Empty values first; then by meaning (numbers, dates, texts).
    static bool lessThan(const QVariant &a, const QVariant &b);

private:
    CADORecordset *m_pRecordset;
    int m_nKeyField;
};
