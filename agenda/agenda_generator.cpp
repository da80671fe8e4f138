#include "agenda/agenda_generator.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string_view>
#include <tuple>
#include <vector>

#include "agenda/agenda_document.h"
#include "core/errors.h"
#include "core/guid.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "host/host.h"
#include "host/text.h"
#include "platform/ui_driver.h"
#include "tools/text_beautifier.h"

namespace plorin {

namespace {

constexpr const char* kItemsQuery = "/Varnotel/agenda/items/item";

float single(double v) { return static_cast<float>(v); }

// The measuring slide lives only while the metrics are taken: gone again on every path.
class MeasuringSlide {
public:
    explicit MeasuringSlide(host::Presentation& p)
        : slide_(p.Slides().Add(p.Slides().Count() + 1, host::ppLayoutBlank)) {}
    ~MeasuringSlide() {
        ignoreErrors([&] { slide_->Delete(); });
    }
    MeasuringSlide(const MeasuringSlide&) = delete;
    MeasuringSlide& operator=(const MeasuringSlide&) = delete;
    host::Slide& slide() { return *slide_; }

private:
    std::shared_ptr<host::Slide> slide_;
};

// One probe text box per query, deleted afterwards.
class Probe {
public:
    Probe(host::Slide& slide, const AgendaMetrics& m)
        : box_(slide.Shapes().AddTextbox(host::msoTextOrientationHorizontal, 0, 0, 100, 100)), metrics_(m) {
        box_->TextFrame().setWordWrap(host::msoFalse);
    }
    ~Probe() {
        ignoreErrors([&] { box_->Delete(); });
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;
    double width(const std::string& text) {
        host::TextRange range = box_->TextFrame().TextRange();
        range.setText(text);
        host::Font font = range.Font();
        font.setName(metrics_.format.fontName.empty() ? host::kDefaultFontName : metrics_.format.fontName);
        font.setBold(metrics_.measureBold ? host::msoTrue : host::msoFalse);
        font.setItalic(metrics_.measureItalic ? host::msoTrue : host::msoFalse);
        font.setSize(single(metrics_.fontSize));
        return range.BoundWidth();
    }

private:
    std::shared_ptr<host::Shape> box_;
    const AgendaMetrics& metrics_;
};

double getWidth(host::Slide& slide, const AgendaMetrics& m, const std::string& text) {
    double width = 0;
    trap("AgendaWizard, getWidth", [&] {
        Probe probe(slide, m);
        width = probe.width(text);
    });
    return width;
}

double getMaxWidth(host::Slide& slide, const AgendaMetrics& m, const platform::DomDocument& doc,
                   const std::string& query) {
    double widest = 0;
    trap("AgendaWizard, getMaxWidth", [&] {
        Probe probe(slide, m);
        probe.width("test");
        for (const platform::DomNode node : doc.selectNodes(query)) {
            const double w = probe.width(node.text());
            if (w > widest) widest = w;
        }
    });
    return widest;
}

void setSizes(AgendaMetrics& m, double fontSize) {
    m.fontSize = std::max(1.0, fontSize);
    m.boxSize = m.fontSize * m.format.boxFontRatio;
    m.rowGap = m.boxSize;
    m.textInset = m.fontSize * 0.4;
}

}  // namespace

// ---- Measuring ------------------------------------------------------------------------------

void fitAgendaMetrics(AgendaMetrics& m, const AgendaWidths& w) {
    const AgendaFormat& f = m.format;
    const double available = f.width - m.boxSize - f.boxBarSpacing - 2 * m.textInset - w.columns * m.fontSize;
    const double needed = w.textWidth + w.respWidth + w.timeWidth + w.pageWidth;
    if (needed > available) setSizes(m, std::trunc(available * m.fontSize / needed));

    const int n = m.visibleItemCount;
    m.goldenOffset = 0;
    if (n == 1) {
        // One row: no gap to shrink; a box taller than the area shrinks the font to fit.
        m.rowGap = 0;
        if (m.boxSize > f.height && f.boxFontRatio > 0) {
            setSizes(m, std::trunc(f.height / f.boxFontRatio));
            m.rowGap = 0;
        } else if (f.goldenCanon != 0) {
            m.goldenOffset = (f.height - m.boxSize) / 3;
        }
    } else if (n > 1) {
        const double total = (2.0 * n - 1) * m.boxSize;
        if (total > f.height) m.rowGap = m.boxSize - (total - f.height) / (n - 1);
        else if (f.goldenCanon != 0) m.goldenOffset = (f.height - total) / 3;
        if (m.rowGap < 0.2 * m.boxSize) {
            const double shrunk = std::trunc(f.height / ((n - 1) * 0.2 * m.boxSize + n * m.boxSize) * m.fontSize);
            setSizes(m, shrunk);
            m.rowGap = (f.height - n * m.boxSize) / (n - 1);
        }
    }

    const double share = needed > 0 ? available * w.textWidth / needed : 0;
    m.textColumnWidth = w.responsible ? share + m.fontSize : 0;
    m.hasRightColumn = w.rightColumn ? 1 : 0;
}

bool calculateMetrics(const AgendaSlideOptions& options, AgendaMetrics& m) {
    return trap("AgendaWizard, calculateMetrics", [&] {
        const platform::DomDocument& doc = *options.document;
        m = {};
        for (const platform::DomNode item : doc.selectNodes(kItemsQuery))
            if (agendaItemListed(item)) ++m.visibleItemCount;
        MeasuringSlide measuring(*options.presentation);
        m.format = readAgendaFormat(doc);
        m.measureBold = agendaMeasureBold(doc);
        m.measureItalic = agendaMeasureItalic(doc);
        setSizes(m, m.format.baseFontSize);

        host::Slide& slide = measuring.slide();
        AgendaWidths w;
        const double w1 = getMaxWidth(slide, m, doc, "/Varnotel/agenda/items/item[@level='1']/@text");
        const double w2 = getMaxWidth(slide, m, doc, "/Varnotel/agenda/items/item[@level='2']/@text");
        const double indented = w2 + m.boxSize + m.format.boxBarSpacing;
        w.textWidth = indented <= w1 ? w1 : indented;
        if (options.responsible) {
            w.respWidth =
                getMaxWidth(slide, m, doc, "/Varnotel/agenda/items/item[@level='1' or @level='2']/@responsible");
            ++w.columns;
            w.responsible = true;
        }
        if (options.timeSlots) {
            w.timeWidth = getWidth(slide, m, "55:55 \u2013 55:55");
            ++w.columns;
            w.rightColumn = true;
        }
        if (options.pageNumbers) {
            w.pageWidth = getWidth(slide, m, "999");
            ++w.columns;
            w.rightColumn = true;
        }
        fitAgendaMetrics(m, w);
    });
}

// ---- Finding slides -------------------------------------------------------------------------

std::shared_ptr<host::Slide> findSlide(host::Presentation& presentation, const std::string& slideId) {
    std::shared_ptr<host::Slide> found;
    trap("AgendaWizard, findSlide", [&] {
        if (slideId.size() < 36) {
            ignoreErrors([&] { found = presentation.Slides().FindBySlideID(toInteger32(slideId)); });
            // A user's slide that happens to carry the number is never the agenda's.
            if (found && found->Tags().Item(kRoleTag) != kAgendaSlideRole) found.reset();
            return;
        }
        for (const auto& slide : presentation.Slides().all()) {
            if (slide->Tags().Item(kSlideIdTag) == slideId) {
                found = slide;
                return;
            }
        }
    });
    return found;
}

// ---- Drawing rows ---------------------------------------------------------------------------

namespace {

struct RowTexts {
    std::string number, text, responsible, timeSlot, page;
};

struct RowOptions {
    bool numbers = false, responsible = false, timeSlots = false, pageNumbers = false;
};

void applyFillLine(host::Shape& shape, const AgendaFillLine& s, SkippedAgendaColors& skipped) {
    applyAgendaColor(shape.Fill().ForeColor(), s.fillColor, skipped);
    shape.Fill().setVisible(s.fillVisible ? host::msoTrue : host::msoFalse);
    applyAgendaColor(shape.Line().ForeColor(), s.lineColor, skipped);
    shape.Line().setWeight(single(s.lineWeight));
    shape.Line().setVisible(s.lineVisible ? host::msoTrue : host::msoFalse);
}

void applyFontColor(const host::TextRange& range, const AgendaColor& value, SkippedAgendaColors& skipped) {
    applyAgendaColor(range.Font().Color(), value, skipped);
}

host::TextRange appendRun(host::TextRange& all, const std::string& text, const AgendaRun& run) {
    host::TextRange added = all.InsertAfter(text);
    added.Font().setBold(run.fontBold ? host::msoTrue : host::msoFalse);
    added.Font().setItalic(run.fontItalic ? host::msoTrue : host::msoFalse);
    all = all.Parent().TextRange();
    return added;
}

// How many characters the host makes of UTF-8 text; -1 when some byte is out of place (the
// host then reads it as a character of its own, and joined texts could read differently).
int hostCharacters(std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t extra = lead < 0x80             ? 0
                                  : (lead & 0xE0) == 0xC0 ? 1
                                  : (lead & 0xF0) == 0xE0 ? 2
                                  : (lead & 0xF8) == 0xF0 ? 3
                                                          : 4;
        if (extra == 4 || i + extra >= text.size()) return -1;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return -1;
        i += extra + 1;
    }
    return count;
}

struct RowRun {
    std::string text;
    AgendaRun style;
};

// Appends the runs as appendRun would one after the other. Where no run is empty or opens a
// paragraph, one insertion gives the same: each appended character takes the format of the
// one before it, and every run then sets its own bold and italic. (An empty run sets the
// text end's format instead, which appendRun alone does.)
void appendRuns(host::TextRange& all, const std::vector<RowRun>& runs) {
    std::string whole;
    std::vector<int> lengths;
    for (const RowRun& r : runs) {
        const int length = hostCharacters(r.text);
        if (length <= 0 || r.text.find_first_of(std::string_view("\r\0", 2)) != std::string::npos) {
            for (const RowRun& each : runs) appendRun(all, each.text, each.style);
            return;
        }
        whole += r.text;
        lengths.push_back(length);
    }
    host::TextRange added = all.InsertAfter(whole);
    int at = 1;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        host::Font font = added.Characters(at, lengths[k]).Font();
        font.setBold(runs[k].style.fontBold ? host::msoTrue : host::msoFalse);
        font.setItalic(runs[k].style.fontItalic ? host::msoTrue : host::msoFalse);
        at += lengths[k];
    }
    all = all.Parent().TextRange();
}

// The bar's runs after the number (if any): item text, then a tab and each shown column's text.
void appendColumns(host::TextRange& all, std::vector<RowRun> runs, const RowTexts& t, const RowOptions& o,
                   const AgendaRowStyle::Bar& bar) {
    runs.push_back({t.text, bar.text});
    if (o.responsible) runs.push_back({"\t" + t.responsible, bar.responsible});
    if (o.timeSlots) runs.push_back({"\t" + t.timeSlot, bar.timeSlot});
    if (o.pageNumbers) runs.push_back({"\t" + t.page, bar.pageNo});
    appendRuns(all, runs);
}

void tagContent(host::Shape& shape) { shape.Tags().Add(kContentTag, "/" + shape.TextFrame().TextRange().Text()); }

// The row styles of one run, each kind read from the document at its first use: a run draws
// items x items rows over a handful of kinds. A kind whose reading fails is read (and fails)
// again at each use, as every row meets its own failure.
class RowStyles {
public:
    explicit RowStyles(const platform::DomDocument& doc) : doc_(doc) {}
    const std::optional<AgendaRowStyle>& get(int level, bool selected, bool isBreak) {
        const auto key = std::make_tuple(level, selected, isBreak);
        auto found = styles_.find(key);
        if (found == styles_.end())
            found = styles_.emplace(key, readAgendaRowStyle(doc_, level, selected, isBreak)).first;
        return found->second;
    }

private:
    const platform::DomDocument& doc_;
    std::map<std::tuple<int, bool, bool>, std::optional<AgendaRowStyle>> styles_;
};

// Only a run's first failed row is reported: a fault of the style (a missing row style, a
// tab position out of range) fails every row of every slide alike, and the user would meet
// one report per row. The rows go on being drawn as far as they can.
class RowFailures {
public:
    template <class F>
    void trapRow(F&& body) noexcept {
        try {
            body();
        } catch (...) {
            if (reported_) return;
            reported_ = true;
            const ErrorInfo info = currentError();
            reportError("AgendaWizard, addAgendaItem", &info);
        }
    }

private:
    bool reported_ = false;
};

void addAgendaItem(const AgendaMetrics& m, RowStyles& styles, const RowOptions& o, host::Slide& slide, int level,
                   int selected, int isBreak, int position, const RowTexts& t, SkippedAgendaColors& skipped,
                   RowFailures& failures) {
    failures.trapRow([&] {
        const AgendaFormat& f = m.format;
        const float rowTop = single(f.top + m.goldenOffset + (position - 1) * (m.boxSize + m.rowGap));
        const std::optional<AgendaRowStyle>& style = styles.get(level, selected != 0, isBreak != 0);
        if (!style) raiseObjectNotSet("style");
        host::Shapes& shapes = slide.Shapes();
        const float fontSize = single(m.fontSize);

        if (f.barOnly != 0) {
            auto bar =
                shapes.AddShape(host::msoShapeRectangle, single(f.left), rowTop, single(f.width), single(m.boxSize));
            const double lw = style->bar.lineWeight;
            bar->Tags().Add(kRoleTag, "bar");
            applyFillLine(*bar, style->bar, skipped);
            host::TextFrame frame = bar->TextFrame();
            host::TextRange all = frame.TextRange();
            std::vector<RowRun> runs;
            if (!t.number.empty()) {
                const bool dotted = t.number.find('.') != std::string::npos;
                runs.push_back(
                    {t.number + (dotted ? "\t" : ".\t"), AgendaRun{style->box.fontBold, style->box.fontItalic}});
            }
            appendColumns(all, std::move(runs), t, o, style->bar);
            frame.setMarginTop(0);
            frame.setMarginBottom(0);
            frame.setMarginRight(single(m.textInset));
            frame.setVerticalAnchor(host::msoAnchorMiddle);
            all.ParagraphFormat().setAlignment(host::ppAlignLeft);
            all.Font().setSize(fontSize);
            applyFontColor(all, style->bar.fontColor, skipped);
            frame.setAutoSize(host::ppAutoSizeNone);
            removeTabs(*bar);
            if (!t.number.empty() || (o.numbers && isBreak != 0)) {
                frame.setMarginLeft(single(std::max(0.0, (level - 1) * m.boxSize + m.textInset - lw / 2)));
                all.ParagraphFormat().Bullet().setVisible(host::msoFalse);
                frame.Ruler().TabStops().Add(host::ppTabStopLeft, single(level == 1 ? m.boxSize : m.boxSize * 4 / 3));
            } else {
                frame.setMarginLeft(single(std::max(0.0, (level - 1) * m.fontSize + m.textInset - lw / 2)));
                all.ParagraphFormat().Bullet().setVisible(host::msoTrue);
                all.setIndentLevel(2);
                beautifyIndentStaircase(frame);
            }
            const double left = frame.MarginLeft();
            if (m.textColumnWidth > 0)
                frame.Ruler().TabStops().Add(host::ppTabStopLeft,
                                             single(std::max(0.0, m.textColumnWidth - left + m.textInset - lw / 2)));
            if (m.hasRightColumn != 0)
                frame.Ruler().TabStops().Add(host::ppTabStopRight,
                                             single(std::max(0.0, bar->Width() - left - frame.MarginRight() - lw / 2)));
            tagContent(*bar);
            saveShapeProperties(*bar);
            return;
        }

        const double step = m.boxSize + f.boxBarSpacing;
        auto box = shapes.AddShape(host::msoShapeRectangle, single(f.left + (level - 1) * step), rowTop,
                                   single(m.boxSize), single(m.boxSize));
        auto bar = shapes.AddShape(host::msoShapeRectangle, single(f.left + level * step), rowTop,
                                   single(std::max(0.0, f.width - level * step)), single(m.boxSize));
        box->Tags().Add(kRoleTag, "box");
        applyFillLine(*box, style->box, skipped);
        host::TextFrame boxFrame = box->TextFrame();
        boxFrame.setMarginLeft(0);
        boxFrame.setMarginRight(0);
        boxFrame.setMarginTop(0);
        boxFrame.setMarginBottom(0);
        boxFrame.setVerticalAnchor(host::msoAnchorMiddle);
        host::TextRange number = boxFrame.TextRange();
        number.setText(t.number);
        number.ParagraphFormat().setAlignment(host::ppAlignCenter);
        number.ParagraphFormat().Bullet().setVisible(host::msoFalse);
        number.Font().setBold(style->box.fontBold ? host::msoTrue : host::msoFalse);
        number.Font().setItalic(style->box.fontItalic ? host::msoTrue : host::msoFalse);
        number.Font().setSize(fontSize);
        applyFontColor(number, style->box.fontColor, skipped);

        bar->Tags().Add(kRoleTag, "bar");
        applyFillLine(*bar, style->bar, skipped);
        host::TextFrame frame = bar->TextFrame();
        host::TextRange all = frame.TextRange();
        appendColumns(all, {}, t, o, style->bar);
        frame.setMarginLeft(single(m.textInset));
        frame.setMarginRight(single(m.textInset));
        frame.setMarginTop(0);
        frame.setMarginBottom(0);
        frame.setVerticalAnchor(host::msoAnchorMiddle);
        all.ParagraphFormat().setAlignment(host::ppAlignLeft);
        all.ParagraphFormat().Bullet().setVisible(host::msoFalse);
        all.Font().setSize(fontSize);
        applyFontColor(all, style->bar.fontColor, skipped);
        frame.setAutoSize(host::ppAutoSizeNone);
        removeTabs(*bar);
        if (m.textColumnWidth > 0)
            frame.Ruler().TabStops().Add(host::ppTabStopLeft,
                                         single(std::max(0.0, m.textColumnWidth - (level - 1) * step)));
        if (m.hasRightColumn != 0)
            frame.Ruler().TabStops().Add(
                host::ppTabStopRight,
                single(std::max(0.0, static_cast<double>(bar->Width() - frame.MarginLeft() - frame.MarginRight()))));
        tagContent(*box);
        tagContent(*bar);
        saveShapeProperties(*box);
        saveShapeProperties(*bar);
    });
}

// The time text of an item that ends at `end` minutes: "hh:mm – hh:mm", empty without a duration.
std::string timeText(std::int64_t end, std::int64_t duration) {
    if (duration <= 0) return {};
    return clockText(end - duration) + " \u2013 " + clockText(end);
}

bool generatedRole(const std::string& role) {
    return role == "box" || role == "bar" || role == "subtitle" || role == "title";
}

void drawTitle(host::Slide& slide, const std::string& title) {
    ignoreErrors([&] { slide.Shapes().AddTitle(); });
    auto shape = slide.Shapes().Placeholders(1);
    shape->Tags().Add(kRoleTag, "title");
    shape->TextFrame().TextRange().setText(title);
    shape->Tags().Add(kContentTag, "/" + title);
}

void drawSubtitle(host::Slide& slide, const AgendaSubtitleBox& s, const std::string& fontName, const std::string& text,
                  SkippedAgendaColors& skipped) {
    auto shape = slide.Shapes().AddShape(host::msoShapeRectangle, single(s.left), single(s.top), single(s.width),
                                         single(s.height));
    shape->Tags().Add(kRoleTag, "subtitle");
    applyFillLine(*shape, s, skipped);
    host::TextFrame frame = shape->TextFrame();
    frame.setAutoSize(host::ppAutoSizeNone);
    host::TextRange range = frame.TextRange();
    range.setText(text);
    shape->Tags().Add(kContentTag, "/" + text);
    range.ParagraphFormat().setAlignment(s.align);
    range.ParagraphFormat().Bullet().setVisible(host::msoFalse);
    if (!fontName.empty()) range.Font().setName(fontName);
    applyFontColor(range, s.fontColor, skipped);
    // A box without a font size (a received agenda's bare subtitle) keeps the host's.
    if (s.fontSize >= 1) range.Font().setSize(single(s.fontSize));
    range.Font().setBold(s.fontBold ? host::msoTrue : host::msoFalse);
    range.Font().setItalic(s.fontItalic ? host::msoTrue : host::msoFalse);
    frame.setMarginLeft(0);
    frame.setMarginRight(0);
    frame.setMarginTop(0);
    frame.setMarginBottom(0);
}

void repaintStatus(const AgendaSlideOptions& o, const std::string& caption, bool advance) {
    if (o.progress) o.progress(caption, advance);
}

}  // namespace

