#include "platform/reportengine/reportscript.h"

#include "core/script/scriptvalue.h"
#include "platform/vbscript/arraydata.h"

using namespace Qt::StringLiterals;
using vantrel::vbscript::HostCall;
using vantrel::vbscript::Variant;

namespace vantrel::report {

namespace {

constexpr int InvalidProcedureCall = 5;
constexpr int ObjectRequired = 424;
constexpr int ItemNotFound = 3265;         // ADO: item cannot be found in the collection
constexpr int ProviderError = -2147467259; // E_FAIL: the database failed while reading rows

int indexOfName(const QStringList &names, const QString &name)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

// Member ids of the fixed objects.
int idOf(const QString &name, std::initializer_list<QStringView> members)
{
    int id = 1;
    for (QStringView m : members) {
        if (name.compare(m, Qt::CaseInsensitive) == 0)
            return id;
        ++id;
    }
    return -1;
}

int columnOf(const DataCursor &cursor, const Variant &key, HostCall &call)
{
    int column = -1;
    if (key.isString()) {
        column = cursor.fieldIndex(key.stringValue());
    } else if (const auto n = key.toLong()) {
        column = *n < cursor.fields().size() ? *n : -1;
    }
    if (column < 0)
        call.raise(ItemNotFound,
                   u"Item cannot be found in the collection corresponding to the "
                   "requested name or ordinal."_s);
    return column;
}

// A database NULL is the script's Null, not Empty.
Variant fieldValue(const QVariant &value)
{
    return db::isNullValue(value) ? Variant::null() : ScriptValue::fromQVariant(value);
}

// A failure while reading rows for the script stops the script with the reason.
bool readFailed(DataCursor &c, HostCall &call)
{
    if (c.error().isEmpty())
        return false;
    call.raise(ProviderError, c.error());
    return true;
}

bool atEnd(DataCursor &c)
{
    return c.scriptRow < 0 || !c.rowExists(c.scriptRow);
}

class FieldObject final : public vbscript::HostObject
{
public:
    FieldObject(DataCursor *cursor, int column) : m_cursor(cursor), m_column(column) { }
    int memberId(const QString &name) const override
    {
        return name.isEmpty() ? DefaultMember : idOf(name, { u"Value", u"Name" });
    }
    Variant invoke(int id, HostCall &call) override
    {
        if (id == 2)
            return Variant(m_cursor->fields()[m_column].name);
        if (atEnd(*m_cursor)) {
            if (!readFailed(*m_cursor, call))
                call.raise(3021,
                           u"Either BOF or EOF is True, or the current record has been "
                           "deleted."_s);
            return {};
        }
        return fieldValue(m_cursor->valueAt(m_cursor->scriptRow, m_column));
    }
    QString typeName() const override { return u"Field"_s; }

private:
    DataCursor *m_cursor;
    int m_column;
};

class FieldsObject final : public vbscript::HostObject
{
public:
    explicit FieldsObject(DataCursor *cursor) : m_cursor(cursor) { }
    int memberId(const QString &name) const override
    {
        return name.isEmpty() ? DefaultMember : idOf(name, { u"Item", u"Count" });
    }
    Variant invoke(int id, HostCall &call) override
    {
        if (id == 2)
            return Variant(qint32(m_cursor->fields().size()));
        if (call.count() < 1) {
            call.raise(InvalidProcedureCall);
            return {};
        }
        const int column = columnOf(*m_cursor, call.argument(0).deref(), call);
        if (column < 0)
            return {};
        return Variant::fromObject(std::make_shared<FieldObject>(m_cursor, column));
    }
    QString typeName() const override { return u"Fields"_s; }

private:
    DataCursor *m_cursor;
};

class RecordsetObject final : public vbscript::HostObject
{
public:
    explicit RecordsetObject(DataCursor *cursor) : m_cursor(cursor) { }
    int memberId(const QString &name) const override
    {
        if (name.isEmpty())
            return DefaultMember;
        return idOf(name,
                    { u"Fields", u"EOF", u"BOF", u"MoveFirst", u"MoveNext", u"MoveLast",
                      u"RecordCount", u"GetRows", u"Collect" });
    }
    Variant invoke(int id, HostCall &call) override;
    QString typeName() const override { return u"Recordset"_s; }

private:
    Variant getRows();
    DataCursor *m_cursor;
};

Variant RecordsetObject::invoke(int id, HostCall &call)
{
    DataCursor &c = *m_cursor;
    switch (id) {
    case DefaultMember:
    case 1: // Fields, or Fields(name) through the default member
    case 9: {
        auto fields = std::make_shared<FieldsObject>(m_cursor);
        if (call.count() == 0)
            return Variant::fromObject(fields);
        Variant field = fields->invoke(DefaultMember, call);
        if (id == 9 && field.isObject())
            return field.objectValue()->invoke(DefaultMember, call);
        return field;
    }
    case 2: {
        const bool eof = atEnd(c) && c.scriptRow >= 0;
        return readFailed(c, call) ? Variant() : Variant(eof);
    }
    case 3: {
        const bool bof = c.scriptRow < 0 || !c.rowExists(0);
        return readFailed(c, call) ? Variant() : Variant(bof);
    }
    case 4:
        c.scriptRow = 0;
        return {};
    case 5:
        if (!atEnd(c))
            ++c.scriptRow;
        readFailed(c, call);
        return {};
    case 6:
        c.scriptRow = qMax(0, c.rowCount() - 1);
        readFailed(c, call);
        return {};
    case 7: {
        const int count = c.rowCount();
        return readFailed(c, call) ? Variant() : Variant(qint32(count));
    }
    case 8: {
        Variant rows = getRows();
        readFailed(c, call);
        return rows;
    }
    }
    return {};
}

// All rows from the current one on: first index the field, second the row.
Variant RecordsetObject::getRows()
{
    DataCursor &c = *m_cursor;
    const int first = qMax(0, c.scriptRow);
    const QVector<QVector<QVariant>> values = c.rowsFrom(first);
    const int rows = int(values.size());
    const int fields = int(c.fields().size());
    auto *array = new vbscript::ArrayData({ fields - 1, rows - 1 });
    for (int r = 0; r < rows; ++r) {
        for (int f = 0; f < fields; ++f) {
            const qint32 index[] = { f, r };
            array->at(array->offsetOf(index)) = ScriptValue::fromQVariant(values[r][f]);
        }
    }
    c.scriptRow = first + rows;
    return Variant::fromArray(array);
}

class ControlObject final : public vbscript::HostObject
{
public:
    ControlObject(RunContext *context, ReportLayout *layout, ReportControl *control)
        : m_context(context), m_layout(layout), m_control(control)
    {
    }
    int memberId(const QString &name) const override
    {
        if (name.isEmpty())
            return DefaultMember;
        const int i = indexOfName(m_names, name);
        if (i >= 0)
            return i + 1;
        m_names.append(name);
        return int(m_names.size());
    }
    Variant invoke(int id, HostCall &call) override;
    QString typeName() const override { return m_control->typeName(); }

private:
    Variant subreport(HostCall &call);

