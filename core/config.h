// Where the maker can be reached: the web host behind error reports, the survey and the
// update check, and the support address quoted in messages. Both are settings with
// compiled-in defaults, so a test or an installation can point the system elsewhere.
#pragma once

#include <string>

namespace plorin {

constexpr const char* kDefaultWebHost = "www.varnotel.example";
constexpr const char* kDefaultSupportEmail = "support@varnotel.example";

// The setting "webHost": a host name, optionally with ":port" ("127.0.0.1:8080"), without
// path. It may start with "http://" or "https://", which is dropped here. Blanks around it
// are dropped; missing or blank gives kDefaultWebHost. Never throws (a failed read is
// reported and gives the default).
std::string webHost();

// The maker's web address: "https://" and the host when the setting "webHost" starts with
// "https://" (any case) or names no host or the default one, else "http://" and the host;
// no trailing "/". Never throws.
std::string webAddress();

// The setting "supportEmail", trimmed likewise; missing or blank gives kDefaultSupportEmail.
std::string supportEmail();

}  // namespace plorin
