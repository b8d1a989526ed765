#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace vantrel {

// The outcome of an operation that can fail for expected reasons (I/O, SQL, a bad file):
// either a value or a user-readable error text.
template<typename T>
class Result
{
public:
    Result(T value) : m_value(std::move(value)) { }
    static Result failure(QString error)
    {
        Result r;
        r.m_error = std::move(error);
        return r;
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return *m_value; }
    T &value() & { return *m_value; }
    T &&value() && { return std::move(*m_value); }
    const T *operator->() const { return &*m_value; }
    T *operator->() { return &*m_value; }
    const T &operator*() const & { return *m_value; }

    const QString &error() const { return m_error; }

private:
    Result() = default;
    std::optional<T> m_value;
    QString m_error;
};

// The value-less form: success, or an error text.
template<>
class Result<void>
{
public:
    Result() = default;
    static Result failure(QString error)
    {
        Result r;
        r.m_failed = true;
        r.m_error = std::move(error);
        return r;
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString &error() const { return m_error; }

private:
    bool m_failed = false;
    QString m_error;
};

using Status = Result<void>;

} // namespace vantrel
