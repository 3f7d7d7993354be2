#pragma once
// Outcome of a core operation: a value, or an error with a message meant for the user.

#include <QString>

#include <utility>
#include <variant>

namespace qeltaro {

enum class ErrorKind {
    BadInput,  // the user's or a file's input was refused; nothing changed
    Storage,   // a file or the database failed
    Cancelled, // the user stopped a long operation
};

struct Error {
    ErrorKind kind = ErrorKind::BadInput;
    QString message;
};

inline Error badInput(QString message) { return {ErrorKind::BadInput, std::move(message)}; }
inline Error storageError(QString message) { return {ErrorKind::Storage, std::move(message)}; }

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(state_); }

private:
    std::variant<T, Error> state_;
};

struct Done {};
using Status = Result<Done>;
inline Status success() { return Done{}; }

}  // namespace qeltaro
