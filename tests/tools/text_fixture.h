// A connected host of a chosen version with one slide in an active window, and helpers to
// put text into shapes and read their paragraph levels and rulers, for the text tools.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "addin/addin_state.h"
#include "host/text.h"
#include "platform/ui_driver.h"
#include "tests/core/core_fixture.h"
#include "tools/efficiency_tools.h"

namespace testing_tools {

class TextFixture : public testing_core::CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        start("14.0");
    }

    void TearDown() override {
        plorin::state().application = nullptr;
        CoreFixture::TearDown();
    }

    // A new host of that version; the old one goes.
    void start(const std::string& version) {
        plorin::state().application = nullptr;
        auto& host = startHost(version);
        plorin::state().application = &host;
        presentation = host.Presentations().Add();
        slide = presentation->Slides().Add(1, 1);
        driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    }

    host::DocumentWindow& window() { return *app->ActiveWindow(); }

    // A text box holding text ("\r" between paragraphs), its first character in firstSize
    // points and the rest in 10, so that a step taken from elsewhere shows.
    std::shared_ptr<host::Shape> textBox(const std::string& text, float firstSize = 20,
                                         const std::shared_ptr<host::Slide>& on = nullptr) {
        auto shape = (on ? on : slide)->Shapes().AddTextbox(1, 10, 10, 300, 100);
        host::TextRange all = shape->TextFrame().TextRange();
        all.setText(text);
        all.Font().setSize(10);
        all.Characters(1, 1).Font().setSize(firstSize);
        return shape;
    }

    // Paragraphs at these levels, one letter each.
    std::shared_ptr<host::Shape> outline(const std::vector<int>& levels) {
        std::string text;
        for (std::size_t i = 0; i < levels.size(); ++i) text += (i ? "\r" : "") + std::string(1, char('a' + i));
        auto shape = textBox(text);
        // Straight through the model: older hosts offer no second-generation range.
        host::TextRange2 all(shape->TextFrame().TextRange());
        for (std::size_t i = 0; i < levels.size(); ++i)
            all.Paragraphs(static_cast<int>(i) + 1).ParagraphFormat().setIndentLevel(levels[i]);
        return shape;
    }

    static std::vector<int> levels(host::Shape& shape) {
        std::vector<int> out;
        const host::TextRange all = shape.TextFrame().TextRange();
        for (int i = 1; i <= all.Paragraphs().Count(); ++i) out.push_back(all.Paragraphs(i).IndentLevel());
        return out;
    }

    // First and left margin of every level the ruler shows.
    static std::vector<std::pair<float, float>> ruler(host::Shape& shape) {
        std::vector<std::pair<float, float>> out;
        const host::RulerLevels levels = shape.TextFrame().Ruler().Levels();
        for (int n = 1; n <= levels.Count(); ++n)
            out.emplace_back(levels.Item(n).FirstMargin(), levels.Item(n).LeftMargin());
        return out;
    }

    void select(const std::vector<std::shared_ptr<host::Shape>>& shapes) { window().selectShapes(shapes); }

    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& m : driver.messages) out.push_back(m.text);
        return out;
    }

    plorin::EfficiencyTools tools;
    std::shared_ptr<host::Presentation> presentation;
    std::shared_ptr<host::Slide> slide;
};

}  // namespace testing_tools
