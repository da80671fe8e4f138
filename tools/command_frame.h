// How a command meets a failure: the procedure where it arises reports it once, with its
// "EfficiencyTools, name" location, and every caller up to the public command just ends.
// So one failure gives one report, and no command goes on computing with a missing value.
#pragma once

#include <string>
#include <string_view>

#include "core/errors.h"
#include "host/host.h"

namespace plorin {

// Thrown after a failure has been reported; only reportedAs and runCommand catch it.
struct FailureReported {};

// Runs body and returns its result. A failure not yet reported is reported with location;
// either way the caller gets FailureReported.
template <class F>
decltype(auto) reportedAs(std::string_view location, F&& body) {
    try {
        return body();
    } catch (const FailureReported&) {
        throw;
    } catch (...) {
        ErrorInfo info = currentError();
        reportError(std::string(location), &info);
        throw FailureReported{};
    }
}

// The outermost frame of a public procedure: runs body, reports a failure once with
// location, and returns whether body got to its end.
template <class F>
bool runCommand(std::string_view location, F&& body) noexcept {
    try {
        reportedAs(location, body);
        return true;
    } catch (...) {
        return false;
    }
}

// The shapes of the active window's selection. Raises error 91 while no host is connected,
// and the host's PP_E_INVALIDREQUEST when no window is open or no shape is selected.
host::ShapeRange selectedShapeRange();

// A number stored into a single-precision host property: rounded to nearest, and error 6
// ("Overflow") when it lies outside the single range or is not a number.
float toSingle(double value);

}  // namespace plorin
