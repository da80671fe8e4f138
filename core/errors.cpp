#include "core/errors.h"

#include <exception>
#include <new>
#include <stdexcept>
#include <string_view>

#include "core/product_name.h"
#include "host/host.h"
#include "platform/ui_driver.h"

namespace plorin {
namespace {

void recordingSink(const std::string& location, const ErrorInfo* error) {
    ReportedError r;
    r.location = location;
    if (error) {
        r.hasError = true;
        r.error = *error;
    }
    reportedErrors().push_back(std::move(r));
}

ErrorSink& sinkSlot() {
    static ErrorSink sink = recordingSink;
    return sink;
}

// The host refuses what needs a document window or presentation while none is open. That
// is the user's situation, not a fault: a plain message says what to do.
bool isNoWindowRefusal(const ErrorInfo& error) {
    if (error.Number != host::PP_E_INVALIDREQUEST) return false;
    const std::string_view text = error.Description;
    return text.starts_with("Application.ActiveWindow : ") || text.starts_with("Application.ActivePresentation : ");
}

}  // namespace

std::vector<ReportedError>& reportedErrors() {
    static std::vector<ReportedError> list;
    return list;
}

ErrorSink setErrorSink(ErrorSink sink) {
    ErrorSink old = sinkSlot();
    sinkSlot() = sink ? std::move(sink) : ErrorSink(recordingSink);
    return old;
}

void reportError(const std::string& location, const ErrorInfo* error) {
    try {
        if (error && isNoWindowRefusal(*error)) {
            platform::MsgBox(kNoPresentationMessage, platform::vbInformation, kProductName);
            return;
        }
        ErrorSink sink = sinkSlot();  // a copy: the sink may replace itself
        sink(location, error);
    } catch (...) {
        // The end of every error path; nothing is left to tell.
    }
}

ErrorInfo currentError() {
    ErrorInfo info;
    try {
        throw;
    } catch (const platform::NumberedError& e) {
        info = {e.number(), e.what(), e.source()};
    } catch (const std::bad_alloc&) {
        info = {errOutOfMemory, "Out of memory", {}};
    } catch (const std::out_of_range& e) {
        info = {errSubscriptOutOfRange, std::string("Subscript out of range: ") + e.what(), {}};
    } catch (const std::exception& e) {
        info = {errInvalidArgument, e.what(), {}};
    } catch (...) {
        info = {errInvalidArgument, "Unknown error", {}};
    }
    return info;
}

void raiseObjectNotSet(const std::string& what) {
    raiseError(errObjectNotSet, platform::kObjectNotSetText + (what.empty() ? std::string() : " (" + what + ")"));
}

void raiseError(long number, const std::string& description, const std::string& source) {
    throw platform::NumberedError(number, description, source);
}

}  // namespace plorin
