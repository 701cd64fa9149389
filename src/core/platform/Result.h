#pragma once

#include <string>
#include <utility>
#include <variant>

namespace twinfold {

// A failure as the operating system put it, for a message a person can read.
struct Error {
    std::string message;
    int code = 0;
};

// Either a value or the Error that prevented it. Failures travel as values,
// never as exceptions across layers.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const Error& error() const { return std::get<1>(state_); }

private:
    std::variant<T, Error> state_;
};

struct Done {};
using Status = Result<Done>;

inline Status Ok() { return Status(Done{}); }

// The Error of an operating system error number, in the system's own words.
Error FromErrno(int code);

}  // namespace twinfold
