#include "updater/versions.h"

namespace plorinrenew {
namespace {

constexpr std::size_t kMaxDigits = 18;  // fits 64 bits with room

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Takes the text up to the next ';' (which must be there) off the front.
std::optional<std::string_view> field(std::string_view& rest) {
    const auto semicolon = rest.find(';');
    if (semicolon == std::string_view::npos) return std::nullopt;
    const std::string_view value = rest.substr(0, semicolon);
    rest.remove_prefix(semicolon + 1);
    return value;
}

}  // namespace

std::optional<std::uint64_t> parseWholeNumber(std::string_view text) {
    if (text.empty() || text.size() > kMaxDigits) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

std::optional<ProgramVersion> parseProgramVersion(std::string_view text) {
    ProgramVersion version{};
    for (std::size_t i = 0; i < version.size(); ++i) {
        const auto dot = i + 1 < version.size() ? text.find('.') : std::string_view::npos;
        if (i + 1 < version.size() && dot == std::string_view::npos) return std::nullopt;
        const auto number = parseWholeNumber(text.substr(0, dot));
        if (!number) return std::nullopt;
        version[i] = *number;
        text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    }
    return version;
}

std::optional<VersionReply> parseVersionReply(std::string_view reply) {
    if (reply.size() >= 2 && reply.substr(reply.size() - 2) == "\r\n") reply.remove_suffix(2);
    else if (!reply.empty() && reply.back() == '\n') reply.remove_suffix(1);
    constexpr std::string_view kProgram = "programVersion:";
    constexpr std::string_view kCustomization = "customizationVersion:";
    if (!startsWith(reply, kProgram)) return std::nullopt;
    std::string_view rest = reply.substr(kProgram.size());
    const auto program = field(rest);
    const auto programBytes = field(rest);
    if (!program || !programBytes || !startsWith(rest, kCustomization)) return std::nullopt;
    rest.remove_prefix(kCustomization.size());
    const auto customization = field(rest);
    const auto customizationBytes = field(rest);
    if (!customization || !customizationBytes || !rest.empty()) return std::nullopt;

    VersionReply parsed;
    const auto programNumbers = parseProgramVersion(*program);
    const auto pBytes = parseWholeNumber(*programBytes);
    const auto cVersion = parseWholeNumber(*customization);
    const auto cBytes = parseWholeNumber(*customizationBytes);
    if (!programNumbers || !pBytes || !cVersion || !cBytes) return std::nullopt;
    parsed.programVersion = std::string(*program);
    parsed.programBytes = *pBytes;
    parsed.customizationVersion = *cVersion;
    parsed.customizationBytes = *cBytes;
    return parsed;
}

int classifyReply(std::string_view reply) {
    if (reply.empty()) return 0;
    if (startsWith(reply, "programVersion:")) return parseVersionReply(reply) ? 1 : 5;
    if (startsWith(reply, "db_error")) return 2;
    if (startsWith(reply, "sql_error")) return 3;
    if (startsWith(reply, "numrow_error")) return 4;
    return 5;
}

bool programUpdateDue(const std::string& installed, const std::string& offered) {
    const auto offer = parseProgramVersion(offered);
    if (!offer) return false;
    const auto current = parseProgramVersion(installed);
    if (!current) return true;
    if ((*offer)[0] != 1) return false;  // another major version is a new product, not an update
    for (std::size_t i = 0; i < offer->size(); ++i) {
        if ((*offer)[i] != (*current)[i]) return (*offer)[i] > (*current)[i];
    }
    return false;
}

}  // namespace plorinrenew
