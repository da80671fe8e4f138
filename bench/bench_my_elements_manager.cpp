// The My Elements manager on a large index: opening it, one move and OK should read the
// index once and write it once, whatever the number of elements (1,000 in 20 groups here).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "addin/named_commands.h"
#include "core/errors.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "libraries/my_elements_manager.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"
#include "platform/xml_dom.h"

namespace {

std::string largeIndex(int groups, int elementsPerGroup) {
    std::string xml = "<Varnotel addinVersion=\"1.0\">";
    int id = 256;
    for (int g = 0; g < groups; ++g) {
        xml += "<group name=\"Group " + std::to_string(g) + "\">";
        for (int e = 0; e < elementsPerGroup; ++e, ++id)
            xml += "<element name=\"Element " + std::to_string(id) + "\" slideID=\"" + std::to_string(id) + "\"/>";
        xml += "</group>";
    }
    return xml + "</Varnotel>";
}

void BM_manageOpenMoveAndOk(benchmark::State& state) {
    const int elements = static_cast<int>(state.range(0));
    char folder[] = "/tmp/varnotel-bench-myelements-XXXXXX";
    if (!mkdtemp(folder)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    host::Application app("14.0");
    plorin::SharedState& s = plorin::state();
    s.application = &app;
    s.layout.myElements = std::string(folder) + "/";
    s.myElementsDocument = std::make_unique<platform::DomDocument>();
    s.myElementsDocument->loadXML(largeIndex(20, elements / 20));
    s.myElementsDocument->save(s.layout.myElements + "myelements.xml");
    const std::string moved = "Element " + std::to_string(256 + elements / 2);

    platform::ScriptedDriver user;
    platform::ScopedUiDriver use(user);
    for (auto _ : state) {
        user.queueForm("myElementsManager", [&](platform::Form& f) {
            platform::driver::choose(f, "elementsTree", moved);
            platform::driver::click(f, "btnDown");
            platform::driver::click(f, "btnOK");
        });
        plorin::manageMyElements();
    }
    if (!plorin::reportedErrors().empty() || !std::filesystem::exists(s.layout.myElements + "myelements.xml"))
        state.SkipWithError("the manager did not save the index");
    s.myElementsDocument.reset();
    s.application = nullptr;
    std::filesystem::remove_all(folder);
    state.SetItemsProcessed(state.iterations() * elements);
    state.SetComplexityN(elements);
}

BENCHMARK(BM_manageOpenMoveAndOk)->Arg(100)->Arg(1000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
