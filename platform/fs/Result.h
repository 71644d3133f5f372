// What the outside world answers: a value, or an error that names the path,
// what was being done and the operating system's reason.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace kestrin::fs {

struct Error {
    std::string path;    // the file or folder concerned
    std::string action;  // "cannot open", "cannot read", ...
    std::string reason;  // the OS's text for errno, or our own ("is a folder")
    int code = 0;        // errno, 0 when the reason is our own

    // "PATH: ACTION: REASON".
    std::string message() const { return path + ": " + action + ": " + reason; }
};

// Builds an Error from errno's value `code`.
Error osError(std::string path, std::string action, int code);

struct Done {};

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}
    Result(Error error) : v_(std::move(error)) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(v_); }
    const T& value() const { return std::get<0>(v_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(v_); }

private:
    std::variant<T, Error> v_;
};

// An operation that answers nothing but success or an error.
using Status = Result<Done>;

}  // namespace kestrin::fs
