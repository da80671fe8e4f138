#include "agenda/agenda_run.h"

#include "agenda/agenda_document.h"
#include "agenda/agenda_template.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {

int message(const std::string& text, int style) { return platform::MsgBox(text, style, kProductName); }

constexpr const char* kManualChangeTail =
    " Please be aware that manual changes will not be carried over to the Agenda Wizard but will be overwritten as "
    "soon as you click 'OK' in the Agenda Wizard dialog.";

}  // namespace

awStatus::awStatus() : platform::Form("awStatus") { Caption = "Status"; }

std::unique_ptr<platform::DomDocument> readAgenda(const std::string& xml, const std::string& path,
                                                  AgendaFields& fields) {
    // Parsed and checked aside: a text that is not an agenda leaves the caller's one alone.
    auto fresh = std::make_unique<platform::DomDocument>();
    const bool parsed = path.empty() ? fresh->loadXML(xml) : fresh->load(path);
    if (!parsed) return nullptr;
    platform::DomNode agenda = fresh->selectSingleNode("/Varnotel/agenda");
    if (!agenda) return nullptr;
    mendAgendaDocument(*fresh);
    AgendaFields f;
    f.itemNumbers = toInteger16(agendaAttribute(agenda, "showItemNumbers"));
    f.responsible = toInteger16(agendaAttribute(agenda, "showResponsible"));
    f.timeSlots = toInteger16(agendaAttribute(agenda, "showTimeSlots"));
    f.pageNumbers = toInteger16(agendaAttribute(agenda, "showPageNumbers"));
    f.startMinutes = integerAttribute(agenda, "startTime", 0, kMinutesPerDay - 1);
    f.title = agendaAttribute(agenda, "title");
    f.subtitle = agendaAttribute(agenda, "subtitle");
    f.hasSubtitle = static_cast<bool>(agenda.selectSingleNode("subtitle"));
    buildAgendaTree(*fresh, {});  // every item readable before the agenda is taken
    for (int v : {f.itemNumbers, f.responsible, f.timeSlots, f.pageNumbers})
        if (v < 0 || v > 2) raiseError(errInvalidPropertyValue, "Invalid property value");
    // Both columns on show as page numbers only, and OK stores what the dialog showed.
    if (f.timeSlots == 1 && f.pageNumbers == 1) {
        f.timeSlots = 0;
        agenda.setAttribute("showTimeSlots", "0");
    }
    fields = std::move(f);
    return fresh;
}

std::string leadingDeclaration(const std::string& text) {
    if (text.rfind("<?xml", 0) != 0) return {};
    std::size_t end = text.find("?>");
    if (end == std::string::npos) return {};
    end += 2;
    while (end < text.size() && (text[end] == ' ' || text[end] == '\r' || text[end] == '\n' || text[end] == '\t'))
        ++end;
    return text.substr(0, end);
}

int agendaStyleIndex(const std::string& wanted) {
    const auto& names = state().styleNames;
    for (int i = 1; i <= names.Count(); ++i)
        if (names.Item(i) == wanted) return i - 1;
    // A style that no longer exists gives way to the first one.
    return names.Count() > 0 ? 0 : -1;
}

std::shared_ptr<host::Slide> firstSelectedSlide() {
    std::shared_ptr<host::Slide> slide;
    host::Application& app = hostApplication();
    if (app.Windows().Count() > 0) {
        ignoreErrors([&] {
            const host::SlideRange slides = app.ActiveWindow()->Selection().SlideRange();
            if (slides.Count() > 0) slide = slides.Item(1);
        });
    }
    return slide;
}

void selectSlideAgain(const std::shared_ptr<host::Slide>& slide) {
    ignoreErrors([&] {
        if (slide && hostApplication().Windows().Count() > 0) hostApplication().ActiveWindow()->selectSlides({slide});
    });
}

void warnOfManualChanges(host::Presentation& presentation) {
    const int changes = checkForManualChanges(presentation);
    const char* what = changes == 1   ? "The contents of some agenda slides were changed manually."
                       : changes == 2 ? "The item positions on some agenda slides were changed manually."
                       : changes == 3 ? "Some agenda slides were changed manually, both in terms of content and item "
                                        "position."
                                      : nullptr;
    if (what) message(std::string("Attention:\r\n\r\n") + what + kManualChangeTail, platform::vbExclamation);
}

bool agendaFitsOnSlides(const platform::DomDocument& agenda) {
    std::int64_t rows = 0;
    if (!trap("AgendaWizard, OK", [&] { rows = agendaRowsToDraw(agenda); })) return false;
    if (rows <= kMostAgendaRows) return true;
    message("This agenda is too long for agenda slides: they would show " + std::to_string(rows) +
                " rows, and at most " + std::to_string(kMostAgendaRows) +
                " can be drawn.\r\nPlease remove items, or create agenda slides for fewer items.",
            platform::vbExclamation);
    return false;
}

