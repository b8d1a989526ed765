#pragma once

#include "core/query/scalaranswer.h"

#include <QTest>

// How QCOMPARE shows a one-value query's answer: the value, "no row" or the failure's reason.
template<typename T> char *toString(const ScalarAnswer<T> &answer)
{
    if (answer.failed())
        return qstrdup(qPrintable(QStringLiteral("failed: ") + answer.error()));
    if (!answer.hasRow())
        return qstrdup("no row");
    return QTest::toString(answer.value());
}
