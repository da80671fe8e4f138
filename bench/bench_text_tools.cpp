// The text tools on large selections and long texts: the language and the margins applied
// to up to 10,000 text frames, and the word count of up to 10,000 frames and of up to 1 MB of
// text, each linear.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "addin/addin_state.h"
#include "host/host.h"
#include "host/text.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"
#include "tools/efficiency_tools.h"
#include "tools/word_count.h"

namespace {

// A host whose active window has `count` text boxes selected.
struct SelectedFrames {
    explicit SelectedFrames(int count) : app("14.0"), ui(driver) {
        plorin::state().application = &app;
        auto presentation = app.Presentations().Add();
        auto slide = presentation->Slides().Add(1, 1);
        std::vector<std::shared_ptr<host::Shape>> shapes;
        for (int i = 0; i < count; ++i) {
            auto s = slide->Shapes().AddTextbox(1, static_cast<float>(i % 700), static_cast<float>(i % 500), 100, 40);
            s->TextFrame().TextRange().setText("Quarterly results " + std::to_string(i));
            shapes.push_back(s);
        }
        auto& selection = app.ActiveWindow()->Selection();  // set directly: large selections
        selection.type_ = host::ppSelectionShapes;
        selection.shapes_ = shapes;
        selection.slides_ = {slide};
        // The margins dialog is answered with half a centimetre on every side.
        driver.onUnscriptedForm = [](platform::Form& form) {
            platform::driver::setText(form, "tbMargin", "0.5");
            platform::driver::click(form, "btnOK");
        };
    }
    ~SelectedFrames() { plorin::state().application = nullptr; }
    host::Application app;
    platform::ScriptedDriver driver;
    platform::ScopedUiDriver ui;
    plorin::EfficiencyTools tools;
};

void BM_setLanguage(benchmark::State& state) {
    SelectedFrames deck(static_cast<int>(state.range(0)));
    int flip = 0;
    for (auto _ : state) deck.tools.setLanguage((++flip % 2) ? 1031 : 1033);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_setLanguage)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);

void BM_setMargins(benchmark::State& state) {
    SelectedFrames deck(static_cast<int>(state.range(0)));
    for (auto _ : state) deck.tools.setMargins();
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_setMargins)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);

// The word count as the user asks for it: every selected frame counted and the window shown
// (goal: under 8 ms at 10,000 frames).
void BM_countWordsInFrames(benchmark::State& state) {
    SelectedFrames deck(static_cast<int>(state.range(0)));
    for (auto _ : state) deck.tools.countWords();
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_countWordsInFrames)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// The counting of one shape holding range(0) bytes of text in paragraphs of about 1 KB.
void BM_countWords(benchmark::State& state) {
    SelectedFrames deck(1);
    const std::size_t bytes = static_cast<std::size_t>(state.range(0));
    std::string text;
    const std::string words = "Revenue grew by 5 % in the north - and (again) in the south. ";
    while (text.size() < bytes) {
        text += words;
        if (text.size() % 1024 < words.size()) text += "\r";
    }
    text.resize(bytes);
    auto shape = deck.app.ActiveWindow()->Selection().shapes_.front();
    shape->TextFrame().TextRange().setText(text);
    const host::TextRange all = shape->TextFrame().TextRange();
    for (auto _ : state) {
        plorin::TextCounts counts;
        plorin::addTextCounts(all, counts);
        benchmark::DoNotOptimize(counts);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_countWords)
    ->RangeMultiplier(4)
    ->Range(1 << 16, 1 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace
