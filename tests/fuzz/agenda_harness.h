// The agenda targets' side of the add-in harness: the style whose agenda template they use,
// a stored agenda as the dialog writes it, and a fresh deck of three slides per input.
#pragma once

#include <memory>
#include <string>

#include "addin_harness.h"
#include "agenda/agenda_document.h"
#include "agenda/agenda_template.h"
#include "host/clipboard.h"
#include "libraries/menu_file.h"

namespace fuzz {

// A style of the sample installation and its folder.
constexpr const char* kAgendaStyle = "Corporate Blue";
inline std::string agendaTemplatePath(const AddInHarness& harness) {
    return harness.root() + "customization/styles/corporate_blue/" + plorin::kAgendaTemplateFile;
}

// A whole agenda as the dialog stores it: options, format, subtitle box, one row style and
// two items.
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

// A deck of three slides in the active window, with the style and, when given, a stored
// agenda in its tags.
inline std::shared_ptr<host::Presentation> agendaDeck(host::Application& app, const std::string& stored = {}) {
    auto p = app.Presentations().Add(true);
    p->Tags().Add(plorin::kStyleTag, kAgendaStyle);
    p->Tags().Add(plorin::kAgendaStyleTag, kAgendaStyle);
    if (!stored.empty()) p->Tags().Add(plorin::kAgendaXmlTag, stored);
    for (int i = 1; i <= 3; ++i) p->Slides().Add(i, 12);
    app.ActiveWindow()->showSlide(p->Slides().Item(1));
    return p;
}

// Closes every presentation, so that the next input starts from none.
inline void closeDecks(host::Application& app) {
    while (app.Presentations().Count() > 0) app.Presentations().Item(1)->Close();
    host::clipboard().clear();
}

}  // namespace fuzz
