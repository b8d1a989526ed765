#include "core/app/purview.h"

#include "core/util/stringhelpers.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QString Purview::toText() const
{
    return QString::number(mask, 16) + u'|' + categories + u'|' + departments + u'|' + wageSets;
}

void Purview::parse(const QString &text)
{
    QStringList pieces;
    SplitString(text, u'|', pieces);
    if (pieces.isEmpty())
        return;
    mask = pieces.at(0).trimmed().toULongLong(nullptr, 16);
    if (pieces.size() >= 2)
        categories = pieces.at(1);
    if (pieces.size() >= 3)
        departments = pieces.at(2);
    if (pieces.size() >= 4)
        wageSets = pieces.at(3);
}

QString Purview::joinIds(const QList<int> &ids)
{
    QStringList texts;
    for (int id : ids)
        texts << QString::number(id);
    return texts.join(u',');
}

bool Purview::listContains(const QString &list, int id)
{
    const QString wrapped = u","_s + list + u',';
    return wrapped.contains(u',' + QString::number(id) + u',');
}
