#pragma once

#include <QString>

#include <optional>
#include <utility>

/// Why a call below the user interface failed, in words a seller can read.
/// The user interface decides how (and whether) to show it.
struct Failure {
    QString message;
};

/// The outcome of a fallible call: a value, or the failure that prevented it.
/// This is how the core reports errors; the dialog seam is the one place a
/// failure meets the user.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value)
        : m_value(std::move(value)) {}
    Result(Failure failure)
        : m_failure(std::move(failure.message)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return *m_value; }
    T& value() & { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    const T* operator->() const { return &*m_value; }
    const T& operator*() const& { return *m_value; }

    /// The value, or `fallback` when the call failed.
    T valueOr(T fallback) const { return ok() ? *m_value : std::move(fallback); }

    /// Empty when the call succeeded.
    const QString& error() const { return m_failure; }

private:
    std::optional<T> m_value;
    QString m_failure;
};

/// The outcome of a fallible call that gives nothing back.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure)
        : m_failed(true)
        , m_failure(std::move(failure.message)) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_failure; }

private:
    bool m_failed = false;
    QString m_failure;
};

using Status = Result<void>;

inline Failure fail(QString message) {
    return Failure{std::move(message)};
}
