#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

// Why an operation failed, in the words the technician reads: the message is
// already in the user's language (the failing part's own tr()), so whoever
// shows it needs to know nothing of the part. A failure is a failure whatever
// its text; an empty message does not make it a success.
struct Error {
    QString message;
};

// The outcome of an operation that either gives a value or fails with an
// Error. An empty value (an empty path, an empty list) is a value like any
// other, never mistaken for a failure.
//
// This header includes nothing of the program, so that every library, the
// workbook formats and the broker bridge among them, may use it.
template <typename T> class [[nodiscard]] Result {
public:
    Result(const T &value) : m_outcome(std::in_place_index<0>, value) {}
    Result(T &&value) : m_outcome(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : m_outcome(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_outcome.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Asking a failure for its value throws std::bad_variant_access, as
    // asking a success for its error does: neither hands out something made
    // up.
    const T &value() const & { return std::get<0>(m_outcome); }
    T &value() & { return std::get<0>(m_outcome); }
    T &&value() && { return std::get<0>(std::move(m_outcome)); }
    const T &operator*() const & { return value(); }
    const T *operator->() const { return &value(); }
    const Error &error() const { return std::get<1>(m_outcome); }

private:
    std::variant<T, Error> m_outcome;
};

// The outcome of an operation that gives nothing but success or an Error.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default; // success
    Result(Error error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    // Throws std::bad_optional_access for a success.
    const Error &error() const { return m_error.value(); }

private:
    std::optional<Error> m_error;
};
