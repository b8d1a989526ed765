#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

// The answer of a one-value query, one of three: the value that column 0 of the first row
// gave, no row at all, or a failed query with the database's reason. A failure is never
// "no row" or a default value, so a caller can always tell them apart.
template<typename T> class ScalarAnswer
{
public:
    ScalarAnswer(T value) : m_value(std::move(value)) { }
    static ScalarAnswer noRow() { return ScalarAnswer(); }
    static ScalarAnswer failure(QString error)
    {
        ScalarAnswer answer;
        answer.m_failed = true;
        answer.m_error = std::move(error);
        return answer;
    }

    bool failed() const { return m_failed; }
    bool hasRow() const { return m_value.has_value(); }
    // Why the query failed; empty otherwise.
    const QString &error() const { return m_error; }

    // The row's value. Asking without a row is a programming error: it logs and gives T().
    const T &value() const
    {
        if (Q_LIKELY(m_value))
            return *m_value;
        qWarning("ScalarAnswer::value: there is no value (%s)",
                 m_failed ? qPrintable(m_error) : "no row");
        static const T none {};
        return none;
    }
    // The row's value, or the fallback when there is no row or the query failed.
    T valueOr(T fallback) const { return m_value ? *m_value : std::move(fallback); }

    // Equal only to the value a row gave: a failure or no row equals no value at all.
    friend bool operator==(const ScalarAnswer &answer, const T &value)
    {
        return answer.m_value && *answer.m_value == value;
    }

private:
    ScalarAnswer() = default;
    std::optional<T> m_value;
    QString m_error;
    bool m_failed = false;
};