// ---- Generating -----------------------------------------------------------------------------

void createAgendaSlides(AgendaSlideOptions& o, const AgendaMetrics& m) {
    platform::DomDocument& doc = *o.document;
    host::Presentation& pres = *o.presentation;
    const RowOptions options{o.itemNumbers, o.responsible, o.timeSlots, o.pageNumbers};

    // Every slide is created or deleted before any row is drawn, so page numbers are final.
    struct Target {
        platform::DomNode item;
        std::shared_ptr<host::Slide> slide;  // nothing: the item has no slide
        bool shown = false;
    };
    std::vector<Target> targets;
    int newSlides = 0;
    // Until the first slide is drawn a failure is this procedure's own: it is reported and
    // the caller stores the agenda for the slides that exist. Later ones pass to the caller.
    const bool prepared = trap("AgendaWizard, createAgendaSlides", [&] {
        for (platform::DomNode item : doc.selectNodes(kItemsQuery)) {
            Target target{item, findSlide(pres, agendaAttribute(item, "slideID")), agendaItemListed(item)};
            // An item the agenda does not list (hidden, or of a level the dialog only counts
            // for the times) has no slide either.
            if (agendaAttribute(item, "generateAgendaSlide") != "1" || !agendaItemLevelShown(item)) {
                if (target.slide) {
                    target.slide->Delete();
                    item.setAttribute("slideID", getGUID());
                }
                target.slide.reset();
            } else if (target.slide) {
                host::Shapes& shapes = target.slide->Shapes();
                for (int k = shapes.Count(); k >= 1; --k) {
                    auto shape = shapes.Item(k);
                    if (generatedRole(shape->Tags().Item(kRoleTag))) shape->Delete();
                }
            } else {
                target.slide = pres.Slides().Add(pres.Slides().Count() + 1, m.format.slideLayout);
                ++newSlides;
                const std::string id = getGUID();
                if (id.empty()) raiseError(errOutOfMemory, "No new identifier could be made.");
                target.slide->Tags().Add(kSlideIdTag, id);
                target.slide->Tags().Add(kRoleTag, kAgendaSlideRole);
                item.setAttribute("slideID", id);
            }
            targets.push_back(std::move(target));
        }

        repaintStatus(o, "Deleting obsolete agenda slides...", false);
        const std::string& obsolete = o.obsoleteSlides;
        if (!obsolete.empty()) {
            std::set<std::string> ids;
            std::size_t from = 0;
            for (std::size_t end; (end = obsolete.find(';', from)) != std::string::npos; from = end + 1)
                ids.insert(obsolete.substr(from, end - from));
            if (from < obsolete.size()) ids.insert(obsolete.substr(from));
            const auto slides = pres.Slides().all();
            for (auto it = slides.rbegin(); it != slides.rend(); ++it) {
                const std::string id = (*it)->Tags().Item(kSlideIdTag);
                if (!id.empty() && ids.count(id)) (*it)->Delete();
            }
        }
        o.obsoleteSlides.clear();
    });
    if (!prepared) return;

    // What every row shows is the same on every slide: read once.
    struct Row {
        int level = 1, isBreak = 0;
        RowTexts texts;
    };
    std::vector<Row> rows;
    {
        AgendaNumbering numbering(m.format.enumerate2ndLevel, m.format.enumerateBreak == 1);
        std::int64_t t = toInteger16(agendaAttribute(agendaElement(doc), "startTime"));
        for (const Target& target : targets) {
            const platform::DomNode& item = target.item;
            const int level = toInteger16(agendaAttribute(item, "level"));
            const int isBreak = toInteger16(agendaAttribute(item, "break"));
            const int duration = toInteger16(agendaAttribute(item, "duration"));
            t += duration;
            if (!target.shown) continue;
            Row row;
            row.level = level;
            row.isBreak = isBreak;
            const std::string number = numbering.next(level, isBreak != 0);
            row.texts.number = options.numbers ? number : std::string();
            row.texts.text = agendaAttribute(item, "text");
            row.texts.responsible = agendaAttribute(item, "responsible");
            row.texts.timeSlot = timeText(t, duration);
            if (options.pageNumbers && target.slide && target.slide->Parent())
                row.texts.page = std::to_string(target.slide->SlideIndex());
            rows.push_back(std::move(row));
        }
    }

    const std::optional<AgendaSubtitleBox> subtitle = readAgendaSubtitle(doc);
    RowStyles styles(doc);
    SkippedAgendaColors skipped;
    RowFailures failures;
    int i = 0;
    for (const Target& target : targets) {
        if (target.shown) {
            ++i;
            repaintStatus(
                o, "Processing item " + std::to_string(i) + " of " + std::to_string(m.visibleItemCount) + "...", false);
        }
        if (target.slide) {
            host::Slide& slide = *target.slide;
            drawTitle(slide, o.title);
            if (subtitle) drawSubtitle(slide, *subtitle, m.format.fontName, o.subtitle, skipped);
            int position = 0;
            for (const Row& row : rows) {
                ++position;
                addAgendaItem(m, styles, options, slide, row.level, position == i && target.shown ? 1 : 0, row.isBreak,
                              position, row.texts, skipped, failures);
            }
            // Generated shapes go behind the user's own, which stay in front.
            const auto shapes = slide.Shapes().all();
            for (const auto& shape : shapes) {
                const std::string role = shape->Tags().Item(kRoleTag);
                if (role == "box" || role == "bar" || role == "subtitle") shape->ZOrder(host::msoSendToBack);
            }
        }
        if (target.shown) repaintStatus(o, "", true);
    }
    skipped.report();

    std::string order;
    if (options.pageNumbers)
        for (const auto& slide : pres.Slides().all()) order += std::to_string(slide->SlideID()) + ";";
    if (order.empty()) pres.Tags().Delete(kSlideOrderTag);
    else pres.Tags().Add(kSlideOrderTag, order);
    repaintStatus(o, "", true);

    if (newSlides == 1)
        platform::MsgBox(
            "A new agenda slide has been inserted at the end of the presentation.\r\n"
            "Please move it to the appropriate position within the presentation.",
            platform::vbInformation, kProductName);
    else if (newSlides > 1)
        platform::MsgBox(
            "New agenda slides have been inserted at the end of the presentation.\r\n"
            "Please move them to the appropriate positions within the presentation.",
            platform::vbInformation, kProductName);
}

