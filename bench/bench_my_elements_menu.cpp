// The My Elements menu on the ribbon with a large library (1,000 elements in groups of 50),
// opened as the user opens it: the host asks for the content and draws every gallery item
// with its picture. The settings are a file on disk, as the user's are. Goals at 1,000
// elements: under 200 ms cold and under 20 ms reopened.
//
// - Cold: the first opening after a start (no picture decoded yet in the process) when the
//   library was saved since its thumbnails were drawn, with one element's slide edited: the
//   thumbnails of the others are on disk.
// - FirstOpening: the first opening after a start with every thumbnail up to date.
// - Reopened: the index changed, as after a rename in the manager, and the menu was
//   invalidated; the library did not change.
// - WithoutThumbnails: the first opening when no thumbnail exists yet (a new installation, or
//   the thumbnails folder emptied): every picture is drawn and written.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "addin/connect.h"
#include "core/folder_layout.h"
#include "core/images.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "host/ribbon_host.h"
#include "host/text.h"
#include "platform/services.h"
#include "platform/xml_dom.h"

namespace {

constexpr std::uint32_t kFills[] = {0x2070C0, 0xF0A020, 0x40B040, 0xC04090};

struct LargeLibrary {
    explicit LargeLibrary(int elements) : elements(elements) {
        char tmpl[] = "/tmp/varnotel-bench-myelements-XXXXXX";
        folder = std::string(mkdtemp(tmpl)) + "/";
        registry = platform::makeFileRegistry(folder + "settings.reg");
        platform::useRegistryStore(registry.get());
        plorin::setAddInFolder(VARNOTEL_STAGE "/program/");
        app = std::make_unique<host::Application>("14.0");
        app->COMAddIns().add(plorin::kProgId, "Varnotel", [] { return std::make_unique<plorin::Connect>(); });
        app->COMAddIns().Item(plorin::kProgId).setConnect(true);

        // An element is what a user keeps: a few shapes, one of them with a line of text.
        auto deck = app->Presentations().Add(false);
        std::string index = "<Varnotel addinVersion=\"1.0\">";
        for (int i = 1; i <= elements; ++i) {
            auto slide = deck->Slides().Add(i, 12);
            auto box = slide->Shapes().AddShape(host::msoShapeRoundedRectangle, 60, 100, 300, 160);
            box->Fill().ForeColor().setRGB(kFills[i % 4]);
            box->TextFrame().TextRange().setText("Element " + std::to_string(i));
            slide->Shapes().AddShape(host::msoShapeRightArrow, 380, 150, 200, 60);
            if (i % 50 == 1) index += "<group name=\"Group " + std::to_string(i / 50 + 1) + "\">";
            index += "<element name=\"Element " + std::to_string(i) + "\" slideID=\"" +
                     std::to_string(slide->SlideID()) + "\"/>";
            if (i % 50 == 0 || i == elements) index += "</group>";
        }
        library = folder + "myelements.pptx";
        deck->SaveAs(library);
        deck->Close();
        plorin::SharedState& s = plorin::state();
        s.layout.myElements = folder;
        s.myElementsDocument = std::make_unique<platform::DomDocument>();
        s.myElementsDocument->loadXML(index + "</Varnotel>");
        s.myElementsDocument->save(folder + "myelements.xml");
        open();  // every thumbnail drawn once
    }
    ~LargeLibrary() {
        app.reset();
        plorin::setAddInFolder("");
        platform::useRegistryStore(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    // As the add-in does after every change of the index.
    void invalidate() { plorin::state().ribbon->InvalidateControl("vn_1027"); }
    // As after a start: no picture decoded yet.
    void restart() { plorin::clearPictureCache(); }
    // The library's change time moves on: its thumbnails are stale.
    void touchLibrary() {
        changed += std::chrono::seconds(2);
        std::filesystem::last_write_time(library, std::filesystem::file_time_type::clock::now() + changed);
    }
    // The user edits one element's slide (a new fill for its first shape) and saves the library.
    void editOneSlide() {
        auto deck = app->Presentations().Open(library, false, false, false);
        auto shape = deck->Slides().Item(edits % elements + 1)->Shapes().Item(1);
        shape->Fill().ForeColor().setRGB(0x102030 + static_cast<std::uint32_t>(++edits));
        deck->Save();
        deck->Close();
        touchLibrary();
    }
    void removeThumbnails() { std::filesystem::remove_all(folder + "thumbs"); }
    bool open() { return app->Ribbon().openMenu("vn_1027") == host::RibbonHost::Outcome::done; }

    int elements;
    std::unique_ptr<platform::RegistryStore> registry;
    std::unique_ptr<host::Application> app;
    std::string folder, library;
    std::chrono::seconds changed{0};
    int edits = 0;
};

// Times the menu's opening after `prepare` (not timed) for each iteration.
template <class Prepare>
void timeOpenings(benchmark::State& state, Prepare prepare) {
    LargeLibrary library(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        prepare(library);
        library.invalidate();
        state.ResumeTiming();
        if (!library.open()) state.SkipWithError("the menu did not open");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_MyElementsMenuCold(benchmark::State& state) {
    timeOpenings(state, [](LargeLibrary& library) {
        library.editOneSlide();
        library.restart();
    });
}
BENCHMARK(BM_MyElementsMenuCold)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_MyElementsMenuFirstOpening(benchmark::State& state) {
    timeOpenings(state, [](LargeLibrary& library) { library.restart(); });
}
BENCHMARK(BM_MyElementsMenuFirstOpening)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_MyElementsMenuReopened(benchmark::State& state) {
    LargeLibrary library(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        library.invalidate();
        if (!library.open()) state.SkipWithError("the menu did not open");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MyElementsMenuReopened)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_MyElementsMenuWithoutThumbnails(benchmark::State& state) {
    timeOpenings(state, [](LargeLibrary& library) {
        library.removeThumbnails();
        library.touchLibrary();
        library.restart();
    });
}
BENCHMARK(BM_MyElementsMenuWithoutThumbnails)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
