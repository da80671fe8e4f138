// The simulator's scenario lines, run through the simulator itself against the host stand-in:
// whatever a line holds, the command runs or fails with a message, never with a crash or a
// hang. Lines that would reach outside the process (files named by the scenario, servers,
// the sandbox, the mail program) are left out, so that no input writes where it likes.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <ostream>
#include <streambuf>

#include "fuzz_support.h"
#include "platform/registry_store.h"
#include "platform/services.h"
#include "sim/simulator.h"

namespace {

// Swallows the transcript.
struct NullBuffer : std::streambuf {
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

bool reachesOutside(std::string line) {
    std::transform(line.begin(), line.end(), line.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char* word :
         {"sandbox", "server", "updatefile", "mails", "open", "save", "export", "screen", "file", "/", ".."})
        if (line.find(word) != std::string::npos) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Relative names land in the scratch folder.
    static const bool ready = ::chdir(fuzz::scratch().path().c_str()) == 0;
    if (!ready) fuzz::fail("no scratch folder");
    // Settings stay in memory, new for every input, so that what one input sets does not pile up.
    static std::unique_ptr<platform::RegistryStore> registry;
    registry = platform::makeMemoryRegistry();
    platform::useRegistryStore(registry.get());
    static NullBuffer buffer;
    std::ostream out(&buffer);

    sim::Options options;
    options.installFolder = fuzz::scratch().file("install");  // holds no add-ins
    sim::Simulator simulator(options, out);
    const std::string_view text = fuzz::bytesOf(data, size);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string line(text.substr(start, end - start));
        start = end + 1;
        if (!reachesOutside(line)) simulator.execute(line);
    }
    return 0;
}
