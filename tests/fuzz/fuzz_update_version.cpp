// The update server's reply to the version check, and the installed program version it is
// compared with: the check classifies the reply and keeps a version reply, then the
// comparison parses it and works out what is due and how much to download. The input's
// first line is the installed program version, the rest the reply.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/registry.h"
#include "fuzz_support.h"
#include "platform/services.h"
#include "updater/update_main.h"
#include "updater/versions.h"

namespace {

platform::RegistryStore& registry() {
    static std::unique_ptr<platform::RegistryStore> store = [] {
        auto s = platform::makeMemoryRegistry();
        platform::useRegistryStore(s.get());
        return s;
    }();
    return *store;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    registry();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto lineEnd = input.find('\n');
    const std::string installed = lineEnd == std::string::npos ? std::string() : input.substr(0, lineEnd);
    const std::string reply = lineEnd == std::string::npos ? input : input.substr(lineEnd + 1);

    plorin::setRegistry("autoUpdateProgramVersion", installed, "");
    plorin::setRegistry("autoUpdateCustomizationVersion", installed.empty() ? "0" : installed.substr(0, 4), "");
    plorinrenew::Main run;
    run.customizationEnabled = 1;
    if (plorinrenew::classifyReply(reply) == 1) run.versionReply = reply;
    if (run.newVersionAvailable() && run.programDue && !plorinrenew::parseProgramVersion(run.newProgramVersion))
        fuzz::fail("an update offered for a version that is none");
    return 0;
}
