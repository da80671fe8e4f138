// The copyright list "copyright.txt" and the removal list "copyright_remove.txt", both read
// by the add-in's own loaders: whatever the lines hold, the copyright menu fits the ribbon's
// schema and inserting the first and the last notice (which removes the listed old notices
// from the masters) ends without a crash.
#include <fstream>

#include "addin_harness.h"
#include "libraries/styles.h"

namespace {

void write(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::AddInHarness harness;
    harness.begin();
    harness.slide();
    write(harness.root() + "customization/copyright.txt", data, size);
    write(harness.root() + "customization/copyright_remove.txt", data, size);

    auto& ribbon = harness.ribbon();
    const auto from = ribbon.log().size();
    plorin::libraries_onLoad(plorin::state().ribbon);
    plorin::state().ribbon->InvalidateControl("vn_1105");
    if (ribbon.openMenu("vn_1105") == host::RibbonHost::Outcome::done) {
        const int notices = plorin::state().copyrightLines.Count();
        if (notices > 0) {
            ribbon.click("copyright_1");
            ribbon.click("copyright_" + std::to_string(notices));
        }
    }
    harness.requireNoRefusal(from);
    return 0;
}
