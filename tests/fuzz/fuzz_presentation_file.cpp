// The host's presentation file: whatever the bytes, opening either gives a presentation that
// saves and opens again, or the host's "could not open file" error -- never a crash.
#include "fuzz_support.h"
#include "host/host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static host::Application app{"16.0"};
    const auto file = fuzz::scratch().put("deck.pptx", fuzz::bytesOf(data, size));
    std::shared_ptr<host::Presentation> pres;
    try {
        pres = app.Presentations().Open(file, false, false, false);
    } catch (const host::HostError&) {
        return 0;
    }
    // What the host opened, it must save and open again.
    const auto again = fuzz::scratch().file("again.pptx");
    try {
        pres->SaveAs(again);
        pres->Close();
        app.Presentations().Open(again, false, false, false)->Close();
    } catch (const host::HostError& e) {
        fuzz::fail(e.what());
    }
    return 0;
}
