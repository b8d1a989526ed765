#pragma once

#include "core/db/adoconstants.h"

#include <QString>
#include <QVariant>

// One typed, named parameter of a command: an input value, or a value the procedure hands
// back (output or return value), read after the command has run.
class CADOParameter
{
public:
    CADOParameter(int dataType, long size, int direction, const QString &name);
    virtual ~CADOParameter();

    const QString &GetName() const { return m_name; }
    int GetDataType() const { return m_dataType; }
    long GetSize() const { return m_size; }
    int GetDirection() const { return m_direction; }

    QVariant GetValue() const { return m_value; }
    void SetValue(const QVariant &value) { m_value = value; }

    // Empty or NULL give 0; integers their value; a boolean -1 or 0.
    bool GetValueInt(int &value);
    // Numbers, dates (strftime format, "%Y-%m-%d %H:%M:%S" when empty) and texts; a boolean
    // or binary value leaves the text as it was and gives false.
    bool GetValueText(QString &value, const QString &dateFormat = {});

    QString GetLastErrorString() const { return m_lastError; }
    quint32 GetLastError() const { return m_lastErrorCode; }

private:
    void storeError(quint32 code, const QString &description);

    QString m_name;
    int m_dataType;
    long m_size;
    int m_direction;
    QVariant m_value;
    QString m_lastError;
    quint32 m_lastErrorCode = 0;
};
