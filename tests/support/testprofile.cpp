#include "testprofile.h"

#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

bool useTestProfile()
{
    QStandardPaths::setTestModeEnabled(true);
    return QSettings(u"MorvelSoft"_s, u"Vantrel"_s).fileName().contains(u"qttest"_s);
}

void clearTestProfile()
{
    QSettings(u"MorvelSoft"_s, u"Vantrel"_s).remove(u"Settings"_s);
}
