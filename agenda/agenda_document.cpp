#include "agenda/agenda_document.h"

#include <set>

#include "core/config.h"
#include "core/errors.h"
#include "core/guid.h"
#include "core/numbers.h"
#include "platform/text.h"

namespace plorin {

std::string corruptedAgendaTemplateMessage() {
    return "The Agenda Wizard template seems to be corrupted. Please contact us at " + supportEmail() + ".";
}

std::string corruptedAgendaDataMessage() {
    return "The Agenda Wizard data seems to be corrupted. Please contact us at " + supportEmail() + ".";
}

namespace {
platform::DomNode required(const platform::DomDocument& doc, const char* path) {
    platform::DomNode node = doc.selectSingleNode(path);
    if (!node) raiseObjectNotSet(path);
    return node;
}
}  // namespace

platform::DomNode agendaElement(const platform::DomDocument& doc) { return required(doc, "/Varnotel/agenda"); }
platform::DomNode agendaItems(const platform::DomDocument& doc) { return required(doc, "/Varnotel/agenda/items"); }

platform::DomNode findAgendaItem(const platform::DomDocument& doc, const std::string& slideId) {
    return doc.selectSingleNode("/Varnotel/agenda/items/item[@slideID=$id]", {{"id", slideId}});
}

std::string agendaAttribute(const platform::DomNode& node, const char* name) {
    auto value = node.getAttribute(name);
    if (!value) raiseError(errInvalidArgument, std::string("The attribute '") + name + "' is missing.");
    return *value;
}

std::int64_t integerAttribute(const platform::DomNode& node, const char* name, std::int64_t low, std::int64_t high) {
    const double value = roundHalfEven(toNumber(agendaAttribute(node, name)));
    if (!(value >= static_cast<double>(low) && value <= static_cast<double>(high)))
        raiseError(errInvalidPropertyValue, std::string("Invalid property value (") + name + ")");
    return static_cast<std::int64_t>(value);
}

bool flagAttribute(const platform::DomNode& node, const char* name) {
    return toNumber(agendaAttribute(node, name)) != 0;
}

bool agendaItemLevelShown(const platform::DomNode& item) {
    const std::int64_t level = integerAttribute(item, "level", -32768, 32767);
    return level == 1 || level == 2;
}

bool agendaItemListed(const platform::DomNode& item) {
    return agendaAttribute(item, "showAgendaItem") == "1" && agendaItemLevelShown(item);
}

std::int64_t agendaRowsToDraw(const platform::DomDocument& doc) {
    std::int64_t slides = 0, listed = 0;
    for (const platform::DomNode item : doc.selectNodes("/Varnotel/agenda/items/item")) {
        if (!agendaItemLevelShown(item)) continue;
        if (agendaAttribute(item, "generateAgendaSlide") == "1") ++slides;
        if (agendaAttribute(item, "showAgendaItem") == "1") ++listed;
    }
    return slides * listed;
}

platform::DomNode newAgendaItem(platform::DomDocument& doc, const std::string& slideId, int level) {
    platform::DomNode item = doc.createElement("item");
    item.setAttribute("level", std::to_string(level));
    item.setAttribute("text", "<new item>");
    item.setAttribute("responsible", "");
    item.setAttribute("duration", "30");
    item.setAttribute("break", "0");
    item.setAttribute("slideID", slideId);
    item.setAttribute("showAgendaItem", "1");
    item.setAttribute("generateAgendaSlide", "1");
    return item;
}

std::vector<std::string> renewAgendaItemIds(platform::DomDocument& doc, const std::string& prefix) {
    std::vector<std::string> old;
    for (platform::DomNode item : doc.selectNodes("/Varnotel/agenda/items/item")) {
        old.push_back(item.getAttribute("slideID").value_or(""));
        const std::string guid = getGUID();
        if (guid.empty()) raiseError(errOutOfMemory, "No new identifier could be made.");
        item.setAttribute("slideID", prefix + guid);
    }
    return old;
}

void normaliseAgendaItems(platform::DomDocument& doc) {
    for (platform::DomNode item : doc.selectNodes("/Varnotel/agenda/items/item[@generateAgendaSlide='1']"))
        item.setAttribute("showAgendaItem", "1");
}

void mendAgendaDocument(platform::DomDocument& doc) {
    const auto carry = [](platform::DomNode& node, const char* name) {
        const std::optional<std::string> text = node.getAttribute(name);
        if (!text) return;
        const std::string clean = platform::withoutNonXmlCharacters(*text);
        if (clean != *text) node.setAttribute(name, clean);
    };
    if (platform::DomNode agenda = doc.selectSingleNode("/Varnotel/agenda")) {
        carry(agenda, "title");
        carry(agenda, "subtitle");
    }
    std::set<std::string> ids;
    for (platform::DomNode item : doc.selectNodes("/Varnotel/agenda/items/item")) {
        carry(item, "text");
        carry(item, "responsible");
        const std::optional<std::string> id = item.getAttribute("slideID");
        if (!id) continue;  // a required attribute: reading the item reports it
        if (id->empty() || ids.count(*id)) {
            const std::string guid = getGUID();
            if (guid.empty()) raiseError(errOutOfMemory, "No new identifier could be made.");
            item.setAttribute("slideID", guid);
            ids.insert(guid);
        } else {
            ids.insert(*id);
        }
    }
}

void takeAgendaStyle(platform::DomDocument& doc, const platform::DomDocument& agendaTemplate) {
    platform::DomNode agenda = agendaElement(doc);
    const auto replace = [&](const char* name, bool required, bool appendWhenMissing) {
        const platform::DomNode source = agendaTemplate.selectSingleNode(std::string("/Varnotel/agenda/") + name);
        if (!source) {
            if (required) raiseError(errObjectNotSet, std::string("The template has no ") + name + ".");
            return;
        }
        platform::DomNode copy = doc.importNode(source, true);
        if (platform::DomNode current = agenda.selectSingleNode(name)) agenda.replaceChild(copy, current);
        else if (appendWhenMissing) agenda.appendChild(copy);
        else raiseError(errObjectNotSet, std::string("The agenda has no ") + name + ".");
    };
    replace("format", true, false);
    // A template without a subtitle box leaves the agenda's own as it is.
    replace("subtitle", false, true);
    replace("styles", true, false);
}

namespace {

// Reads an unsigned number of 1 to maxDigits digits at pos.
std::optional<int> digits(const std::string& t, std::size_t& pos, std::size_t maxDigits) {
    std::size_t start = pos;
    int v = 0;
    while (pos < t.size() && pos - start < maxDigits && t[pos] >= '0' && t[pos] <= '9') v = v * 10 + (t[pos++] - '0');
    if (pos == start) return std::nullopt;
    return v;
}

// Days from 30 December 1899 to the date (proleptic Gregorian), or nothing for no such date.
std::optional<long> dayNumber(int y, int m, int d) {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) return std::nullopt;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > lengths[m - 1] + (m == 2 && leap ? 1 : 0)) return std::nullopt;
    // Days since 1 March of year 0, by the usual civil-calendar arithmetic.
    const auto civil = [](long yy, long mm, long dd) {
        yy -= mm <= 2;
        const long era = (yy >= 0 ? yy : yy - 399) / 400;
        const long yoe = yy - era * 400;
        const long doy = (153 * (mm + (mm > 2 ? -3 : 9)) + 2) / 5 + dd - 1;
        return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy;
    };
    return civil(y, m, d) - civil(1899, 12, 30);
}

