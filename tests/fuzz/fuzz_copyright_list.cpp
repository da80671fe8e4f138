// The copyright list "copyright.txt" and the removal list "copyright_remove.txt", both read
// by the add-in's own loaders: whatever the lines hold, the copyright menu fits the ribbon's
// schema and inserting the first and the last notice (which removes the listed old notices
// from the masters) ends without a crash; the notice that lands on the master is the one of
// the label clicked.
#include <fstream>
#include <set>
#include <vector>

#include "addin_harness.h"
#include "core/style_files.h"
#include "host/text.h"
#include "libraries/styles.h"

namespace {

// The texts of the shapes on slide n of the current style's notice template, or on the
// active presentation's first slide master with the copyright mark.
std::multiset<std::string> texts(const std::vector<std::shared_ptr<host::Shape>>& shapes, bool marked) {
    std::multiset<std::string> out;
    for (const auto& shape : shapes)
        if ((!marked || shape->Tags().Item("plorin_copyright") == "1") && shape->HasTextFrame() == host::msoTrue)
            out.insert(shape->TextFrame().TextRange().Text());
    return out;
}

void requireNoticeOnTheMaster(host::Application& app, int n) {
    const std::string path = plorin::styleFolderPath(plorin::state().currentStyle) + "copyright_slide.ppt";
    auto notices = app.Presentations().Open(path, true, false, false);
    std::multiset<std::string> expected;
    if (n <= notices->Slides().Count()) expected = texts(notices->Slides().Item(n)->Shapes().all(), false);
    notices->Close();
    if (expected.empty()) return;  // no such notice: the add-in says so
    const auto master = app.ActivePresentation()->Designs().Item(1)->SlideMaster();
    if (texts(master->Shapes().all(), true) != expected) fuzz::fail("a notice other than the one clicked was inserted");
}

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
            requireNoticeOnTheMaster(harness.app(), 1);
            ribbon.click("copyright_" + std::to_string(notices));
            requireNoticeOnTheMaster(harness.app(), notices);
        }
    }
    harness.requireNoRefusal(from);
    return 0;
}
