// A line of a session script that cannot be read or run: where and why.
#pragma once

#include <stdexcept>
#include <string>

namespace kestrin::session {

class ScriptError : public std::runtime_error {
public:
    // origin: "script:line" (may be empty); reason: UTF-8.
    ScriptError(std::string origin, std::string reason)
        : std::runtime_error(origin.empty() ? reason : origin + ": " + reason),
          origin_(std::move(origin)),
          reason_(std::move(reason)) {}

    const std::string& origin() const { return origin_; }
    const std::string& reason() const { return reason_; }

private:
    std::string origin_;
    std::string reason_;
};

}  // namespace kestrin::session
