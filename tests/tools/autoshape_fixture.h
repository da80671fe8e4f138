// A connected host of a chosen version with one slide in an active window, for the AutoShape
// commands; message boxes are answered with OK and kept for the checks.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/shared_state.h"
#include "host/autoshape.h"
#include "host/host.h"
#include "platform/ui_driver.h"
#include "tests/core/core_fixture.h"
#include "tools/efficiency_tools.h"
#include "tools/shape_dialogs.h"

namespace testing_tools {

class AutoShapeFixture : public testing_core::CoreFixture {
protected:
    void SetUp() override { CoreFixture::SetUp(); }
    void TearDown() override {
        plorin::state().application = nullptr;
        CoreFixture::TearDown();
    }

    void start(const std::string& version) {
        auto& host = startHost(version);
        plorin::state().application = &host;
        presentation = host.Presentations().Add();
        slide = presentation->Slides().Add(1, 1);
        driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
    }

    std::shared_ptr<host::Shape> add(int type, float left, float top, float width, float height, float rotation = 0) {
        auto s = slide->Shapes().AddShape(type, left, top, width, height);
        if (rotation != 0) s->setRotation(rotation);
        return s;
    }

    void select(const std::vector<std::shared_ptr<host::Shape>>& shapes) { app->ActiveWindow()->selectShapes(shapes); }

    static float adj(const std::shared_ptr<host::Shape>& s, int i) { return s->Adjustments().Item(i); }

    // The texts of the message boxes shown so far, emptied for the next step.
    std::vector<std::string> messages() {
        std::vector<std::string> texts;
        for (const auto& m : driver.messages) texts.push_back(m.text);
        driver.messages.clear();
        return texts;
    }

    plorin::EfficiencyTools tools;
    std::shared_ptr<host::Presentation> presentation;
    std::shared_ptr<host::Slide> slide;
};

}  // namespace testing_tools