    RunContext *m_context;
    ReportLayout *m_layout;
    ReportControl *m_control;
    mutable QStringList m_names;
};

Variant ControlObject::subreport(HostCall &call)
{
    if (!call.isPropertyPut()) {
        if (!m_control->subreport)
            return Variant::nothing();
        return Variant::fromObject(std::make_shared<ReportObject>(
            m_context, m_control->subreport.get(), m_control->subreport));
    }
    const Variant &value = call.argument(call.count() - 1).deref();
    if (!value.isObject()) {
        call.raise(ObjectRequired);
        return {};
    }
    auto *report = dynamic_cast<ReportObject *>(value.objectValue().get());
    if (value.objectValue() && !report) {
        call.raise(13);
        return {};
    }
    if (!report)
        m_control->subreport.reset();
    else if (report->owner())
        m_control->subreport = report->owner();
    else
        m_control->subreport = std::make_shared<ReportLayout>(*report->layout());
    return {};
}

Variant ControlObject::invoke(int id, HostCall &call)
{
    const QString name = id == DefaultMember ? u"Text"_s : m_names[id - 1];
    if (m_control->kind == ControlKind::SubReport
        && name.compare(u"object", Qt::CaseInsensitive) == 0)
        return subreport(call);
    if (m_control->kind == ControlKind::DataControl
        && name.compare(u"Recordset", Qt::CaseInsensitive) == 0) {
        DataCursor *cursor = m_context->cursorFor(m_layout);
        if (!cursor) {
            call.raise(91, u"The data control has no open recordset."_s);
            return {};
        }
        auto recordset = std::make_shared<RecordsetObject>(cursor);
        if (call.count() == 0)
            return Variant::fromObject(recordset);
        return recordset->invoke(DefaultMember, call);
    }
    int *geometry = nullptr;
    if (name.compare(u"Left", Qt::CaseInsensitive) == 0)
        geometry = &m_control->left;
    else if (name.compare(u"Top", Qt::CaseInsensitive) == 0)
        geometry = &m_control->top;
    else if (name.compare(u"Width", Qt::CaseInsensitive) == 0)
        geometry = &m_control->width;
    else if (name.compare(u"Height", Qt::CaseInsensitive) == 0)
        geometry = &m_control->height;
    const bool isName = name.compare(u"Name", Qt::CaseInsensitive) == 0;
    if (call.isPropertyPut()) {
        const Variant &value = call.argument(call.count() - 1).deref();
        if (geometry) {
            const auto n = value.toLong();
            if (!n) {
                call.raise(13);
                return {};
            }
            *geometry = *n;
        } else if (isName) {
            m_control->name = value.toText().value_or(QString());
        } else if (value.type() == vbscript::VarType::Boolean) {
            m_control->props.setBool(name, value.boolValue());
        } else {
            m_control->props.set(name, value.toText().value_or(QString()));
        }
        return {};
    }
    if (geometry)
        return Variant(qint32(*geometry));
    if (isName)
        return Variant(m_control->name);
    if (name.compare(u"Visible", Qt::CaseInsensitive) == 0)
        return Variant(m_control->props.boolValue(u"Visible"_s, true));
    return Variant(m_control->props.value(name));
}

} // namespace

int ReportObject::memberId(const QString &name) const
{
    if (name.isEmpty())
        return -1;
    const int i = indexOfName(m_names, name);
    if (i >= 0)
        return i + 1;
    const bool fixed = name.compare(u"PageNumber", Qt::CaseInsensitive) == 0
        || name.compare(u"Name", Qt::CaseInsensitive) == 0
        || name.compare(u"DataControl", Qt::CaseInsensitive) == 0;
    if (!fixed && !m_layout->findControl(name))
        return -1;
    m_names.append(name);
    return int(m_names.size());
}

Variant ReportObject::invoke(int id, HostCall &call)
{
    const QString name = m_names[id - 1];
    if (name.compare(u"PageNumber", Qt::CaseInsensitive) == 0)
        return Variant(qint32(m_context->pageNumber()));
    if (name.compare(u"Name", Qt::CaseInsensitive) == 0) {
        if (call.isPropertyPut())
            m_layout->name = call.argument(call.count() - 1).deref().toText().value_or(QString());
        return Variant(m_layout->name);
    }
    ReportControl *control = m_layout->findControl(name);
    if (!control && name.compare(u"DataControl", Qt::CaseInsensitive) == 0)
        control = m_layout->dataControl();
    if (!control) {
        call.raise(438, u"Object doesn't support this property or method: '%1'"_s.arg(name));
        return {};
    }
    return Variant::fromObject(std::make_shared<ControlObject>(m_context, m_layout, control));
}

} // namespace vantrel::report
