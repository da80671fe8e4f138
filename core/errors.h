// The common error routine. Every procedure of the add-in runs its body through `trap`,
// which on a failure reports once with the procedure's "Object, procedure" location and
// lets the procedure leave; a procedure whose callers need its result or its failure runs
// through `reportedAs` instead. Where a report ends up is the error sink: the error dialog in
// the presentation add-in, a plain message box in the update add-in, a list in tests.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace plorin {

// The trapped error, as the error routine sees it.
struct ErrorInfo {
    long Number = 0;
    std::string Description;
    std::string Source;
};

// Receives every report. `error` is null when the caller passed a free message only.
using ErrorSink = std::function<void(const std::string& location, const ErrorInfo* error)>;

// Installs the sink (an empty function restores the recording sink) and returns the old one.
ErrorSink setErrorSink(ErrorSink sink);

// What the recording sink has collected (location, and "number: description" or "").
struct ReportedError {
    std::string location;
    bool hasError = false;
    ErrorInfo error;
};
std::vector<ReportedError>& reportedErrors();

// What the user is told instead of a report when the host refused a command because no
// presentation window is open.
constexpr const char* kNoPresentationMessage = "Please open a presentation first.";

// Hands a report to the sink. Never throws: a sink that fails is ignored. The host's refusal
// for want of an open presentation window is no fault: it gets kNoPresentationMessage in a
// message box instead.
void reportError(const std::string& location, const ErrorInfo* error);

// The error being handled in a catch block, as an ErrorInfo.
ErrorInfo currentError();

// Thrown after a failure has been reported; only reportedAs and trap catch it.
struct FailureReported {};

// The frame of a procedure below a public one: runs body and returns its result. A failure
// not yet reported is reported once with location; either way the caller gets
// FailureReported, so one failure gives one report and no caller goes on with a missing value.
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

// The outermost frame of a procedure: runs body, reports a failure once with location and
// lets the procedure leave; returns whether body got to its end.
template <class F>
bool trap(std::string_view location, F&& body) noexcept {
    try {
        reportedAs(location, body);
        return true;
    } catch (...) {
        return false;
    }
}

// Runs body and ignores every error (for the few routines that are meant to).
template <class F>
void ignoreErrors(F&& body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

// Raises a numbered error as the system's own code does.
[[noreturn]] void raiseError(long number, const std::string& description, const std::string& source = {});
// Raises errObjectNotSet with its one text (platform::kObjectNotSetText) and what was
// missing in brackets when given: what the code raises when an object it needs is not there.
[[noreturn]] void raiseObjectNotSet(const std::string& what = {});

// Error numbers the system raises itself.
constexpr long errInvalidArgument = 5;
constexpr long errOverflow = 6;
constexpr long errOutOfMemory = 7;
constexpr long errSubscriptOutOfRange = 9;
constexpr long errTypeMismatch = 13;
constexpr long errFileNotFound = 53;
constexpr long errPermissionDenied = 70;
constexpr long errPathFileAccess = 75;
constexpr long errObjectNotSet = platform::kObjectNotSet;
constexpr long errInvalidPropertyValue = 380;
constexpr long errNoSuchMember = 438;
constexpr long errArgumentNotOptional = 449;
constexpr long errDuplicateKey = 457;
constexpr long errInvalidPicture = 481;

}  // namespace plorin
