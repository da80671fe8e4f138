// Numeric settings as a hand-edited or copied settings file may hold them: whatever the text,
// the sizes the add-in reads stay within their bounds, with the defaults for the rest.
#include <cstdlib>
#include <memory>
#include <string>

#include "core/registry.h"
#include "fuzz_support.h"
#include "libraries/thumbnails.h"
#include "platform/services.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto registry = [] {
        auto r = platform::makeMemoryRegistry();
        platform::useRegistryStore(r.get());
        return r;
    }();
    // The input's first line is the width, the rest the height.
    const std::string text(fuzz::bytesOf(data, size));
    const auto line = text.find('\n');
    plorin::setRegistry("thumbsWidth", text.substr(0, line), "");
    plorin::setRegistry("thumbsHeight", line == std::string::npos ? "" : text.substr(line + 1), "");
    const auto settings = plorin::readThumbnailSettings();
    if (settings.width < 1 || settings.width > 1024 || settings.height < 1 || settings.height > 1024) std::abort();
    const int bounded = plorin::getBoundedSetting("thumbsWidth", "", 7, -3, 9);
    if (bounded < -3 || bounded > 9) std::abort();
    return 0;
}
