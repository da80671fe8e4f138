// The presentation add-in installed from the sample installation into a scratch folder and
// connected to a host (a ribbon host unless another version is asked for), as the fuzz targets of its installation
// files drive it: every message box is answered OK, settings live in memory, the error reports are collected.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "addin/connect.h"
#include "core/errors.h"
#include "core/folder_layout.h"
#include "core/shared_state.h"
#include "fuzz_support.h"
#include "host/command_bars.h"
#include "host/host.h"
#include "host/ribbon_host.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/ui_driver.h"
#include "platform/ui_forms.h"

namespace fuzz {

class AddInHarness {
public:
    explicit AddInHarness(std::string version = "14.0") : version_(std::move(version)) {
        namespace fs = std::filesystem;
        root_ = scratch().file("install") + "/";
        const std::string source = VARNOTEL_SOURCE_DIR "/install/";
        fs::create_directories(root_);
        for (const char* folder : {"customization", "user"})
            fs::copy(source + folder, root_ + folder, fs::copy_options::recursive);
        fs::create_directories(root_ + "program/ui");
        fs::create_directories(root_ + "tmp");
        fs::copy_file(source + "program/ui/plorinUI.xml", root_ + "program/ui/plorinUI.xml");
        fs::copy_file(source + "program/plorinUndoFix.ppt", root_ + "program/plorinUndoFix.ppt");

        registry_ = platform::makeMemoryRegistry();
        shell_.temp = root_ + "tmp/";
        shell_.cache = root_ + "cache/";
        driver_.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
        driver_.onUnscriptedForm = [](platform::Form&) {};
        platform::Services own;
        own.registry = registry_.get();
        own.shell = &shell_;
        own.ui = &driver_;
        services_.emplace(std::move(own));
        plorin::setAddInFolder(root_ + "program/");
        start();
    }
    ~AddInHarness() {
        app_.reset();
        plorin::setAddInFolder("");
        services_.reset();
    }
    AddInHarness(const AddInHarness&) = delete;
    AddInHarness& operator=(const AddInHarness&) = delete;

    // Starts an input: the host with the add-in connected, a new one now and then, so that
    // what the stand-in keeps for a developer (its ribbon log) stays small over millions of
    // inputs.
    host::Application& begin() {
        if (++uses_ % 500 == 0) start();
        driver_.messages.clear();
        plorin::reportedErrors().clear();
        return *app_;
    }
    host::Application& app() { return *app_; }
    host::RibbonHost& ribbon() { return app_->Ribbon(); }
    const std::string& root() const { return root_; }
    // The add-in disconnected and connected again, as the host does on a restart of the
    // add-in: whatever it builds at connection is built again.
    void reconnect() {
        app_->COMAddIns().Item(plorin::kProgId).setConnect(false);
        app_->COMAddIns().Item(plorin::kProgId).setConnect(true);
    }
    platform::ScriptedDriver& driver() { return driver_; }

    // A window on a deck with one slide, for the commands that need one; its slide emptied.
    host::Slide& slide() {
        if (app_->Windows().Count() == 0) {
            auto p = app_->Presentations().Add(true);
            app_->ActiveWindow()->showSlide(p->Slides().Add(1, 12));
        }
        auto s = app_->ActivePresentation()->Slides().Item(1);
        while (s->Shapes().Count() > 0) s->Shapes().Item(1)->Delete();
        return *s;
    }

    // Opens the dynamic menu and chooses the last item of each of its first three galleries.
    void openAndChoose(const std::string& menuId) {
        if (ribbon().openMenu(menuId) != host::RibbonHost::Outcome::done) return;
        int chosen = 0;
        for (const auto* c : ribbon().controls()) {
            if (!c->dynamic || c->kind != "gallery" || c->items.empty() || chosen == 3) continue;
            ++chosen;
            ribbon().choose(c->id, static_cast<int>(c->items.size()) - 1);
        }
    }

    // Puts the My Elements libraries back as installed (adding an element grows them). The
    // fuzzer's timer signal can interrupt a copy, which is then tried again.
    void restoreMyElementsLibraries() {
        for (const char* library : {"myelements.ppt", "myelements.pptx"}) {
            const std::string from = VARNOTEL_SOURCE_DIR "/install/user/myelements/" + std::string(library);
            const std::string to = root_ + "user/myelements/" + library;
            std::error_code ec;
            for (int attempt = 0; attempt < 100; ++attempt)
                if (std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec) || !ec)
                    break;
            if (ec) fail("the My Elements libraries could not be put back");
        }
    }

    // The buttons in `controls` and in their popups, depth-first, that `take` accepts (it is
    // given the depth: 0 directly in `controls`). Popups nested deeper than `maxDepth` fail
    // the run.
    using ButtonFilter = std::function<bool(const host::CommandBarControl&, int depth)>;
    static void collectButtons(host::CommandBarControls& controls, const ButtonFilter& take, int maxDepth,
                               std::vector<std::shared_ptr<host::CommandBarButton>>& out, int depth = 0) {
        if (depth > maxDepth) fail("the command bar's popups nest deeper than they may");
        for (const auto& control : controls.all()) {
            if (control->Type() == host::msoControlPopup)
                collectButtons(std::static_pointer_cast<host::CommandBarPopup>(control)->Controls(), take, maxDepth,
                               out, depth + 1);
            else if (control->Type() == host::msoControlButton && take(*control, depth))
                out.push_back(std::static_pointer_cast<host::CommandBarButton>(control));
        }
    }

    // Clicks the first, a middle and the last of `buttons`, then deletes the slides they
    // inserted, so the deck stays small over millions of inputs.
    void clickSomeAndTidy(const std::vector<std::shared_ptr<host::CommandBarButton>>& buttons) {
        if (!buttons.empty())
            for (std::size_t i : {std::size_t{0}, buttons.size() / 2, buttons.size() - 1})
                app_->CommandBars().click(*buttons[i]);
        auto& slides = app_->ActivePresentation()->Slides();
        while (slides.Count() > 1) slides.Item(slides.Count())->Delete();
    }

    // Fails the run when the host refused what the add-in handed it since `from` (ribbon XML
    // that does not fit the schema). The empty text is no refusal: it is what the My Elements
    // menu is meant to answer without an index.
    void requireNoRefusal(std::size_t from) {
        const auto& log = ribbon().log();
        for (std::size_t i = from; i < log.size(); ++i)
            if (log[i].find("refused") != std::string::npos &&
                log[i].find("(No document element found)") == std::string::npos)
                fail(log[i].c_str());
    }

private:
    void start() {
        app_.reset();
        app_ = std::make_unique<host::Application>(version_);
        app_->COMAddIns().add(plorin::kProgId, "Varnotel", [] { return std::make_unique<plorin::Connect>(); });
        app_->COMAddIns().Item(plorin::kProgId).setConnect(true);
        if (version_ != "11.0" && !ribbon().loaded(plorin::kProgId)) fail("the add-in's ribbon did not load");
    }

    std::string version_;
    std::string root_;
    std::unique_ptr<platform::RegistryStore> registry_;
    platform::RecordingShell shell_;
    platform::ScriptedDriver driver_;
    std::optional<platform::ScopedServices> services_;
    std::unique_ptr<host::Application> app_;
    long uses_ = 0;
};

}  // namespace fuzz
