// The geometry commands on large selections: each family should cost the same per shape
// whether 100 or 10,000 shapes are selected (linear in the selection).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "addin/addin_state.h"
#include "addin/host_events.h"
#include "host/autoshape.h"
#include "host/host.h"
#include "tools/efficiency_tools.h"
#include "tools/shape_dialogs.h"

namespace {

// Set straight into the window's selection: the host's own selecting is slow for large ones.
void selectDirectly(host::Application& app, const std::vector<std::shared_ptr<host::Shape>>& shapes,
                    const std::shared_ptr<host::Slide>& slide) {
    auto& selection = app.ActiveWindow()->Selection();
    selection.type_ = host::ppSelectionShapes;
    selection.shapes_ = shapes;
    selection.slides_ = {slide};
}

// A host whose active window has `count` shapes plus a master selected; the shapes are
// spread out and a fifth of them turned by a right angle, as a real slide might be.
struct SelectedShapes {
    explicit SelectedShapes(int count) : app("14.0") {
        plorin::state().application = &app;
        auto presentation = app.Presentations().Add();
        auto slide = presentation->Slides().Add(1, 1);
        std::vector<std::shared_ptr<host::Shape>> shapes;
        for (int i = 0; i < count; ++i) {
            auto s = slide->Shapes().AddShape(host::msoShapeRectangle, static_cast<float>(i % 700),
                                              static_cast<float>(i % 500), 40, 20);
            if (i % 5 == 0) s->setRotation(90);
            shapes.push_back(s);
        }
        shapes.push_back(slide->Shapes().AddShape(host::msoShapeRectangle, 300, 200, 80, 60));
        selectDirectly(app, shapes, slide);
    }
    ~SelectedShapes() { plorin::state().application = nullptr; }
    host::Application app;
    plorin::EfficiencyTools tools;
};

template <void (plorin::EfficiencyTools::*command)()>
void BM_command(benchmark::State& state) {
    SelectedShapes deck(static_cast<int>(state.range(0)));
    for (auto _ : state) (deck.tools.*command)();
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

#define GEOMETRY_BENCHMARK(command)                                   \
    BENCHMARK_TEMPLATE(BM_command, &plorin::EfficiencyTools::command) \
        ->Name("BM_" #command)                                        \
        ->RangeMultiplier(10)                                         \
        ->Range(100, 10000)                                           \
        ->Complexity(benchmark::oN)

// One command per family (worker): align, alignSizes, stretch, moveToMaster,
// stretchToMaster, the golden section and stacking.
GEOMETRY_BENCHMARK(alignCenters);
GEOMETRY_BENCHMARK(alignWidthsAndHeights);
GEOMETRY_BENCHMARK(stretchLeft);
GEOMETRY_BENCHMARK(moveBottomToMasterTop);
GEOMETRY_BENCHMARK(stretchRightToMasterLeft);
GEOMETRY_BENCHMARK(alignVerticallyInGoldenSection);
GEOMETRY_BENCHMARK(stackHorizontally);
GEOMETRY_BENCHMARK(stackVertically);

// The selection state is recomputed on every selection change.
void BM_checkSelection(benchmark::State& state) {
    SelectedShapes deck(static_cast<int>(state.range(0)));
    plorin::pptEvents events;
    events.setPowerPointApp(&deck.app);
    for (auto _ : state) events.checkSelection();
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_checkSelection)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);

// Selecting in the host (the event fires into the add-in's sink).
void BM_selectShapes(benchmark::State& state) {
    SelectedShapes deck(static_cast<int>(state.range(0)));
    plorin::pptEvents events;
    events.setPowerPointApp(&deck.app);
    auto window = deck.app.ActiveWindow();
    auto shapes = window->Selection().shapes_;
    for (auto _ : state) window->selectShapes(shapes);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_selectShapes)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);

// The AutoShape commands that take many shapes: `count` AutoShapes of one type side by side
// (arrows pointing right, as in a long process chain) plus the master.
struct SelectedAutoShapes {
    SelectedAutoShapes(int count, int type) : app("11.0") {
        plorin::state().application = &app;
        auto presentation = app.Presentations().Add();
        auto slide = presentation->Slides().Add(1, 1);
        std::vector<std::shared_ptr<host::Shape>> shapes;
        for (int i = 0; i <= count; ++i)
            shapes.push_back(
                slide->Shapes().AddShape(type, static_cast<float>(i) * 30, static_cast<float>(i % 7), 40, 20));
        selectDirectly(app, shapes, slide);
    }
    ~SelectedAutoShapes() { plorin::state().application = nullptr; }
    host::Application app;
    plorin::EfficiencyTools tools;
};

template <void (plorin::EfficiencyTools::*command)(), int type>
void BM_autoShapeCommand(benchmark::State& state) {
    SelectedAutoShapes deck(static_cast<int>(state.range(0)), type);
    for (auto _ : state) (deck.tools.*command)();
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

#define AUTOSHAPE_BENCHMARK(command, type)                                           \
    BENCHMARK_TEMPLATE(BM_autoShapeCommand, &plorin::EfficiencyTools::command, type) \
        ->Name("BM_" #command)                                                       \
        ->RangeMultiplier(10)                                                        \
        ->Range(100, 10000)                                                          \
        ->Complexity(benchmark::oN)

AUTOSHAPE_BENCHMARK(roundedRectangles, host::msoShapeRoundedRectangle);
AUTOSHAPE_BENCHMARK(alignAngles, host::msoShapeChevron);
AUTOSHAPE_BENCHMARK(processChain, host::msoShapeChevron);

// The block-arrow dialog's OK over every selected arrow (opened again for each run).
void BM_blockArrowsOk(benchmark::State& state) {
    SelectedAutoShapes deck(static_cast<int>(state.range(0)), host::msoShapeRightArrow);
    for (auto _ : state) {
        deck.tools.beautifyBlockArrow();
        deck.tools.blockArrowsDialog()->btnOK.click();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_blockArrowsOk)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);

}  // namespace
