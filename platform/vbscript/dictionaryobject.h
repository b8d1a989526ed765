#pragma once

#include "platform/vbscript/hostobject.h"

#include <QHash>

#include <vector>

namespace vantrel::vbscript {

// Scripting.Dictionary: items under unique keys, kept in the order they were added. Keys are
// texts (compared by CompareMode: 0 exact, 1 and 2 without regard to case), numbers (compared by
// value whatever their subtype), dates, objects (by identity), Empty or Null. For Each walks
// the keys.
class DictionaryObject final : public HostObject
{
public:
    int memberId(const QString &name) const override;
    Variant invoke(int memberId, HostCall &call) override;
    QString typeName() const override { return QStringLiteral("Dictionary"); }
    std::optional<std::vector<Variant>> elements() const override { return m_keys; }

private:
    // The text a key is found by; raises Type mismatch for an array.
    QString lookupKey(const Variant &key) const;
    qsizetype indexOf(const Variant &key) const;
    void append(const Variant &key, Variant item);
    void removeAt(qsizetype index);
    Variant item(HostCall &call);
    Variant add(HostCall &call);
    Variant remove(HostCall &call);
    Variant compareMode(HostCall &call);
    Variant renameKey(HostCall &call);

    std::vector<Variant> m_keys;
    std::vector<Variant> m_items;
    QHash<QString, qsizetype> m_index;
    qint32 m_compareMode = 0;
};

} // namespace vantrel::vbscript
