// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>
#include <utility>

// What an operation that can fail gives back: its value, or the text that
// says why it failed, as the error report shows it. One shape for readers,
// writers and the settings file alike; only the error report shows a box.
//
//   Result<QString> text = read(path);
//   if (!text)
//       errorreport::show(text.error());
//
// An error type other than a text carries what a caller needs besides it
// (a reader's rows read before the error, say); it offers `text`.
struct ErrorText
{
    QString text;
};

template <typename T, typename E = ErrorText> class [[nodiscard]] Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(E error) : m_error(std::move(error)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return *m_value; }
    T &value() & { return *m_value; }
    T &&value() && { return std::move(*m_value); }
    const T *operator->() const { return &*m_value; }
    const T &operator*() const { return *m_value; }

    const E &failure() const { return m_error; }
    QString error() const { return ok() ? QString() : m_error.text; }

private:
    std::optional<T> m_value;
    E m_error;
};

template <typename E> class [[nodiscard]] Result<void, E>
{
public:
    Result() = default;
    Result(E error) : m_failed(true), m_error(std::move(error)) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }

    const E &failure() const { return m_error; }
    QString error() const { return ok() ? QString() : m_error.text; }

private:
    bool m_failed = false;
    E m_error;
};

// The failure of an operation, for `return fail(text);`.
inline ErrorText fail(QString text)
{
    return ErrorText{std::move(text)};
}
