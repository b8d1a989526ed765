#include "core/db/cadoparameter.h"

#include "core/db/errorreport.h"
#include "core/db/valuetext.h"

using namespace vantrel::db;
using namespace Qt::StringLiterals;

CADOParameter::CADOParameter(int dataType, long size, int direction, const QString &name)
    : m_name(name), m_dataType(dataType), m_size(size), m_direction(direction)
{
}

CADOParameter::~CADOParameter() = default;

void CADOParameter::storeError(quint32 code, const QString &description)
{
    m_lastError = ErrorInfo::make(code, description, m_name).report("CADOParameter");
    m_lastErrorCode = code;
}

bool CADOParameter::GetValueInt(int &value)
{
    if (!m_value.isValid() || m_value.isNull()) {
        value = 0;
        return true;
    }
    switch (m_value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UChar:
        value = m_value.toInt();
        return true;
    case QMetaType::LongLong: {
        const qint64 v = m_value.toLongLong();
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
            break;
        value = int(v);
        return true;
    }
    case QMetaType::Bool:
        value = m_value.toBool() ? -1 : 0;
        return true;
    default:
        break;
    }
    storeError(ErrorCode::Failed, u"The value is not an integer."_s);
    return false;
}

bool CADOParameter::GetValueText(QString &value, const QString &dateFormat)
{
    return ValueToText(m_value, dateFormat, value, BooleanText::Refused);
}
