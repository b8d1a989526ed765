#include "reportlib/modmain.h"

#include "platform/vbscript/numbertext.h"

#include <QDebug>
#include <QFileInfo>
#include <QStringList>

#include <cmath>
#include <dlfcn.h>

using namespace Qt::StringLiterals;

namespace ferrolyn {

namespace {

MessagePresenter &presenter()
{
    static MessagePresenter p;
    return p;
}

// The numeric value of the text's leading number (Val): "12abc" is 12, "abc" is 0.
double leadingNumber(const QString &text)
{
    QString digits;
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        digits += t[i++];
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit())
            digits += c;
        else if (c == u'.' && !point) {
            point = true;
            digits += c;
        } else
            break;
    }
    bool ok = false;
    const double v = digits.toDouble(&ok);
    return ok ? v : 0.0;
}

// Rounded half to even as CInt/CLng do; false when it does not fit.
template<typename T> bool roundInto(double value, T &out)
{
    const double r = std::nearbyint(value);
    if (r < double(std::numeric_limits<T>::min()) || r > double(std::numeric_limits<T>::max()))
        return false;
    out = T(r);
    return true;
}

// "-1", any non-zero number, "True" give True; "0", "False" False; anything else nothing.
bool readFlag(const QString &text, qint16 &out)
{
    const QString t = text.trimmed();
    if (t.compare(u"True"_s, Qt::CaseInsensitive) == 0) {
        out = -1;
        return true;
    }
    if (t.compare(u"False"_s, Qt::CaseInsensitive) == 0) {
        out = 0;
        return true;
    }
    double v = 0;
    if (!vantrel::vbscript::NumberText::parse(t, v))
        return false;
    out = v != 0 ? -1 : 0;
    return true;
}

} // namespace

ModMain &modMain()
{
    static ModMain state;
    return state;
}

void setMessagePresenter(MessagePresenter p)
{
    presenter() = std::move(p);
}

void showMessage(MessageIcon icon, const QString &title, const QString &text)
{
    if (presenter())
        presenter()(icon, title, text);
    else
        qWarning().noquote() << title << text;
}

QString GetAppFilePath(const QString &fileName)
{
    Dl_info info {};
    QString folder;
    if (dladdr(reinterpret_cast<void *>(&GetAppFilePath), &info) && info.dli_fname)
        folder = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + fileName;
}

void ParseExportSettings(const QString &text)
{
    if (text.isEmpty())
        return;
    ExportSettings &s = modMain().settings;
    const QStringList f = text.split(u'|');
    auto number = [&](int i, auto &setting) {
        if (i < f.size()) {
            std::remove_reference_t<decltype(setting)> v {};
            if (roundInto(leadingNumber(f[i]), v))
                setting = v;
        }
    };
    auto flag = [&](int i, qint16 &setting) {
        if (i < f.size())
            readFlag(f[i], setting);
    };
    number(0, s.ExcelVersion);
    flag(1, s.ExcelAutoRowHeight);
    number(2, s.ExcelBorderSpace);
    flag(3, s.ExcelDoubleBoundaries);
    flag(4, s.ExcelGenPagebreaks);
    number(5, s.ExcelMinColumnWidth);
    number(6, s.ExcelMinRowHeight);
    flag(7, s.ExcelMultiSheet);
    flag(8, s.ExcelShowMarginSpace);
    flag(9, s.ExcelTrimEmptySpace);
}

QString BuildExportSettings()
{
    const ExportSettings &s = modMain().settings;
    const QList<qint64> values { s.ExcelVersion,         s.ExcelAutoRowHeight,
                                 s.ExcelBorderSpace,     s.ExcelDoubleBoundaries,
                                 s.ExcelGenPagebreaks,   s.ExcelMinColumnWidth,
                                 s.ExcelMinRowHeight,    s.ExcelMultiSheet,
                                 s.ExcelShowMarginSpace, s.ExcelTrimEmptySpace };
    QStringList parts;
    for (qint64 v : values)
        parts << QString::number(v);
    return parts.join(u'|');
}

} // namespace ferrolyn
