#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

// A value or the German/system text of why there is none. Used where an operation
// can fail and the caller decides how to show the failure.
template <typename T>
class Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failure(QString message) { Result r; r.m_error = std::move(message); return r; }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    const T *operator->() const { return &*m_value; }
    const QString &error() const { return m_error; }

private:
    Result() = default;
    std::optional<T> m_value;
    QString m_error;
};

// Success without a value, or a failure text.
class Status
{
public:
    Status() = default;
    static Status success() { return {}; }
    static Status failure(QString message) { Status s; s.m_failed = true; s.m_error = std::move(message); return s; }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString &error() const { return m_error; }

private:
    bool m_failed = false;
    QString m_error;
};
