// Text helpers for the host stand-in: the host compares names without regard to case, for
// ASCII letters only, independent of the locale.
#pragma once

#include "platform/text.h"

namespace host::detail {

using platform::asciiUpper;
using platform::equalsNoCase;

}  // namespace host::detail
