// The host's add-in registration file ("addins.txt"), as a user's editor may have saved it:
// any bytes are either refused with the host's error or give add-ins with a ProgID and a
// library each, in valid UTF-8. Nothing is connected: a library named by the input is
// never loaded.
#include <cstdlib>

#include "fuzz_support.h"
#include "host/host.h"
#include "platform/text_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = fuzz::scratch().put("addins.txt", fuzz::bytesOf(data, size));
    host::Application app("14.0");
    int count = 0;
    try {
        count = app.COMAddIns().loadRegistrations(file);
    } catch (const host::HostError&) {
        return 0;
    }
    if (count != app.COMAddIns().Count()) std::abort();
    for (int i = 1; i <= count; ++i) {
        auto& addIn = app.COMAddIns().Item(i);
        if (addIn.ProgId().empty() || !platform::isValidUtf8(addIn.ProgId()) ||
            !platform::isValidUtf8(addIn.Description()) || addIn.Connect())
            std::abort();
    }
    // The decoder alone: whatever it accepts is UTF-8 without a NUL.
    if (const auto text = platform::decodeTextFile(fuzz::bytesOf(data, size)))
        if (!platform::isValidUtf8(*text) || text->find('\0') != std::string::npos) std::abort();
    return 0;
}
