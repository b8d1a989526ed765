#pragma once

#include "platform/vbscript/variant.h"

#include <QVariant>

// Values crossing between the database side (QVariant) and scripts (VBScript Variant).
namespace ScriptValue {

// Empty → invalid, Null → null QVariant, numbers, texts, booleans; dates become QDateTime.
QVariant toQVariant(const vantrel::vbscript::Variant &value);
// Invalid → Empty, null → Null, integers as Long (Double when too wide), doubles, texts,
// booleans, QDateTime/QDate as Date.
vantrel::vbscript::Variant fromQVariant(const QVariant &value);

} // namespace ScriptValue
