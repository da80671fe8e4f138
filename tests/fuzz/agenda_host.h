// The world the agenda targets run in, made once per process: a small installation in a
// temporary folder (a menu file with one style and its agenda template), an in-memory
// registry, a recording shell, a user who answers every message with OK (never Yes, so no
// question starts a second run of the generator) and the add-in connected to a host. Each
// input gets a fresh deck of three slides in a window and leaves nothing behind.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/addin_state.h"
#include "addin/connect.h"
#include "agenda/agenda_document.h"
#include "agenda/agenda_template.h"
#include "core/errors.h"
#include "core/folder_layout.h"
#include "core/shared_state.h"
#include "host/clipboard.h"
#include "host/host.h"
#include "host/ribbon.h"
#include "libraries/menu_file.h"
#include "platform/services.h"
#include "platform/ui.h"

namespace fuzzing {

// A whole agenda as the sample installation's styles write it: options, format, subtitle
// box, one row style, and two items.
inline const char* kSampleAgenda =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<Varnotel><agenda title=\"Agenda\" subtitle=\"\" startTime=\"540\" showItemNumbers=\"1\" "
    "showResponsible=\"1\" showTimeSlots=\"1\" showPageNumbers=\"1\">"
    "<format left=\"36\" top=\"126\" width=\"648\" height=\"360\" baseFontSize=\"18\" boxFontRatio=\"1.8\" "
    "boxBarSpacing=\"6\" fontName=\"Arial\" slideLayout=\"11\" enumerate2ndLevel=\"dot\" enumerateBreak=\"0\" "
    "barOnly=\"0\" goldenCanon=\"1\"/>"
    "<subtitle left=\"36\" top=\"84\" width=\"648\" height=\"30\" fillColor=\"#DAE3F3\" fillVisible=\"0\" "
    "lineColor=\"#8FAADC\" lineWeight=\"0.75\" lineVisible=\"0\" align=\"1\" fontColor=\"#1F3864\" fontSize=\"16\" "
    "fontBold=\"0\" fontItalic=\"1\"/>"
    "<styles><style level=\"1\" selected=\"0\" break=\"0\"><box fillColor=\"#2F5597\" fillVisible=\"1\" "
    "lineColor=\"3\" lineWeight=\"0.75\" lineVisible=\"0\" fontColor=\"#FFFFFF\" fontBold=\"1\" fontItalic=\"0\"/>"
    "<bar fillColor=\"#FFFFFF\" fillVisible=\"1\" lineColor=\"#8FAADC\" lineWeight=\"0.75\" lineVisible=\"1\" "
    "fontColor=\"2\"><text fontBold=\"0\" fontItalic=\"0\"/><responsible fontBold=\"0\" fontItalic=\"1\"/>"
    "<timeSlot fontBold=\"0\" fontItalic=\"0\"/><pageNo fontBold=\"0\" fontItalic=\"0\"/></bar></style></styles>"
    "<items><item text=\"Welcome\" level=\"1\" responsible=\"Ann\" duration=\"15\" break=\"0\" slideID=\"s_1\" "
    "showAgendaItem=\"1\" generateAgendaSlide=\"1\"/><item text=\"Budget\" level=\"2\" responsible=\"\" "
    "duration=\"30\" break=\"0\" slideID=\"s_2\" showAgendaItem=\"1\" generateAgendaSlide=\"1\"/></items>"
    "</agenda></Varnotel>";

class AgendaHost {
public:
    static AgendaHost& get() {
        static AgendaHost* host = new AgendaHost();  // lives to the end: the fuzzer exits without unwinding
        return *host;
    }

    // The style's agenda template, as its file holds it.
    std::string templatePath() const { return root + "customization/styles/blue/" + plorin::kAgendaTemplateFile; }
    void writeTemplate(std::string_view text) const { write(templatePath(), text); }

    // A fresh deck of three slides, shown in the active window.
    std::shared_ptr<host::Presentation> deck() {
        auto p = app->Presentations().Add(true);
        p->Tags().Add(plorin::kStyleTag, "Blue");
        app->ActiveWindow()->Activate();
        for (int i = 1; i <= 3; ++i) p->Slides().Add(i, 12);
        app->ActiveWindow()->showSlide(p->Slides().Item(1));
        return p;
    }

    // Closes every presentation and forgets what the user was told.
    void reset() {
        while (app->Presentations().Count() > 0) app->Presentations().Item(1)->Close();
        driver.messages.clear();
        driver.modalForms.clear();
        driver.formActions.clear();
        plorin::reportedErrors().clear();
        host::clipboard().clear();
    }

    std::string root;
    platform::ScriptedDriver driver;
    std::unique_ptr<host::Application> app;

private:
    struct Ribbon : host::IRibbonUI {
        void Invalidate() override {}
        void InvalidateControl(const std::string&) override {}
    };

    AgendaHost() {
        registry_ = platform::makeMemoryRegistry();
        platform::useRegistryStore(registry_.get());
        platform::useShell(&shell_);
        driver.onUnansweredMessage = [](const platform::MessageBoxCall&) { return platform::vbOK; };
        driver.onUnscriptedForm = [](platform::Form&) {};
        platform::setUiDriver(&driver);
        char pattern[] = "/tmp/varnotel-fuzz-agenda-XXXXXX";
        root = std::string(::mkdtemp(pattern)) + "/";
        for (const char* folder : {"program", "tmp", "cache", "user/myelements", "customization/styles/blue"})
            std::filesystem::create_directories(root + folder);
        shell_.temp = root + "tmp/";
        shell_.cache = root + "cache/";
        plorin::setAddInFolder(root + "program/");
        write(root + "customization/menu.xml", "<Varnotel><style name=\"Blue\" folder=\"blue\"/></Varnotel>");
        writeTemplate(kSampleAgenda);

        app = std::make_unique<host::Application>("14.0");
        addIn_.OnConnection(*app, 0, nullptr);
        plorin::state().ribbon = &ribbon_;
        auto undoFix = app->Presentations().Add(false);
        undoFix->SaveAs(root + "program/plorinUndoFix.ppt");
        undoFix->Close();
        plorin::loadMenuFile(plorin::kRibbonMenuFileLead);
        plorin::state().currentStyle = "Blue";
        reset();
    }

    static void write(const std::string& path, std::string_view text) {
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(text.size()));
    }

    std::unique_ptr<platform::RegistryStore> registry_;
    platform::RecordingShell shell_;
    plorin::Connect addIn_;
    Ribbon ribbon_;
};

}  // namespace fuzzing