bool skipBlanks(const std::string& t, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < t.size() && t[pos] == ' ') ++pos;
    return pos > start;
}

std::optional<double> timeValue(const std::string& t, std::size_t& pos) {
    auto h = digits(t, pos, 2);
    if (!h || pos >= t.size() || t[pos] != ':') return std::nullopt;
    ++pos;
    auto m = digits(t, pos, 2);
    if (!m || *m > 59) return std::nullopt;
    int s = 0;
    if (pos < t.size() && t[pos] == ':') {
        ++pos;
        auto sec = digits(t, pos, 2);
        if (!sec || *sec > 59) return std::nullopt;
        s = *sec;
    }
    std::size_t after = pos;
    skipBlanks(t, after);
    int hours = *h;
    if (after + 2 <= t.size()) {
        const std::string mark = {static_cast<char>(t[after] & ~0x20), static_cast<char>(t[after + 1] & ~0x20)};
        if (mark == "AM" || mark == "PM") {
            if (hours < 1 || hours > 12) return std::nullopt;
            hours = hours % 12 + (mark == "PM" ? 12 : 0);
            pos = after + 2;
        }
    }
    if (hours > 23) return std::nullopt;
    return (hours * 3600 + *m * 60 + s) / 86400.0;
}

std::optional<long> datePart(const std::string& t, std::size_t& pos) {
    const std::size_t start = pos;
    auto a = digits(t, pos, 4);
    if (!a || pos >= t.size()) return std::nullopt;
    const char sep = t[pos];
    if (sep != '-' && sep != '/' && sep != '.') {
        pos = start;
        return std::nullopt;
    }
    ++pos;
    auto b = digits(t, pos, 2);
    if (!b || pos >= t.size() || t[pos] != sep) return std::nullopt;
    ++pos;
    auto c = digits(t, pos, 4);
    if (!c) return std::nullopt;
    if (sep == '-') return dayNumber(*a, *b, *c);
    if (sep == '/') return dayNumber(*c, *a, *b);
    return dayNumber(*c, *b, *a);
}

}  // namespace

