// Text in shapes: a shape's text frame (auto-size, word wrap, margins, ruler) and ranges of
// its characters with their paragraphs, indent levels, font sizes and languages; on hosts
// 12.0 and later also the second-generation frame and range over the same paragraphs.
// Frames and ranges are handles; the text lives in the shape, as one paragraph model.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/host.h"

namespace host {

enum PpAutoSize : int { ppAutoSizeMixed = -2, ppAutoSizeNone = 0, ppAutoSizeShapeToFitText = 1 };
enum PpParagraphAlignment : int { ppAlignLeft = 1, ppAlignCenter = 2, ppAlignRight = 3, ppAlignJustify = 4 };
enum MsoVerticalAnchor : int {
    msoAnchorTop = 1,
    msoAnchorTopBaseline = 2,
    msoAnchorMiddle = 3,
    msoAnchorBottom = 4,
    msoAnchorBottomBaseLine = 5
};
enum PpTabStopType : int { ppTabStopLeft = 1, ppTabStopCenter = 2, ppTabStopRight = 3, ppTabStopDecimal = 4 };

// The presentation's default font for new shapes.
constexpr const char* kDefaultFontName = "Arial";

// Measures the width in points of one line of text in a font. The stand-in measures with
// cairo; a font that is not installed is replaced by fontconfig's choice for its name (its
// default sans-serif face). Tests install a measurer of their own (an empty one restores
// cairo's).
using TextMeasurer =
    std::function<double(const std::string& utf8, const std::string& fontName, double size, bool bold, bool italic)>;
void setTextMeasurer(TextMeasurer measurer);
double measureText(const std::string& utf8, const std::string& fontName, double size, bool bold, bool italic);

// ---- The model (internal to the stand-in) ------------------------------------------------

// A character's font name. Each name is kept once for the whole process, so that a format
// is copied and compared without touching text: a long text has a format per character.
class FontName {
public:
    FontName();                                                  // kDefaultFontName
    FontName(const std::string& name);                           // NOLINT: a name reads as one
    FontName(const char* name) : FontName(std::string(name)) {}  // NOLINT
    const std::string& str() const { return *name_; }
    operator const std::string&() const { return *name_; }  // NOLINT
    const char* c_str() const { return name_->c_str(); }
    bool empty() const { return name_->empty(); }
    bool operator==(const FontName& other) const { return name_ == other.name_; }

private:
    const std::string* name_;
};

// The formatting of one character.
struct CharFormat {
    float size = 18;        // points
    int languageId = 1033;  // a Windows language id
    FontName fontName;
    bool bold = false, italic = false;
    std::uint32_t color = 0;  // RGB 0x00BBGGRR
    int schemeColor = 0;      // the colour-scheme index the colour was set from; 0 none
    bool operator==(const CharFormat&) const = default;
};

// The formats of a paragraph's characters, one per character, kept as runs of equal ones:
// a paragraph has a few runs however long it is. No run is empty and neighbours differ.
class CharFormats {
public:
    std::size_t size() const { return runs_.empty() ? 0 : runs_.back().end; }
    // The format of character i (i < size()); the reference lasts until the next change.
    const CharFormat& operator[](std::size_t i) const { return runs_[runAt(i)].format; }
    // Inserts `count` characters of format f before character `at` (at <= size()).
    void insert(std::size_t at, std::size_t count, const CharFormat& f);
    void append(std::size_t count, const CharFormat& f) { insert(size(), count, f); }
    // Calls change(CharFormat&) once for each run of the characters [from, to), the runs cut
    // at both ends first, so that only those characters change.
    template <class F>
    void change(std::size_t from, std::size_t to, F&& change) {
        if (from >= to) return;
        const std::size_t first = split(from), last = split(to);
        for (std::size_t k = first; k < last; ++k) change(runs_[k].format);
        merge();
    }
    // Calls visit(const CharFormat&) once for each run holding characters of [from, to).
    template <class F>
    void visit(std::size_t from, std::size_t to, F&& visit) const {
        for (std::size_t k = from < to ? runAt(from) : runs_.size(); k < runs_.size(); ++k) {
            visit(runs_[k].format);
            if (runs_[k].end >= to) break;
        }
    }

private:
    struct Run {
        std::size_t end;  // one past its last character
        CharFormat format;
    };
    std::size_t runAt(std::size_t i) const;  // the run holding character i
    std::size_t split(std::size_t at);       // a run now starts at `at`; its index (size: past the end)
    void merge();                            // joins equal neighbours
    std::vector<Run> runs_;
};

// One paragraph. Its characters leave out the paragraph mark ("\r"); a line break inside
// the paragraph is a character of its own, VT ("\v").
struct Paragraph {
    std::u32string chars;
    CharFormats formats;  // one per character
    CharFormat mark;      // the mark's (for the last paragraph: the text end's)
    int indentLevel = 1;
    int alignment = ppAlignLeft;
    bool bullet = false;
};

struct TabStopValues {
    int type = ppTabStopLeft;
    float position = 0;  // points from the frame's inner left edge
    bool operator==(const TabStopValues&) const = default;
};

struct RulerLevelValues {
    float firstMargin = 0;  // points from the frame's inner left edge
    float leftMargin = 0;
};

// What a shape holds of text. Every reader and writer (TextRange, TextRange2, the file, the
// clipboard, the renderer) works on this one model. Positions are 0-based here and count
// characters, the marks between paragraphs included.
struct TextBody {
    static constexpr int kRulerLevels = 9;  // what is kept; hosts before 12.0 show 5