AgendaRunEnd runAgendaSlides(AgendaSlideOptions& options, AgendaMetrics& metrics, const std::function<void()>& store) {
    awStatus status;
    struct StatusGuard {
        AgendaSlideOptions& options;
        awStatus& window;
        ~StatusGuard() {
            options.progress = nullptr;
            ignoreErrors([&] { window.Unload(); });
        }
    } guard{options, status};
    options.progress = [&status](const std::string& caption, bool advance) {
        if (!caption.empty()) status.lStatus.Caption = caption;
        if (advance) status.progress.Value = std::min(status.progress.Value + 1, status.progress.Max);
    };
    AgendaRunEnd end = AgendaRunEnd::failed;
    bool generating = false;
    trap("AgendaWizard, OK", [&] {
        status.lStatus.Caption = "Calculating metrics...";
        status.Show(false);
        // Failed metrics were reported; drawing with them would give broken slides.
        if (!calculateMetrics(options, metrics)) {
            status.Unload();
            end = AgendaRunEnd::measuringFailed;
            return;
        }
        status.progress.Max = metrics.visibleItemCount + 3;
        status.progress.Value = 1;
        generating = true;
        createAgendaSlides(options, metrics);
        generating = false;
        status.lStatus.Caption = "Saving agenda...";
        status.progress.Value = status.progress.Max;
        store();
        status.Unload();
        end = AgendaRunEnd::done;
    });
    if (end == AgendaRunEnd::failed && generating) {
        // Slides made before the failure carry identifiers only this document knows: keep
        // it, or the next run would make them again.
        ignoreErrors(store);
        end = AgendaRunEnd::failedWhileDrawing;
    }
    return end;
}

void regenerateStoredAgenda() {
    std::unique_ptr<platform::DomDocument> agenda;
    std::shared_ptr<host::Presentation> presentation;
    std::shared_ptr<host::Slide> slideAtOpen;
    std::string style, declaration;
    AgendaFields fields;
    // The same steps, and the same reports, as loading the dialog.
    trap("AgendaWizard, Form_Load", [&] {
        host::Application& app = hostApplication();
        if (app.Presentations().Count() == 0 || app.Windows().Count() == 0) {
            message("Please open a presentation first.", platform::vbInformation);
            return;
        }
        presentation = app.ActivePresentation();
        slideAtOpen = firstSelectedSlide();
        std::string wanted = presentation->Tags().Item(kAgendaStyleTag);
        if (wanted.empty()) wanted = state().currentStyle;
        const int index = agendaStyleIndex(wanted);
        style = index < 0 ? std::string() : state().styleNames.Item(index + 1);
        const std::string stored = presentation->Tags().Item(kAgendaXmlTag);
        if (stored.empty()) return;
        std::unique_ptr<platform::DomDocument> read = readAgenda(stored, "", fields);
        if (!read) {
            message(corruptedAgendaDataMessage(), platform::vbCritical);
            return;
        }
        declaration = leadingDeclaration(stored);
        agenda = std::move(read);
        // The dialog shows the agenda as a tree next; an agenda it cannot show is reported
        // as there.
        trap("AgendaWizard, xml2treeview", [&] {
            if (!agenda->selectSingleNode("/Varnotel/agenda/format")) raiseObjectNotSet("format");
            buildAgendaTree(*agenda, {fields.itemNumbers == 1, fields.responsible == 1, fields.timeSlots == 1,
                                      fields.startMinutes});
        });
        warnOfManualChanges(*presentation);
    });
    if (!agenda || !agendaFitsOnSlides(*agenda)) return;

    AgendaSlideOptions options;
    options.document = agenda.get();
    options.presentation = presentation.get();
    options.itemNumbers = fields.itemNumbers == 1;
    options.responsible = fields.responsible == 1;
    options.timeSlots = fields.timeSlots == 1;
    options.pageNumbers = fields.pageNumbers == 1;
    options.title = fields.title;
    options.subtitle = fields.hasSubtitle ? fields.subtitle : kNoSubtitleText;
    AgendaMetrics metrics;
    const auto store = [&] {
        presentation->Tags().Add(kAgendaXmlTag, declaration + agenda->xml());
        presentation->Tags().Add(kAgendaStyleTag, style);
    };
    if (runAgendaSlides(options, metrics, store) == AgendaRunEnd::done) selectSlideAgain(slideAtOpen);
}

}  // namespace plorin
