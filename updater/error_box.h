// The update add-in's one error display: a plain message box instead of the presentation
// add-in's error dialog. It is the error sink of the update add-in's library, so the shared
// settings, web and window routines report through it too.
#pragma once

#include <string>

#include "core/errors.h"

namespace plorinrenew {

constexpr const char* kMessageTitle = "Varnotel for presentations - Update";
constexpr const char* kDialogCaption = "Varnotel Update";

// Shows "Error: " CR LF where " (" number ", " description ")" with the critical icon.
// Without an error object only where is shown. Never throws.
void errorBox(const std::string& where, const plorin::ErrorInfo* error);

// Makes errorBox the error sink; returns the sink it replaced.
plorin::ErrorSink installErrorBox();

}  // namespace plorinrenew