    int autoSize = ppAutoSizeNone;
    int wordWrap = msoTrue;
    float marginLeft = 7.2f, marginTop = 3.6f, marginRight = 7.2f, marginBottom = 3.6f;
    std::array<RulerLevelValues, kRulerLevels> ruler;  // each level half an inch further in
    std::vector<TabStopValues> tabStops;               // in the order they were added
    int verticalAnchor = msoAnchorTop;

    TextBody();
    // The paragraphs, never none.
    const std::vector<Paragraph>& paragraphs() const { return paragraphs_; }
    int paragraphCount() const { return static_cast<int>(paragraphs_.size()); }
    const Paragraph& paragraph(int index) const { return paragraphs_[static_cast<std::size_t>(index)]; }
    // A paragraph whose formats or level are to change; its characters change only through
    // replace, which keeps the positions up to date.
    Paragraph& paragraph(int index) { return paragraphs_[static_cast<std::size_t>(index)]; }
    // Replaces every paragraph; an empty list leaves one empty paragraph.
    void setParagraphs(std::vector<Paragraph> paragraphs);

    std::string text() const;  // UTF-8, the paragraphs joined by "\r"
    int characterCount() const { return characters_; }
    // The paragraph holding position pos (its mark included); past the end: the last one.
    int paragraphAt(int pos) const;
    // The position of its first character.
    int paragraphStart(int index) const { return starts_[static_cast<std::size_t>(index)]; }
    // Replaces `count` characters from pos by UTF-8 text (0 <= pos, pos + count <= count of
    // characters). New characters take the format of the first replaced one, or when only
    // inserting, of the character before them in their paragraph (else the one after);
    // paragraphs they open take the indent level of the paragraph they were typed into.
    void replace(int pos, int count, const std::string& utf8);
    // The indices of the first and last paragraph touched by [pos, pos + count); an empty
    // span touches the paragraph it stands in.
    std::pair<int, int> paragraphsTouched(int pos, int count) const {
        const int first = paragraphAt(pos);
        return {first, count > 0 ? paragraphAt(pos + count - 1) : first};
    }

private:
    // Where each paragraph starts and how many characters there are, kept with the
    // paragraphs so that a long text reaches any paragraph without counting.
    void index();
    std::vector<Paragraph> paragraphs_ = std::vector<Paragraph>(1);
    std::vector<int> starts_ = {0};
    int characters_ = 0;
    // The paragraph paragraphAt found last (the host's objects live on one thread).
    mutable int lastFound_ = 0;
};

// UTF-8 and code points; a malformed byte reads as U+FFFD.
std::u32string decodeUtf8(const std::string& text);
std::string encodeUtf8(const std::u32string& text);

// ---- Ranges ---------------------------------------------------------------------------------

// A value that differs across a range reads as this.
constexpr int kMixed = msoTriStateMixed;

template <class Range>
class TextParagraphs;
class TextWords;
class Font;
class TextFrame2;
class ParagraphFormat2;
class ParagraphFormat;
class FontColor;
class BulletFormat;

// Characters of one shape's text. Positions count characters (not bytes) from 1 at the
// start of the frame; the marks between paragraphs count too. A range whose text has since
// become shorter reads as the part that is still there. Setters throw HostError(E_FAIL)
// once the shape has been deleted and for values out of range; they mark the presentation
// unsaved.
class TextRange {
public:
    std::string Text() const;  // the characters still in the text
    // Replaces the range's characters; the range then covers the new text.
    void setText(const std::string& text);
    int Start() const { return start_; }
    int Length() const;
    // Characters of this range, `start` counted from its first; clamped into the range.
    TextRange Characters(int start, int length) const;
    // The paragraphs the range's characters touch, each whole with its mark; an empty range
    // touches none.
    TextParagraphs<TextRange> Paragraphs() const;
    TextRange Paragraphs(int index) const;  // 1-based; HostError(E_FAIL) outside 1..Count
    // The words of the range by the host's split (docs/host-behaviour.md): each run of
    // characters other than blanks and breaks, with the spaces and tabs that follow it.
    TextWords Words() const;
    // Stand-in: the range's characters without a copy, as pieces pointing into the shape's
    // text (each paragraph's part, and "\r" for a mark between paragraphs), valid during the
    // call only. No word runs over two pieces.
    void readPieces(const std::function<void(std::u32string_view)>& piece) const;
    // The paragraphs' level (kMixed when they differ); an empty range reads and sets the
    // paragraph it stands in. This generation of the object model knows levels 1 to 5.
    int IndentLevel() const;
    void setIndentLevel(int level);
    host::Font Font() const;
    int LanguageID() const;          // kMixed when the characters differ
    void setLanguageID(int id);      // any id above 0
    host::TextFrame Parent() const;  // the frame of the range's shape
    // Appends text right after the range (taking the format of the range's last character)
    // and returns the new characters.
    TextRange InsertAfter(const std::string& text) const;
    host::ParagraphFormat ParagraphFormat() const;
    // The width in points of the range's widest line, each run measured in its own font
    // (measureText); a tab measures as a blank. The frame's margins are not included.
    float BoundWidth() const;

