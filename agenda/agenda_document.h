// The agenda document: the agenda of a presentation, kept as XML in the presentation's tag
// "plorin_agendaWizardXML" (root `Varnotel`, one `agenda` with its options, a copy of the
// style's layout and the items). These are the document operations of the agenda dialog
// that need no dialog: finding and making items, renewing identifiers, taking another
// style's layout, and the tree's labels and running times.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/xml_dom.h"

namespace plorin {

constexpr const char* kAgendaXmlTag = "plorin_agendaWizardXML";
constexpr const char* kAgendaStyleTag = "plorin_agendaWizardStyle";
constexpr const char* kSlideOrderTag = "plorin_slideOrder";
// The prefix of a tree node's key and of an imported item's identifier.
constexpr const char* kItemKeyPrefix = "s_";
constexpr int kMinutesPerDay = 1440;

// The messages for a template or a stored agenda that cannot be read.
std::string corruptedAgendaTemplateMessage();
std::string corruptedAgendaDataMessage();

// "/Varnotel/agenda"; raises error 91 when the document has none.
platform::DomNode agendaElement(const platform::DomDocument& doc);
// "/Varnotel/agenda/items"; raises error 91 when missing.
platform::DomNode agendaItems(const platform::DomDocument& doc);
// The item with that identifier (bound as a query variable, so any text is safe), or null.
platform::DomNode findAgendaItem(const platform::DomDocument& doc, const std::string& slideId);

// A required attribute's value; a missing one raises error 5 naming it.
std::string agendaAttribute(const platform::DomNode& node, const char* name);
// An integer attribute within [low, high]: not a number raises errTypeMismatch, outside the
// range error 380 ("Invalid property value").
std::int64_t integerAttribute(const platform::DomNode& node, const char* name, std::int64_t low, std::int64_t high);
// A flag attribute: "0" is off, any other number on; not a number raises errTypeMismatch.
bool flagAttribute(const platform::DomNode& node, const char* name);

// Whether the item is of a level the agenda shows, 1 or 2: items of other levels stay in the
// agenda and count for the times, and for nothing else. Raises for a level that is no number.
bool agendaItemLevelShown(const platform::DomNode& item);
// Whether the agenda slides list the item as a row: of a shown level, and "showAgendaItem" 1.
bool agendaItemListed(const platform::DomNode& item);

// Rows the agenda slides of this document show together: every item with a slide of its
// own shows every listed item. A received agenda can ask for any number of them.
std::int64_t agendaRowsToDraw(const platform::DomDocument& doc);
// The most rows one run draws (a hundred items with a slide each): far beyond a real
// agenda, and within what the host's memory and the saved file can carry.
constexpr std::int64_t kMostAgendaRows = 10000;

// A new item with its defaults ("<new item>", 30 minutes, shown, with a slide), outside the
// tree.
platform::DomNode newAgendaItem(platform::DomDocument& doc, const std::string& slideId, int level);

// Gives every item a new identifier of the form prefix + GUID and returns the old ones, in
// document order.
std::vector<std::string> renewAgendaItemIds(platform::DomDocument& doc, const std::string& prefix);

// Makes every item that generates a slide a shown one (a slide for an item the agenda does
// not list would be a slide nobody can reach from the agenda).
void normaliseAgendaItems(platform::DomDocument& doc);

// Mends what an agenda from a presentation may hold that the dialog never writes: an item
// whose identifier is empty, or the same as an earlier item's, gets a new one (the tree finds
// items by it), and the title, subtitle and the items' texts and responsible persons lose
// the characters XML cannot carry.
void mendAgendaDocument(platform::DomDocument& doc);

// Puts the template's format, subtitle (when it has one) and row styles into the agenda,
// keeping items and options. The template is left unchanged.
void takeAgendaStyle(platform::DomDocument& doc, const platform::DomDocument& agendaTemplate);

// A typed date, time or both as a day number (days since 30 December 1899, the time as its
// fraction): times "h:mm" or "h:mm:ss" (hours 0-23, or 1-12 with "AM"/"PM"), dates
// "yyyy-mm-dd", "m/d/yyyy" or "d.m.yyyy", a date followed by a time. Nothing when the text
// is none of these.
std::optional<double> dateValue(const std::string& text);

// Minutes as a time of day "hh:mm"; 1440 and more wrap to the next day's clock.
std::string clockText(std::int64_t minutes);

// Numbers items in agenda order, as the tree and the agenda slides show them.
class AgendaNumbering {
public:
    // secondLevel: "dot", "continuous" or anything else; numberBreaks: enumerateBreak is 1.
    AgendaNumbering(std::string secondLevel, bool numberBreaks)
        : secondLevel_(std::move(secondLevel)), numberBreaks_(numberBreaks) {}
    // The next item's number ("3", "2.1") or "" for an item without one. Main items and
    // numbered breaks restart the sub-numbers.
    std::string next(int level, bool isBreak);
    // Whether the number of a main item is followed by ". " (sub-items under "dot" take " ").
    bool dottedSub() const { return secondLevel_ == "dot"; }

private:
    std::string secondLevel_;
    bool numberBreaks_;
    long main_ = 0;
    long sub_ = 0;
};

// What the tree shows: one row per item of level 1 or 2, in agenda order.
struct AgendaTreeRow {
    std::string slideId;
    std::string label;
    int level = 1;
    bool child = false;  // a level-2 item under a level-1 item before it
};
struct AgendaTreeOptions {
    bool showItemNumbers = false;
    bool showResponsible = false;
    bool showTimeSlots = false;
    std::int64_t startMinutes = 0;
};
struct AgendaTree {
    std::vector<AgendaTreeRow> rows;
    std::int64_t endMinutes = 0;  // start plus every item's duration
};
// Labels and running times from the document's items (every item's duration counts, also
// of hidden items and of levels the tree does not show). Raises for a missing attribute, a
// number that is not one, or a duration outside 0 to 1440.
AgendaTree buildAgendaTree(const platform::DomDocument& doc, const AgendaTreeOptions& options);

}  // namespace plorin
