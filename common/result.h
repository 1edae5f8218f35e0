// Result types for expected failures (a file that cannot be read, a corrupt image, a full disk).
// Failures are values: they carry a human-readable message and, where one applies, the path.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace pelimon {

struct Error {
    std::string message;  // what went wrong, in the user's language where it is shown as is
    std::string path;     // the file concerned, empty when none
};

// Either a value or an Error. Deliberately small: ok(), value(), error().
template <class T>
class Result {
  public:
    Result(T value) : state_(std::move(value)) {}      // NOLINT(google-explicit-constructor)
    Result(Error error) : state_(std::move(error)) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<T>(state_); }
    const T& value() const& { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    const Error& error() const { return std::get<Error>(state_); }

  private:
    std::variant<T, Error> state_;
};

// Outcome of an operation that yields nothing but may fail.
class Status {
  public:
    Status() = default;
    Status(Error error) : error_(std::move(error)) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *error_; }

  private:
    std::optional<Error> error_;
};

}  // namespace pelimon
