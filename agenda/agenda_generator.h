// The agenda slide generator and the slide upkeep: measuring the agenda's rows, creating,
// updating and deleting one agenda slide per item, finding an item's slide, the colour texts,
// the tags that record what was generated, and the scan for changes made by hand.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "agenda/agenda_colors.h"
#include "agenda/agenda_template.h"

namespace platform {
class DomDocument;
}

namespace host {
class Presentation;
class Slide;
class Shape;
}  // namespace host

namespace plorin {

// Tags of generated slides and shapes.
constexpr const char* kSlideIdTag = "plorin_slideID";
constexpr const char* kRoleTag = "plorin_agendaWizard";
constexpr const char* kContentTag = "plorin_agendaWizard_content";
constexpr const char* kPropertiesTag = "plorin_agendaWizard_properties";
constexpr const char* kAgendaSlideRole = "agendaSlide";

// What the measuring fixes for one run, kept by the dialog until the slides are drawn.
struct AgendaMetrics {
    AgendaFormat format;
    double fontSize = 0;
    double boxSize = 0;
    double rowGap = 0;
    double goldenOffset = 0;
    double textInset = 0;
    double textColumnWidth = 0;
    double hasRightColumn = 0;
    bool measureBold = false, measureItalic = false;
    int visibleItemCount = 0;
};

// The pure part of the measuring: from the measured widths (at the base font size) and the
// area to the final font size, box, gap, offset and columns. The font size never drops
// below 1; one row gets no gap.
struct AgendaWidths {
    double textWidth = 0;  // the widest item text, level 2 with its indent
    double respWidth = 0, timeWidth = 0, pageWidth = 0;
    int columns = 0;  // responsible, time slot and page columns shown
    bool responsible = false, rightColumn = false;
};
void fitAgendaMetrics(AgendaMetrics& m, const AgendaWidths& widths);

// The slide that belongs to an agenda item: a short identifier (fewer than 36 characters) is
// the host's numeric slide id, and that slide counts only when it is an agenda slide; a
// longer one is looked up in the slides' tag "plorin_slideID" (exact match). Nothing when
// none fits.
std::shared_ptr<host::Slide> findSlide(host::Presentation& presentation, const std::string& slideId);

// What one run of the generator draws, and where: the agenda dialog fills it from its fields,
// the upkeep from the stored agenda.
struct AgendaSlideOptions {
    platform::DomDocument* document = nullptr;  // the agenda: items, format and row styles
    host::Presentation* presentation = nullptr;
    bool itemNumbers = false, responsible = false, timeSlots = false, pageNumbers = false;
    std::string title, subtitle;
    // Identifiers of slides to remove, each followed by ";"; emptied once they are gone.
    std::string obsoleteSlides;
    // Told how far the run is: a new caption (empty: keep the old one) and whether one more
    // step is done. May be empty.
    std::function<void(const std::string& caption, bool advance)> progress;
};

// Measures the agenda's rows into the metrics. False when the measuring failed (it was
// reported); the measuring slide is gone on every path.
bool calculateMetrics(const AgendaSlideOptions& options, AgendaMetrics& metrics);
// Creates, updates and removes the agenda slides (also those on the obsolete list). Slides
// are created and deleted first, then drawn, then the slide order is recorded. An error
// after the first slide was touched passes to the caller.
void createAgendaSlides(AgendaSlideOptions& options, const AgendaMetrics& metrics);
// 0 nothing changed by hand, 1 texts, 2 positions, 3 both.
int checkForManualChanges(host::Presentation& presentation);

// The upkeep's small routines.
void removeTabs(host::Shape& shape);
// setColor: agenda/agenda_colors.h.
void saveShapeProperties(host::Shape& shape);
bool checkShapeProperties(host::Shape& shape);
// Left, top, width and height as the properties tag holds them.
std::string shapePropertiesText(const host::Shape& shape);
// One number in the tag's form: a blank or "-", at most seven significant digits, "." as
// the decimal point, no trailing zeros.
std::string invariantNumber(float value);

}  // namespace plorin