    TextRange(std::shared_ptr<Shape> shape, int start, int length);

private:
    friend class Font;
    friend class FontColor;
    friend class ParagraphFormat;
    friend class BulletFormat;
    friend class TextRange2;
    friend class ParagraphFormat2;
    int from() const;  // the 0-based position of the first character still there
    // The 0-based indices of the first and last paragraph touched; {0, -1} for none.
    std::pair<int, int> paragraphSpan() const;
    void setLevel(int level, int highest, const char* member);
    std::shared_ptr<Shape> shape_;
    int start_;
    int length_;
};

// The characters of a TextRange, as their font sees them.
class Font {
public:
    // The size in points; kMixed when the characters differ; an empty range reads the size
    // of the character it stands before.
    float Size() const;
    void setSize(float points);  // 1 to 4000
    // Name, bold and italic read mixed (the empty text, kMixed) when the characters differ.
    std::string Name() const;
    void setName(const std::string& name);  // not empty
    int Bold() const;                       // msoTrue or msoFalse
    void setBold(int value);
    int Italic() const;
    void setItalic(int value);
    host::FontColor Color() const;

private:
    friend class TextRange;
    explicit Font(TextRange range) : range_(std::move(range)) {}
    int flag(bool CharFormat::*member) const;
    void setFlag(bool CharFormat::*member, int value, const char* name);
    TextRange range_;
};

// The colour of a range's characters: an RGB value or one of the colour scheme's.
class FontColor {
public:
    std::uint32_t RGB() const;       // of the first character
    void setRGB(std::uint32_t rgb);  // 0 to 0xFFFFFF
    int SchemeColor() const;         // 0 when set by RGB
    void setSchemeColor(int index);  // 1 to 8 (schemeColorRGB)

private:
    friend class Font;
    explicit FontColor(TextRange range) : range_(std::move(range)) {}
    TextRange range_;
};

class BulletFormat {
public:
    int Visible() const;  // msoTrue, msoFalse or kMixed
    void setVisible(int value);

private:
    friend class ParagraphFormat;
    explicit BulletFormat(TextRange range) : range_(std::move(range)) {}
    TextRange range_;
};

// The paragraphs a range touches (an empty range: the one it stands in).
class ParagraphFormat {
public:
    int Alignment() const;         // PpParagraphAlignment, or kMixed
    void setAlignment(int value);  // 1 to 7
    host::BulletFormat Bullet() const { return host::BulletFormat(range_); }

private:
    friend class TextRange;
    explicit ParagraphFormat(TextRange range) : range_(std::move(range)) {}
    TextRange range_;
};

// The same characters through the second-generation object model (hosts 12.0 and later):
// nine indent levels.
class TextRange2 {
public:
    std::string Text() const;
    int Start() const { return range_.Start(); }
    int Length() const { return range_.Length(); }
    TextRange2 Characters(int start, int length) const;
    TextParagraphs<TextRange2> Paragraphs() const;
    TextRange2 Paragraphs(int index) const;  // 1-based; HostError(E_FAIL) outside 1..Count
    host::ParagraphFormat2 ParagraphFormat() const;
    host::TextFrame2 Parent() const;

