// The add-in connected to a host, with a small library installed around it: a menu file with
// styles, template decks and a My Elements index and library written on demand, and the
// user's deck in a window. For the tests of the library menus, inserting and My Elements.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "addin/addin_state.h"
#include "addin/connect.h"
#include "core/registry.h"
#include "core/usage_counters.h"
#include "host/clipboard.h"
#include "host/ribbon.h"
#include "libraries/menu_file.h"
#include "tests/core/core_fixture.h"

namespace testing_core {

// One rectangle of a template slide.
struct Box {
    float left, top, width, height;
    int type = host::msoAutoShape;
};

class LibraryFixture : public CoreFixture {
protected:
    struct Invalidations : host::IRibbonUI {
        std::vector<std::string> controls;
        void Invalidate() override { controls.push_back("*"); }
        void InvalidateControl(const std::string& id) override { controls.push_back(id); }
    };

    // Connects the add-in to a host of that version; an undo-fix presentation is installed.
    void connect(const std::string& version) {
        startHost(version);
        addIn.OnConnection(*app, 0, nullptr);
        plorin::state().ribbon = &ribbon;
        saveDeck(root + "program/plorinUndoFix.ppt", {});
        plorin::reportedErrors().clear();
        host::clipboard().clear();
    }
    void SetUp() override {
        CoreFixture::SetUp();
        // Every message box is answered OK and noted; dialogs are worked as each test queues.
        driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
        connect("14.0");
    }
    void TearDown() override {
        addIn.OnDisconnection(0);
        host::clipboard().clear();
        plorin::state().currentStyle.clear();
        CoreFixture::TearDown();
    }

    // A presentation file with a slide per list of boxes (blank layout), saved and closed.
    std::string saveDeck(const std::string& path, const std::vector<std::vector<Box>>& slides) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        auto p = app->Presentations().Add(false);
        for (const auto& boxes : slides) {
            auto slide = p->Slides().Add(p->Slides().Count() + 1, 12);
            for (const auto& b : boxes)
                slide->Shapes().addOfType(b.type, host::msoShapeRectangle, b.left, b.top, b.width, b.height);
        }
        p->SaveAs(path);
        p->Close();
        return path;
    }

    // Writes "menu.xml" with the given content inside its root and loads it.
    void menu(const std::string& content) {
        writeFile(root + "customization/menu.xml", "<Varnotel>" + content + "</Varnotel>");
        ASSERT_TRUE(plorin::loadMenuFile(plorin::kRibbonMenuFileLead));
    }
    // Writes "myelements.xml" with the given groups inside its root and loads it.
    void index(const std::string& groups) {
        writeFile(indexPath(), "<Varnotel addinVersion=\"1.0\">" + groups + "</Varnotel>");
        plorin::loadMyElementsIndex();
        ASSERT_TRUE(plorin::state().myElementsDocument);
    }
    std::string indexPath() const { return root + "user/myelements/myelements.xml"; }
    std::string library(const char* extension = "pptx") const {
        return root + "user/myelements/myelements." + extension;
    }
    std::string styleFile(const std::string& file) const { return root + "customization/styles/blue/" + file; }

    // The user's deck in a window, showing slide `shown`. It carries the current style in its
    // tag, so that activating its window keeps that style current.
    std::shared_ptr<host::Presentation> userDeck(int slides, int shown = 1) {
        const std::string style = plorin::state().currentStyle;
        auto p = app->Presentations().Add(true);
        p->Tags().Add(plorin::kStyleTag, style);
        app->ActiveWindow()->Activate();
        for (int i = 1; i <= slides; ++i) p->Slides().Add(i, 12);
        if (shown >= 1) app->ActiveWindow()->showSlide(p->Slides().Item(shown));
        return p;
    }
    host::DocumentWindow& window() { return *app->ActiveWindow(); }

    // The texts of the message boxes shown so far.
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& m : driver.messages) out.push_back(m.text);
        return out;
    }
    // The usage counts kept in memory are written first.
    static std::string setting(const std::string& name) {
        plorin::flushUsageCounters();
        return plorin::getRegistry(name, "", "(missing)");
    }

    plorin::Connect addIn;
    Invalidations ribbon;
};

}  // namespace testing_core