std::optional<double> dateValue(const std::string& text) {
    std::size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos) return std::nullopt;
    std::string t = text.substr(b, text.find_last_not_of(' ') - b + 1);
    std::size_t pos = 0;
    double value = 0;
    bool any = false;
    // A date needs its separators before any colon; a time alone starts with "h:".
    const std::size_t colon = t.find(':');
    const std::size_t sep = t.find_first_of("-/.");
    if (sep != std::string::npos && (colon == std::string::npos || sep < colon)) {
        auto day = datePart(t, pos);
        if (!day) return std::nullopt;
        value = static_cast<double>(*day);
        any = true;
        if (pos < t.size() && !skipBlanks(t, pos)) return std::nullopt;
    }
    if (pos < t.size()) {
        auto time = timeValue(t, pos);
        if (!time) return std::nullopt;
        // A time on a date before 1900 lies further back, as the day numbers count.
        value = value < 0 ? value - *time : value + *time;
        any = true;
    }
    if (!any || pos != t.size()) return std::nullopt;
    return value;
}

std::string clockText(std::int64_t minutes) {
    std::int64_t m = minutes % kMinutesPerDay;
    if (m < 0) m += kMinutesPerDay;
    const auto two = [](std::int64_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return two(m / 60) + ":" + two(m % 60);
}

std::string AgendaNumbering::next(int level, bool isBreak) {
    if (level == 1) {
        if (isBreak && !numberBreaks_) return {};
        ++main_;
        sub_ = 0;
        return std::to_string(main_);
    }
    if (level == 2 && (!isBreak || numberBreaks_)) {
        if (secondLevel_ == "dot") return std::to_string(main_) + "." + std::to_string(++sub_);
        if (secondLevel_ == "continuous") return std::to_string(++main_);
    }
    return {};
}

AgendaTree buildAgendaTree(const platform::DomDocument& doc, const AgendaTreeOptions& options) {
    const platform::DomNode format = required(doc, "/Varnotel/agenda/format");
    AgendaNumbering numbering(agendaAttribute(format, "enumerate2ndLevel"),
                              integerAttribute(format, "enumerateBreak", -32768, 32767) == 1);
    AgendaTree tree;
    std::int64_t t = options.startMinutes;
    bool haveParent = false;
    for (const platform::DomNode item : doc.selectNodes("/Varnotel/agenda/items/item")) {
        const std::string text = agendaAttribute(item, "text");
        const std::int64_t level = integerAttribute(item, "level", -32768, 32767);
        const std::string responsible = agendaAttribute(item, "responsible");
        const std::int64_t duration = integerAttribute(item, "duration", 0, kMinutesPerDay);
        const bool isBreak = flagAttribute(item, "break");
        const std::string slideId = agendaAttribute(item, "slideID");
        const bool shown = flagAttribute(item, "showAgendaItem");
        t += duration;

        std::string number;
        if (options.showItemNumbers) {
            if (!shown) {
                number = "[HIDDEN] ";
            } else if (level == 1 || level == 2) {
                const std::string n = numbering.next(static_cast<int>(level), isBreak);
                if (!n.empty()) number = n + (level == 2 && numbering.dottedSub() ? " " : ". ");
            }
        }
        std::string label = number + text;
        const std::string who = options.showResponsible ? responsible : std::string();
        const std::string when =
            options.showTimeSlots && duration > 0 ? clockText(t - duration) + " - " + clockText(t) : std::string();
        if (!who.empty() || !when.empty())
            label += " (" + who + (!who.empty() && !when.empty() ? ", " : "") + when + ")";

        if (level == 1) {
            tree.rows.push_back({slideId, std::move(label), 1, false});
            haveParent = true;
        } else if (level == 2) {
            tree.rows.push_back({slideId, std::move(label), 2, haveParent});
        }
    }
    tree.endMinutes = t;
    return tree;
}

}  // namespace plorin