    explicit TextRange2(TextRange range) : range_(std::move(range)) {}

private:
    friend class ParagraphFormat2;
    TextRange range_;
};

class ParagraphFormat2 {
public:
    int IndentLevel() const;         // as TextRange.IndentLevel
    void setIndentLevel(int level);  // 1 to 9

private:
    friend class TextRange2;
    explicit ParagraphFormat2(TextRange range) : range_(std::move(range)) {}
    TextRange range_;
};

// The paragraphs of a range (the host's `range.Paragraphs.Count`).
template <class Range>
class TextParagraphs {
public:
    int Count() const { return count_; }
    Range Item(int index) const { return range_.Paragraphs(index); }

    TextParagraphs(Range range, int count) : range_(std::move(range)), count_(count) {}

private:
    Range range_;
    int count_;
};

// The host's split of characters into words: `word` gets each run of characters other than
// blanks, breaks and marks, with the spaces and tabs that follow it.
template <class F>
void splitWords(std::u32string_view text, F&& word) {
    const auto endsWord = [](char32_t c) {
        return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\v' || c == U'\f' || c == 0 || c == 8;
    };
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        while (i < n && endsWord(text[i])) ++i;
        if (i >= n) break;
        const std::size_t start = i;
        while (i < n && !endsWord(text[i])) ++i;
        while (i < n && (text[i] == U' ' || text[i] == U'\t')) ++i;  // only these stay with the word
        word(text.substr(start, i - start));
    }
}

// The words of a range, split once when asked for.
class TextWords {
public:
    int Count() const { return static_cast<int>(spans_.size()); }
    TextRange Item(int index) const;  // 1-based; HostError(E_FAIL) outside 1..Count
    // Stand-in: the text of word `index`, as Item(index).Text() reads it, without reading
    // the whole text again.
    std::string ItemText(int index) const;

    TextWords(TextRange range, std::u32string text);

private:
    const std::pair<int, int>& span(int index) const;
    TextRange range_;
    std::u32string text_;                     // the range's characters
    std::vector<std::pair<int, int>> spans_;  // offset into text_ and length of each word
};

// ---- Frames ---------------------------------------------------------------------------------

// One level of a frame's ruler: where a paragraph of that level starts its first line and
// its other lines, in points. Values run from 0 to 4000 (HostError(E_FAIL) otherwise).
class RulerLevel {
public:
    float FirstMargin() const;
    void setFirstMargin(float points);
    float LeftMargin() const;
    void setLeftMargin(float points);

    RulerLevel(std::shared_ptr<Shape> shape, int level) : shape_(std::move(shape)), level_(level) {}

private:
    RulerLevelValues& values() const;
    std::shared_ptr<Shape> shape_;
    int level_;
};

// The ruler shows 5 levels on hosts before 12.0, 9 from 12.0 on.
class RulerLevels {
public:
    int Count() const;
    RulerLevel Item(int level) const;  // 1-based; HostError(E_FAIL) outside 1..Count

    explicit RulerLevels(std::shared_ptr<Shape> shape) : shape_(std::move(shape)) {}

private:
    std::shared_ptr<Shape> shape_;
};

// One tab stop of a frame's ruler.
class TabStop {
public:
    int Type() const;
    float Position() const;
    void Clear();  // removes it; the ones after it move up

    TabStop(std::shared_ptr<Shape> shape, int index) : shape_(std::move(shape)), index_(index) {}

private:
    TabStopValues& values() const;
    std::shared_ptr<Shape> shape_;
    int index_;
};

class TabStops {
public:
    int Count() const;
    TabStop Item(int index) const;  // 1-based; HostError(E_FAIL) outside 1..Count
    // type ppTabStopLeft to ppTabStopDecimal, position 0 to 4000 points; a stop at the same
    // position is replaced. The stops are kept in order of position.
    TabStop Add(int type, float position);

