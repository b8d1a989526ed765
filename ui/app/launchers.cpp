#include "ui/app/launchers.h"

#include "core/app/vantrelapp.h"
#include "core/util/appfiles.h"
#include "core/util/stringtable.h"
#include "ui/app/messagebox.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

void tell(const QString &text)
{
    ShowMessage(theApp.m_pMainWnd, text, LoadResString(117), QMessageBox::Information);
}

} // namespace

bool LaunchProcess(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QProcess::startDetached(path, {});
}

QString FindCalculator()
{
    static const char16_t *const calculators[] = {
        u"gnome-calculator", u"kcalc", u"galculator", u"mate-calc", u"xcalc", u"qalculate-gtk"
    };
    for (const char16_t *name : calculators) {
        const QString path = QStandardPaths::findExecutable(QString::fromUtf16(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool LaunchCalculator()
{
    if (LaunchProcess(FindCalculator()))
        return true;
    tell(u"未找到计算器程序。"_s);
    return false;
}

QString TirloPath()
{
#ifdef Q_OS_WIN
    const QString name = u"Tirlo.exe"_s;
#else
    const QString name = u"Tirlo"_s;
#endif
    return QDir(GetAppFolder()).filePath(name);
}

void LaunchTirlo()
{
    const QString path = TirloPath();
    if (!QFileInfo::exists(path)) {
        tell(u"未安装 Tirlo 程序：%1 不存在。"_s.arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!LaunchProcess(path))
        tell(u"无法启动 Tirlo 程序：%1"_s.arg(QDir::toNativeSeparators(path)));
}
