// The update server's version reply and the version numbers it is compared with.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plorinrenew {

// A program version: four dot-separated whole numbers.
using ProgramVersion = std::array<std::uint64_t, 4>;

// "1.2.0.5" as four numbers; nothing unless the text is exactly four runs of digits
// separated by "." (no signs, blanks or empty parts) and each fits 18 digits.
std::optional<ProgramVersion> parseProgramVersion(std::string_view text);

// A whole number of up to 18 digits and nothing else.
std::optional<std::uint64_t> parseWholeNumber(std::string_view text);

// The reply "programVersion:P;N;customizationVersion:C;M;" (one trailing line break allowed).
struct VersionReply {
    std::string programVersion;  // as sent
    std::uint64_t programBytes = 0;
    std::uint64_t customizationVersion = 0;
    std::uint64_t customizationBytes = 0;
};
std::optional<VersionReply> parseVersionReply(std::string_view reply);

// What the check request's reply says: 0 nothing came back, 1 a version reply, 2 "db_error",
// 3 "sql_error", 4 "numrow_error", 5 anything else (a reply that only begins like a version
// reply included).
int classifyReply(std::string_view reply);

// Whether the offered program version is an update of the installed one: always when
// nothing valid is installed; otherwise only offers of major version 1, compared number by
// number up to the first difference, so 1.10 is newer than 1.9 and an older offer never is.
bool programUpdateDue(const std::string& installed, const std::string& offered);

}  // namespace plorinrenew
