// Errors that carry a number, as the system's error handlers expect them: the host's
// refusals, registry failures and the system's own raised errors all derive from this.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The error of an object that is not there, as an unset object variable gives it: raised by
// the platform's document model and by the system's own code alike.
constexpr long kObjectNotSet = 91;
constexpr const char* kObjectNotSetText = "Object variable or With block variable not set";

class NumberedError : public std::runtime_error {
public:
    NumberedError(long number, const std::string& description, std::string source = {})
        : std::runtime_error(description), number_(number), source_(std::move(source)) {}

    long number() const noexcept { return number_; }
    // Where the error was raised ("plorin.Registry"), empty when nobody said.
    const std::string& source() const noexcept { return source_; }

private:
    long number_;
    std::string source_;
};

}  // namespace platform
