#include "reportlib/vbo.h"

#include "core/db/cadocommand.h"
#include "core/script/scriptvalue.h"
#include "platform/reportengine/layoutxml.h"
#include "platform/reportengine/reportscript.h"
#include "platform/vbscript/arraydata.h"
#include "platform/vbscript/coerce.h"
#include "platform/vbscript/numbertext.h"
#include "platform/vbscript/varformat.h"
#include "reportlib/modmain.h"

#include <QFileInfo>

#include <cmath>

using namespace Qt::StringLiterals;
using vantrel::report::ReportLayout;
using vantrel::vbscript::Coerce;
using vantrel::vbscript::HostCall;
using vantrel::vbscript::Variant;

namespace ferrolyn {

namespace {

const QStringList &methodNames()
{
    static const QStringList names {
        u"Choose"_s,
        u"IIf"_s,
        u"Format"_s,
        u"Switch"_s,
        u"getChartDataFromRecordset"_s,
        u"CreateReportByFile"_s,
        u"CreateReportByFileTemplate"_s,
        u"Sum"_s,
        u"Avg"_s,
        u"Max"_s,
        u"Min"_s,
        u"Count"_s,
        u"GetSalary"_s,
        u"GetPreSalary"_s,
        u"DX"_s,
    };
    return names;
}

const Variant &arg(const HostCall &call, int i)
{
    static const Variant empty;
    return i < call.count() ? call.argument(i).deref() : empty;
}

QString text(const Variant &v)
{
    QString out;
    Coerce::tryString(v, out);
    return out;
}

// x = "" as the script compares it: an empty text or Empty.
bool isEmptyText(const Variant &v)
{
    return v.isEmpty() || (v.isString() && v.stringValue().isEmpty());
}

bool isNumeric(const Variant &v, double &out)
{
    if (v.isNull() || v.isObject() || v.isArray())
        return false;
    if (v.isString())
        return vantrel::vbscript::NumberText::parse(v.stringValue(), out);
    return Coerce::tryDouble(v, out) == 0;
}

Variant reportObject(std::shared_ptr<ReportLayout> layout)
{
    auto *raw = layout.get();
    return Variant::fromObject(
        std::make_shared<vantrel::report::ReportObject>(nullptr, raw, std::move(layout)));
}

Variant createByFile(HostCall &call)
{
    auto layout = std::make_shared<ReportLayout>();
    const QString file = text(arg(call, 0));
    if (QFileInfo::exists(file)) {
        auto loaded = vantrel::report::LayoutXml::readFile(file);
        if (!loaded) {
            call.raise(5, loaded.error());
            return {};
        }
        *layout = std::move(loaded).value();
    }
    return reportObject(std::move(layout));
}

Variant createByFileTemplate(HostCall &call)
{
    const QString file = text(arg(call, 0));
    if (!QFileInfo::exists(file))
        return Variant::nothing();
    const Variant &cnn = arg(call, 1);
    const QString connection = isEmptyText(cnn) ? modMain().gConnectionString : text(cnn);
    const Variant &rssql = arg(call, 2);
    auto loaded = vantrel::report::LayoutXml::readFile(file);
    if (!loaded) {
        call.raise(5, loaded.error());
        return {};
    }
    auto layout = std::make_shared<ReportLayout>(std::move(loaded).value());
    vantrel::report::ReportControl *data = layout->dataControl();
    if (data) {
        data->name = u"DataControl"_s;
        data->props.set(u"ConnectionString"_s, connection);
        if (!isEmptyText(rssql))
            data->props.set(u"Source"_s, text(rssql));
    } else {
        vantrel::report::Section *section = layout->dataSection();
        if (!section) {
            call.raise(91, u"The layout has no detail section."_s);
            return {};
        }
        data = layout->addControl(*section, u"DDActiveReports2.DataControl"_s, u"DataControl"_s);
        data->props.set(u"ConnectionString"_s, connection);
        data->props.set(u"Source"_s, text(rssql));
    }
    return reportObject(std::move(layout));
}

Variant chartData(HostCall &call)
{
    const Variant &rs = arg(call, 0);
    if (!rs.isObject() || !rs.objectValue()) {
        call.raise(424);
        return {};
    }
    auto &object = *rs.objectValue();
    HostCall none({});
    object.invoke(object.memberId(u"MoveFirst"_s), none);
    HostCall rowsCall({});
    Variant rows = object.invoke(object.memberId(u"GetRows"_s), rowsCall);
    if (none.failed() || rowsCall.failed() || !rows.isArray()) {
        call.raise(rowsCall.failed() ? rowsCall.error().number() : 13);
        return {};
    }
    return Variant::fromArray(new vantrel::vbscript::ArrayData(*rows.arrayData()));
}

Variant choose(HostCall &call)
{
    double index = 0;
    if (call.count() < 1 || Coerce::tryDouble(arg(call, 0), index) != 0)
        return Variant::null();
    const int i = int(std::floor(float(index)));
    if (i < 1 || i >= call.count())
        return Variant::null();
    return arg(call, i);
}

Variant switchOf(HostCall &call)
{
    for (int i = 0; i + 1 < call.count(); i += 2) {
        bool truth = false;
        if (Coerce::tryBool(arg(call, i), truth) == 0 && truth)
            return arg(call, i + 1);
    }
    return Variant::null();
}

} // namespace

Vbo::Vbo()
{
    m_open = m_db.Open(modMain().gConnectionString);
}

Vbo::~Vbo()
{
    if (m_open)
        m_db.Close();
}

int Vbo::memberId(const QString &name) const
{
    const QStringList &names = methodNames();
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return -1;
}

Variant Vbo::invoke(int memberId, HostCall &call)
{
    switch (memberId - 1) {
    case 0:
        return choose(call);
    case 1: {
        bool truth = false;
        Coerce::tryBool(arg(call, 0), truth);
        return truth ? arg(call, 1) : arg(call, 2);
    }
    case 2: {
        auto formatted = vantrel::vbscript::VarFormat::format(arg(call, 0), text(arg(call, 1)));
        if (!formatted) {
            call.raise(13);
            return {};
        }
        return formatted.value();
    }
    case 3:
        return switchOf(call);
    case 4:
        return chartData(call);
    case 5:
        return createByFile(call);
    case 6:
        return createByFileTemplate(call);
    case 7:
        return aggregate(Aggregate::Sum, arg(call, 0));
    case 8:
        return aggregate(Aggregate::Avg, arg(call, 0));
    case 9:
        return aggregate(Aggregate::Max, arg(call, 0));
    case 10:
        return aggregate(Aggregate::Min, arg(call, 0));
    case 11:
        return count();
    case 12:
        return wageValue(u"qz_GetPSNWageValue"_s, call, false);
    case 13:
        return wageValue(u"qz_GetPSNPreWageValue"_s, call, true);
    case 14:
        return Variant(DX(arg(call, 0)));
    }
    return {};
}

const vantrel::db::RowSet *Vbo::recordSource()
{
    if (!m_open)
        return nullptr;
    const QString sql = modMain().gRecordSourceSQL;
    auto it = m_sources.find(sql);
    if (it == m_sources.end()) {
        auto r = m_db.runReadOnly(sql);
        ++m_sourceReads;
        if (!r.ok)
            return nullptr;
        it = m_sources.insert(sql, std::move(r.rows));
    }
    return &it.value();
}

Variant Vbo::aggregate(Aggregate kind, const Variant &fieldName)
{
    const Variant none(QString {});
    const vantrel::db::RowSet *rows = recordSource();
    if (!rows)
        return none;
    QString field = text(fieldName);
    field.remove(u'[').remove(u']');
    const int column = rows->fieldIndex(field);
    if (column < 0)
        return none;
    double total = 0;
    double kept = 0;
    int counted = 0;
    for (int r = 0; r < rows->rowCount(); ++r) {
        const QVariant value = rows->value(r, column);
        if (vantrel::db::isNullValue(value))
            continue;
        double v = 0;
        if (!isNumeric(ScriptValue::fromQVariant(value), v))
            return none;
        if (counted == 0 || (kind == Aggregate::Max && v > kept)
            || (kind == Aggregate::Min && v < kept))
            kept = v;
        total += v;
        ++counted;
    }
    if (counted == 0)
        return none;
    switch (kind) {
    case Aggregate::Sum:
        return Variant(total);
    case Aggregate::Avg:
        return Variant(total / counted);
    case Aggregate::Max:
    case Aggregate::Min:
        return Variant(kept);
    }
    return none;
}

Variant Vbo::count()
{
    const vantrel::db::RowSet *rows = recordSource();
    if (!rows || rows->rowCount() == 0)
        return Variant(QString {});
    return Variant(qint32(rows->rowCount()));
}

// The procedures take person number, period, (periods back,) item, wage set: the wage set,
// second in the script's call, goes last.
Variant Vbo::wageValue(const QString &procedure, HostCall &call, bool previous)
{
    const Variant none(QString {});
    if (!m_open)
        return none;
    qint32 period = 0;
    qint32 back = 0;
    if (Coerce::tryLong(arg(call, 2), period) != 0
        || (previous && Coerce::tryLong(arg(call, 3), back) != 0))
        return none;
    CADOCommand command(&m_db, procedure);
    command.AddParameterText(u"PsnNumber"_s, adVarChar, adParamInput, 50, text(arg(call, 0)));
    command.AddParameterInt(u"nFDate"_s, adInteger, adParamInput, 4, period);
    if (previous)
        command.AddParameterInt(u"nPer"_s, adInteger, adParamInput, 4, back);
    command.AddParameterText(u"ItmAlias"_s, adVarChar, adParamInput, 50,
                             text(arg(call, previous ? 4 : 3)));
    command.AddParameterText(u"SortName"_s, adVarChar, adParamInput, 100, text(arg(call, 1)));
    if (!command.Execute())
        return none;
    const vantrel::db::RowSet rows = command.TakeResultSet();
    if (rows.rowCount() == 0)
        return none;
    return ScriptValue::fromQVariant(rows.value(0, 0));
}

QString Vbo::DX(const Variant &x)
{
    double amount = 0;
    if (!isNumeric(x, amount))
        return u"非数字"_s;
    const bool negative = amount < 0;
    amount = std::fabs(amount);
    QString digits = vantrel::vbscript::NumberText::formatFixed(amount, 2, true, false, false);
    digits.remove(u'.').remove(u',');
    // No 元 or 零 before the first non-zero digit.
    while (digits.startsWith(u'0'))
        digits.remove(0, 1);
    const int L = int(digits.size());
    if (L >= 16)
        return u"溢出"_s;
    static const QString allUnits = u"万仟佰拾亿仟佰拾万仟佰拾元角分"_s;
    static const QString digitChars = u"零壹贰叁肆伍陆柒捌玖"_s;
    const QString units = allUnits.right(L);
    QString result;
    int zeros = 0;
    for (int i = 1; i <= L; ++i) {
        const int n = digits[i - 1].digitValue();
        const QString unit(units[i - 1]);
        const bool key = i == L - 2 || i == L - 6 || i == L - 10 || i == L - 14;
        QString t;
        QString v;
        if (n != 0) {
            t = (zeros > 0 ? u"零"_s : QString()) + digitChars[n];
            v = unit;
            zeros = 0;
        } else {
            if (key && zeros < 3)
                v = unit;
            ++zeros;
        }
        if (i == L - 2 || i == L - 10)
            v = unit;
        result += t + v;
        if (i == L && n == 0)
            result += u"整"_s;
    }
    if (amount == 0 || L == 0)
        result = u"零元整"_s;
    return negative ? u"负"_s + result : result;
}

QString BuildReportScript()
{
    static const QList<QPair<QString, QString>> blocks {
        { u"Function getChartDataFromRecordset(rs) "_s,
          u"getChartDataFromRecordset = vbo.getChartDataFromRecordset(rs) "_s },
        { u"Function IIf(Expression, TruePart, FalsePart) "_s,
          u"IIf = vbo.IIf(Expression, TruePart, FalsePart)"_s },
        { u"Function Format(expr, fmt) "_s, u" Format = vbo.Format(expr, fmt)"_s },
        { u"Function DX(x) "_s, u" DX = vbo.DX(x)"_s },
        { u"Function CreateReportByFile(sfile) "_s,
          u"Set CreateReportByFile = vbo.CreateReportByFile(sfile) "_s },
        { u"Function CreateReportByFileTemplate(sReportfile, cnn, rssql) "_s,
          u"Set CreateReportByFileTemplate = vbo.CreateReportByFileTemplate(sReportfile, cnn, rssql) "_s },
        { u"Function GetSalary(PSNumber,sSort,nFdate,sField) "_s,
          u"GetSalary = vbo.GetSalary(PSNumber,sSort,nFdate,sField) "_s },
        { u"Function GetPreSalary(PSNumber,sSort,nFdate,nPer,sField) "_s,
          u"GetPreSalary = vbo.GetPreSalary(PSNumber,sSort,nFdate,nPer,sField) "_s },
        { u"Function Sum(sField) "_s, u"Sum = vbo.Sum(sField) "_s },
        { u"Function Avg(sField) "_s, u"Avg = vbo.Avg(sField) "_s },
        { u"Function Max(sField) "_s, u"Max = vbo.Max(sField) "_s },
        { u"Function Min(sField) "_s, u"Min = vbo.Min(sField) "_s },
        { u"Function Count() "_s, u"Count = vbo.Count() "_s },
    };
    QString script;
    for (const auto &[header, body] : blocks)
        script += header + u"\r\n"_s + body + u"\r\n\r\nEnd Function\r\n\r\n"_s;
    const QString &user = modMain().gScript;
    if (!user.trimmed().isEmpty())
        script += user;
    return script;
}

} // namespace ferrolyn
