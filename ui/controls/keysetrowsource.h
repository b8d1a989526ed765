#pragma once

#include "core/db/errorreport.h"
#include "ui/controls/gridrowsource.h"

#include <QHash>
#include <QVariantList>

#include <memory>

class CADODatabase;

// The rows of a query read a page at a time, as the grid comes to them. Opening reads only
// the key of every row, in the query's order; a page of rows is then fetched by its keys
// ("WHERE key IN (…)" over the query) when one of its rows is first shown, and the most
// recently used pages are kept. So 100,000 rows open in the time of one key column, and the
// memory held is that of the keys and the kept pages.
//
// The key field must be a column of the query's result, named as a plain identifier, whose
// values identify the rows (the person id, for instance). Rows that another user deleted since
// the opening show empty.
class KeysetRowSource : public GridRowSource
{
public:
    static constexpr int PageSize = 100;
    static constexpr int KeptPages = 50;

    explicit KeysetRowSource(CADODatabase *connection);
    ~KeysetRowSource() override;

    // False with lastError() when the query fails or the key field is not usable. Values are
    // bound to the query's '?' placeholders.
    bool open(const QString &sql, const QVariantList &values, const QString &keyField);
    const vantrel::db::ErrorInfo &lastError() const { return m_lastError; }
    // For the next open: the keys come from this query's first column (same values bound),
    // which must list the same rows in the same order with nothing but what the order needs.
    // A wide query with an ORDER BY is otherwise sorted whole just to read its keys.
    void setKeyQuery(const QString &sql) { m_strKeySql = sql; }
    // True when two rows share a key value: the rows cannot be read by key.
    bool hasDuplicateKeys() const { return m_bDuplicateKeys; }

    int rowCount() const override;
    int fieldCount() const override;
    QString fieldName(int field) const override;
    vantrel::db::FieldKind fieldKind(int field) const override;
    QVariant value(int record, int field) override;
    GridRecordRef recordRef(int record) override;
    void refresh(int record) override;
    QVector<int> sortedOrder(int field, bool ascending) override;
    int recordOfKey(const QVariant &key) override;

private:
    struct Page;

    Page *page(int index);
    bool readKeys();
    bool readFields();
    bool keysRepeat() const;
    // Record of each key, for sorting.
    QHash<QString, int> recordsByKey() const;
    QString wrapped(const QString &selectList, const QString &tail = {}) const;
    static QString keyText(const QVariant &key);
    bool fail(quint32 code, const QString &description);

    CADODatabase *m_pConnection;
    QString m_strSql;
    QVariantList m_values;
    QString m_strKeyField;
    QString m_strKeySql;
    QVector<QVariant> m_keys;
    bool m_bDuplicateKeys = false;
    QStringList m_fieldNames;
    QVector<vantrel::db::FieldKind> m_fieldKinds;
    QHash<int, std::shared_ptr<Page>> m_pages;
    QHash<QString, int> m_recordOfKey; // made on the first lookup
    quint64 m_nUse = 0;
    vantrel::db::ErrorInfo m_lastError;
};