    explicit TabStops(std::shared_ptr<Shape> shape) : shape_(std::move(shape)) {}

private:
    std::shared_ptr<Shape> shape_;
};

class Ruler {
public:
    RulerLevels Levels() const { return RulerLevels(shape_); }
    RulerLevel Levels(int level) const { return Levels().Item(level); }
    host::TabStops TabStops() const { return host::TabStops(shape_); }

    explicit Ruler(std::shared_ptr<Shape> shape) : shape_(std::move(shape)) {}

private:
    std::shared_ptr<Shape> shape_;
};

// A frame read from a shape range speaks for all its shapes: a value on which they differ
// reads mixed, a setter sets every shape. Members that need one shape (TextRange, Ruler,
// Parent) throw HostError(E_FAIL) for a frame over several.
class TextFrame {
public:
    // ppAutoSizeNone or ppAutoSizeShapeToFitText; mixed over shapes that differ.
    int AutoSize() const;
    // ppAutoSizeNone or ppAutoSizeShapeToFitText, else HostError(E_FAIL). The stand-in has
    // no text metrics: the shape keeps its size.
    void setAutoSize(int value);
    // msoTrue or msoFalse; mixed over shapes that differ.
    int WordWrap() const;
    // msoTrue (or msoCTrue) or msoFalse, else HostError(E_FAIL).
    void setWordWrap(int value);
    int HasText() const;  // msoTrue when some shape has text; mixed when only some have
    // Inner margins in points; kMixed (-2) over shapes that differ. Setters take finite
    // values of 0 or more.
    float MarginLeft() const;
    float MarginTop() const;
    float MarginRight() const;
    float MarginBottom() const;
    void setMarginLeft(float points);
    void setMarginTop(float points);
    void setMarginRight(float points);
    void setMarginBottom(float points);
    int VerticalAnchor() const;         // MsoVerticalAnchor; mixed over shapes that differ
    void setVerticalAnchor(int value);  // msoAnchorTop to msoAnchorBottomBaseLine
    host::TextRange TextRange() const;  // all the text
    host::Ruler Ruler() const;
    std::shared_ptr<Shape> Parent() const;

    // The shapes must have text frames (the callers check).
    explicit TextFrame(std::vector<std::shared_ptr<Shape>> shapes);
    explicit TextFrame(std::shared_ptr<Shape> shape);

private:
    // A frame is mostly of one shape, kept without a list of its own.
    std::span<const std::shared_ptr<Shape>> shapes() const {
        return several_.empty() ? std::span<const std::shared_ptr<Shape>>(&one_, one_ ? 1 : 0)
                                : std::span<const std::shared_ptr<Shape>>(several_);
    }
    const std::shared_ptr<Shape>& single(const char* member) const;
    float margin(float TextBody::*side) const;
    void setMargin(float TextBody::*side, float points, const char* member);
    std::shared_ptr<Shape> one_;
    std::vector<std::shared_ptr<Shape>> several_;  // when there are several
};

// The second-generation frame of one shape (Shape.TextFrame2).
class TextFrame2 {
public:
    host::TextRange2 TextRange() const;
    std::shared_ptr<Shape> Parent() const { return shape_; }

    explicit TextFrame2(std::shared_ptr<Shape> shape) : shape_(std::move(shape)) {}

private:
    std::shared_ptr<Shape> shape_;
};

// The host's version as a number ("14.0" -> 14); 0 when it is not one.
double hostVersionNumber(const Application& app);

// Internal: fonts for cairo (host/text_measure.cpp). noteFontUse arranges for the font
// caches to be released at exit; selectFont also sets the size in points.
void noteFontUse();
void selectFont(struct _cairo* cr, const std::string& fontName, double size, bool bold, bool italic);

// Internal: the stand-in's own way into what a shape holds of text and tables.
struct ShapeTextAccess {
    // The shape's text, made on first use (a new text box fits itself to its text).
    static TextBody& body(Shape& s);
    static const std::shared_ptr<TextBody>& bodyIfAny(const Shape& s) { return s.text_; }
    static std::shared_ptr<TableBody>& table(Shape& s) { return s.table_; }
    static bool hasTable(const Shape& s) { return s.hasTable_; }
    // The application of the shape's presentation; nullptr outside any.
    static Application* application(const Shape& s);
    static void changed(Shape& s) { s.changed(); }
    static void requireAlive(const Shape& s) { s.requireAlive(); }
};

}  // namespace host