// ---- Upkeep ---------------------------------------------------------------------------------

void removeTabs(host::Shape& shape) {
    trap("AgendaWizard, removeTabs", [&] {
        host::TabStops stops = shape.TextFrame().Ruler().TabStops();
        const int count = stops.Count();
        for (int k = 0; k < count; ++k) stops.Item(1).Clear();
    });
}

namespace {

// Appends the number as invariantNumber writes it.
void appendInvariantNumber(std::string& out, float value) {
    // As "%.7G" writes it (to_chars's general form is printf's, with small letters); every
    // drawn row writes four of these.
    char buffer[32];
    // Whole points below ten million, the usual case, are written as whole numbers there too.
    const bool whole = std::fabs(value) < 1e7f && value == std::trunc(value);
    const auto written = whole ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<long>(value))
                               : std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                               std::chars_format::general, 7);
    std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    if (text == "-0") text = "0";
    if (text[0] != '-') out += ' ';
    for (char c : text) out += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string invariantNumber(float value) {
    std::string text;
    appendInvariantNumber(text, value);
    return text;
}

std::string shapePropertiesText(const host::Shape& shape) {
    std::string text;
    text.reserve(48);
    appendInvariantNumber(text, shape.Left());
    text += '/';
    appendInvariantNumber(text, shape.Top());
    text += '/';
    appendInvariantNumber(text, shape.Width());
    text += '/';
    appendInvariantNumber(text, shape.Height());
    return text;
}

