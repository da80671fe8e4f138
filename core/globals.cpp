#include "core/globals.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <locale>
#include <optional>
#include <sstream>
#include <string_view>

#include "core/shared_state.h"
#include "core/errors.h"
#include "host/host.h"
#include "platform/services.h"

namespace plorin {

bool isHostVersion(const std::string& versionList) {
    return versionList.find(hostApplication().Version()) != std::string::npos;
}

host::COMAddIn* findUpdateAddIn() {
    host::COMAddIns& addIns = hostApplication().COMAddIns();
    for (int i = 1; i <= addIns.Count(); ++i)
        if (addIns.Item(i).ProgId() == kUpdateAddInProgId) return &addIns.Item(i);
    return nullptr;
}

void runUndoFix() {
    host::Application* app = state().application;
    if (!app) return;
    std::shared_ptr<host::Presentation> pres;
    ignoreErrors([&] {
        pres = app->Presentations().Open(state().layout.program + "plorinUndoFix.ppt", true, false, false);
    });
    if (!pres) return;  // nothing opened: nothing to run or close
    ignoreErrors([&] { app->Run(pres->Name() + "!plorin.plorinUndoFix"); });
    ignoreErrors([&] { pres->setSaved(true); });
    ignoreErrors([&] { pres->Close(); });
}

double roundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is to-nearest-even by default.
    return std::nearbyint(value);
}

double normalizeRotation(float rotation) {
    double r = rotation;
    long k = static_cast<long>(roundHalfEven(r)) / 360;  // integer division truncates toward zero
    return r >= 0 ? r - 360.0 * k : r - 360.0 * k + 360.0;
}

double normalizeRotation(host::Shape& shape) { return normalizeRotation(shape.Rotation()); }

namespace {

// Creates `path` after its parents. Stops at the filesystem root or an empty parent: a
// folder whose parents can never exist is not retried forever.
void createFolderChain(const std::string& requested) {
    std::string path = requested;
    if (!path.empty() && path.back() == '/') path.pop_back();
    if (path.empty()) raiseError(errPathFileAccess, "Path/File access error: cannot create folder '" + requested + "'");
    auto& fs = platform::fileSystem();
    std::size_t slash = path.rfind('/');
    std::string parent = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    if (!parent.empty() && parent != "/" && !fs.folderExists(parent)) createFolderChain(parent);
    if (!fs.folderExists(path) && !fs.createFolder(path))
        raiseError(errPathFileAccess, "Path/File access error: cannot create folder '" + path + "/'");
}

}  // namespace

void createFolder(const std::string& path) {
    trap("Globals, createFolder", [&] { createFolderChain(path); });
}

bool isValidFileName(const std::string& name) {
    return name.find_first_of("\\/:*?<>|\"\t\n\r") == std::string::npos;
}

std::string ByteArrayToString(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string ByteArrayToString(const std::string& bytes) { return bytes; }

namespace {

// A whole number of up to 15 digits with an optional "-": the text of nearly every number
// read (control ids, tags, counters). Read exactly without a stream; nothing for others.
std::optional<double> plainWholeNumber(std::string_view t) {
    const bool negative = !t.empty() && t.front() == '-';
    if (negative) t.remove_prefix(1);
    if (t.empty() || t.size() > 15) return std::nullopt;
    double v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return negative ? -v : v;
}

}  // namespace

double toNumber(const std::string& text) {
    std::size_t b = text.find_first_not_of(" \t");
    std::size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos) raiseError(errTypeMismatch, "Type mismatch");
    if (auto plain = plainWholeNumber(std::string_view(text).substr(b, e - b + 1))) return *plain;
    std::string t = text.substr(b, e - b + 1);
    std::istringstream in(t);
    in.imbue(std::locale::classic());
    double v = 0;
    in >> v;
    if (in.fail() || !in.eof()) {
        // "&H" hexadecimal numbers are numbers too.
        if (t.size() > 2 && (t[0] == '&') && (t[1] == 'H' || t[1] == 'h')) {
            char* end = nullptr;
            long h = std::strtol(t.c_str() + 2, &end, 16);
            if (end && *end == '\0') return static_cast<double>(h);
        }
        raiseError(errTypeMismatch, "Type mismatch");
    }
    return v;
}

}  // namespace plorin
