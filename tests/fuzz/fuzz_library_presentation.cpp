// A library presentation as the insert paths read it: the bytes stand for the My Elements
// library and for every template of the styles, and the Slide Wizard bar's buttons and its
// My Elements elements are clicked. Whatever the file holds, an insertion adds shapes to
// the slide shown, never a slide, and the library is closed again on every path.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "addin/bar_front_end.h"
#include "addin_harness.h"
#include "host/command_bars.h"

namespace {

void putBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::AddInHarness harness("11.0");
    static const std::vector<std::string> libraries = [] {
        std::vector<std::string> files{harness.root() + "user/myelements/myelements.ppt"};
        for (const auto& entry : std::filesystem::recursive_directory_iterator(harness.root() + "customization/styles"))
            if (entry.path().extension() == ".ppt") files.push_back(entry.path().string());
        return files;
    }();
    auto& app = harness.begin();
    harness.slide();
    for (const auto& file : libraries) putBytes(file, data, size);

    std::vector<std::shared_ptr<host::CommandBarButton>> inserts;
    for (const auto& bar : app.CommandBars().all())
        if (bar->Name() == plorin::kSlideWizardBar)
            fuzz::AddInHarness::collectButtons(
                bar->Controls(),
                [](const host::CommandBarControl& control, int depth) {
                    const std::string& parameter = control.Parameter();
                    return depth > 0 && !parameter.empty() && parameter != "addMyElements" &&
                           parameter != "manageMyElements";
                },
                4, inserts);
    if (inserts.empty()) fuzz::fail("the Slide Wizard bar has no element to insert");

    // A template's buttons name "file,slide"; an element's its slide id. The first and the
    // last of each kind: every click opens the whole file again.
    std::vector<std::shared_ptr<host::CommandBarButton>> templates, elements, chosen;
    for (const auto& button : inserts)
        (button->Parameter().find(',') != std::string::npos ? templates : elements).push_back(button);
    for (const auto* kind : {&templates, &elements})
        if (!kind->empty()) {
            chosen.push_back(kind->front());
            if (kind->size() > 1) chosen.push_back(kind->back());
        }

    const auto open = app.Presentations().Count();
    for (const auto& button : chosen) {
        app.CommandBars().click(*button);
        if (app.ActivePresentation()->Slides().Count() != 1) fuzz::fail("an insertion added a slide");
        if (app.Presentations().Count() != open) fuzz::fail("a library was left open");
    }
    harness.slide();
    return 0;
}