void saveShapeProperties(host::Shape& shape) {
    trap("AgendaWizard, saveShapeProperties", [&] { shape.Tags().Add(kPropertiesTag, shapePropertiesText(shape)); });
}

bool checkShapeProperties(host::Shape& shape) {
    bool same = true;
    trap("AgendaWizard, checkShapeProperties", [&] {
        std::string stored = shape.Tags().Item(kPropertiesTag);
        if (stored.empty()) return;
        // A tag written where the decimal separator is a comma reads the same.
        std::replace(stored.begin(), stored.end(), ',', '.');
        same = stored == shapePropertiesText(shape);
    });
    return same;
}

int checkForManualChanges(host::Presentation& presentation) {
    int result = 0;
    trap("AgendaWizard, checkForManualChanges", [&] {
        bool content = false, position = false;
        for (const auto& slide : presentation.Slides().all()) {
            if (slide->Tags().Item(kRoleTag) != kAgendaSlideRole) continue;
            for (const auto& shape : slide->Shapes().all()) {
                if (shape->Tags().Item(kRoleTag).empty()) continue;
                const std::string tag = shape->Tags().Item(kContentTag);
                if (tag.empty()) continue;
                if (shape->HasTextFrame() != host::msoFalse && "/" + shape->TextFrame().TextRange().Text() != tag)
                    content = true;
                if (!checkShapeProperties(*shape)) position = true;
                if (content && position) {
                    result = 3;
                    return;
                }
            }
        }
        result = content ? 1 : position ? 2 : 0;
    });
    return result;
}

}  // namespace plorin
