// The add-in connected to a host with two styles, each with its agenda template, and the
// user's deck in a window; the agenda dialog is worked directly, as a driver would.
#pragma once

#include <memory>
#include <string>

#include "agenda/agenda_document.h"
#include "agenda/agenda_generator.h"
#include "agenda/agenda_wizard.h"
#include "host/text.h"
#include "tests/libraries/library_fixture.h"

namespace testing_agenda {

// A row style for every level, selection and break, each with its box, bar and runs.
inline std::string rowStyles() {
    std::string out;
    for (int level = 1; level <= 2; ++level)
        for (int selected = 0; selected <= 1; ++selected)
            for (int isBreak = 0; isBreak <= 1; ++isBreak)
                out += "<style level=\"" + std::to_string(level) + "\" selected=\"" + std::to_string(selected) +
                       "\" break=\"" + std::to_string(isBreak) +
                       "\"><box fillColor=\"#2F5597\" fillVisible=\"1\" lineColor=\"3\" lineWeight=\"1\" "
                       "lineVisible=\"0\" "
                       "fontColor=\"#FFFFFF\" fontBold=\"1\" fontItalic=\"0\"/><bar fillColor=\"#FFFFFF\" "
                       "fillVisible=\"1\" "
                       "lineColor=\"#8FAADC\" lineWeight=\"1\" lineVisible=\"1\" fontColor=\"2\"><text fontBold=\"" +
                       std::to_string(selected) +
                       "\" fontItalic=\"0\"/><responsible fontBold=\"0\" fontItalic=\"1\"/><timeSlot fontBold=\"0\" "
                       "fontItalic=\"0\"/><pageNo fontBold=\"0\" fontItalic=\"0\"/></bar></style>";
    return out;
}

// A template's agenda element with the given format attributes, subtitle and items.
inline std::string agendaXml(const std::string& items,
                             const std::string& format = "enumerate2ndLevel=\"dot\" enumerateBreak=\"0\"",
                             bool subtitle = true, const std::string& options = "") {
    return "<Varnotel><agenda title=\"Agenda\" subtitle=\"\" startTime=\"540\" showItemNumbers=\"1\" "
           "showResponsible=\"0\" showTimeSlots=\"1\" showPageNumbers=\"0\"" +
           options +
           "><format left=\"36\" top=\"126\" width=\"648\" height=\"360\" baseFontSize=\"18\" boxFontRatio=\"1.8\" "
           "boxBarSpacing=\"6\" fontName=\"Arial\" slideLayout=\"11\" " +
           format + "/>" +
           (subtitle
                ? "<subtitle left=\"1\" top=\"84\" width=\"600\" height=\"30\" fillColor=\"#FF0000\" fillVisible=\"0\" "
                  "lineColor=\"#000000\" lineWeight=\"0\" lineVisible=\"0\" align=\"1\" fontColor=\"2\" "
                  "fontSize=\"16\" fontBold=\"0\" fontItalic=\"1\"/>"
                : "") +
           "<styles>" + rowStyles() + "</styles><items>" + items + "</items></agenda></Varnotel>";
}

inline std::string item(const std::string& text, int level, int duration, const std::string& id, bool isBreak = false,
                        bool shown = true, const std::string& responsible = "", bool slide = true) {
    return "<item text=\"" + text + "\" level=\"" + std::to_string(level) + "\" responsible=\"" + responsible +
           "\" duration=\"" + std::to_string(duration) + "\" break=\"" + (isBreak ? "1" : "0") + "\" slideID=\"" + id +
           "\" showAgendaItem=\"" + (shown ? "1" : "0") + "\" generateAgendaSlide=\"" + (slide ? "1" : "0") + "\"/>";
}

class AgendaFixture : public testing_core::LibraryFixture {
protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        menu("<style name=\"Blue\" folder=\"blue\"/><style name=\"Green\" folder=\"green\"/>");
        writeTemplate("blue", agendaXml(item("Welcome", 1, 15, "1")));
        writeTemplate("green", agendaXml("", "enumerate2ndLevel=\"continuous\" enumerateBreak=\"1\"", false));
        deck = userDeck(3);
    }
    void TearDown() override {
        wizard.reset();
        LibraryFixture::TearDown();
    }

    void writeTemplate(const std::string& folder, const std::string& xml) {
        writeFile(root + "customization/styles/" + folder + "/agendawizard.xml", xml);
    }

    // Loads a fresh dialog as showing it would, without a driver working it.
    plorin::AgendaWizard& load() {
        wizard = std::make_unique<plorin::AgendaWizard>();
        wizard->Load();
        return *wizard;
    }
    // Loads the dialog on a stored agenda.
    plorin::AgendaWizard& loadStored(const std::string& xml, const std::string& style = "Blue") {
        deck->Tags().Add(plorin::kAgendaXmlTag, xml);
        deck->Tags().Add(plorin::kAgendaStyleTag, style);
        return load();
    }

    std::vector<std::string> labels() const {
        std::vector<std::string> out;
        for (const auto& n : wizard->tvItems.nodes) out.push_back(n.text);
        return out;
    }
    platform::DomNode itemAt(int index) const {
        return wizard->agendaDocument()->selectNodes("/Varnotel/agenda/items/item").item(index);
    }
    std::string attr(const platform::DomNode& node, const char* name) const {
        return node.getAttribute(name).value_or("(missing)");
    }
    bool act(const char* action, const std::string& control, const std::string& value = {}) {
        using namespace platform::driver;
        const std::string a = action;
        if (a == "click") return click(*wizard, control);
        if (a == "text") return setText(*wizard, control, value);
        if (a == "check") return check(*wizard, control, std::stoi(value));
        if (a == "choose") return choose(*wizard, control, value);
        return scroll(*wizard, control, std::stoi(value));
    }

    std::shared_ptr<host::Presentation> deck;
    std::unique_ptr<plorin::AgendaWizard> wizard;
};

}  // namespace testing_agenda
