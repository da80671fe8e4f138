// Ranges of a shape's text: characters, paragraphs, indent levels, fonts and languages, in
// both generations of the object model.
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "host/text.h"
#include "platform/text_files.h"

namespace host {

namespace {

const TextBody& emptyBody() {
    static const TextBody none;
    return none;
}

// A table's shape holds no text of its own: it reads as none.
const TextBody& readBody(const Shape& shape) {
    const auto& body = ShapeTextAccess::bodyIfAny(shape);
    return body ? *body : emptyBody();
}

TextBody& writeBody(Shape& shape, const char* member) {
    ShapeTextAccess::requireAlive(shape);
    if (shape.HasTextFrame() == msoFalse)
        throw HostError(E_FAIL, std::string(member) + " : This type of shape cannot contain any text.");
    return ShapeTextAccess::body(shape);
}

HostError outOfRange(const char* member) {
    return HostError(E_FAIL, std::string(member) + " : The value is out of range.");
}

// Calls f(format) for every character of [pos, pos + count), marks included. An empty span
// reads the character it stands before; it changes only a mark it stands at (an empty
// paragraph's or the text end's), never the next character.
// A reading f may be called once for a run of equal characters instead of for each.
template <class Body, class F>
void forFormats(Body& body, int pos, int count, F&& f) {
    if (count == 0) {
        const int index = body.paragraphAt(pos);
        auto& p = body.paragraph(index);
        const int offset = pos - body.paragraphStart(index);
        if (offset >= static_cast<int>(p.chars.size())) f(p.mark);
        else if constexpr (std::is_const_v<Body>) f(p.formats[static_cast<std::size_t>(offset)]);
        return;
    }
    const auto [first, last] = body.paragraphsTouched(pos, count);
    for (int i = first; i <= last; ++i) {
        auto& p = body.paragraph(i);
        const int start = body.paragraphStart(i);
        const int size = static_cast<int>(p.chars.size());
        const int end = start + size + (i + 1 < body.paragraphCount() ? 1 : 0);  // past its mark
        const int from = std::max(pos, start) - start, to = std::min(pos + count, end) - start;
        const auto chars = [&](int at) { return static_cast<std::size_t>(std::clamp(at, 0, size)); };
        if constexpr (std::is_const_v<Body>) p.formats.visit(chars(from), chars(to), f);
        else p.formats.change(chars(from), chars(to), f);
        if (from <= size && size < to) f(p.mark);
    }
}

// The one value of the visited formats, or `mixed`.
template <class T, class Body, class Get>
T commonFormat(Body& body, int pos, int count, Get&& get, T mixed) {
    bool first = true;
    T value{};
    forFormats(body, pos, count, [&](const CharFormat& f) {
        if (first) value = get(f);
        else if (get(f) != value) value = mixed;
        first = false;
    });
    return value;
}

}  // namespace

// ---- TextRange ------------------------------------------------------------------------------

TextRange::TextRange(std::shared_ptr<Shape> shape, int start, int length)
    : shape_(std::move(shape)), start_(std::max(start, 1)), length_(std::max(length, 0)) {}

int TextRange::Length() const {
    const int count = readBody(*shape_).characterCount();
    return std::clamp(count - (start_ - 1), 0, length_);
}

int TextRange::from() const { return std::min(start_ - 1, readBody(*shape_).characterCount()); }

std::string TextRange::Text() const {
    std::string out;
    readPieces([&](std::u32string_view piece) {
        for (char32_t c : piece) platform::appendUtf8(out, c);
    });
    return out;
}

void TextRange::setText(const std::string& replacement) {
    TextBody& body = writeBody(*shape_, "TextRange.Text");
    start_ = from() + 1;
    body.replace(start_ - 1, Length(), replacement);
    length_ = static_cast<int>(decodeUtf8(replacement).size());
    ShapeTextAccess::changed(*shape_);
}

TextRange TextRange::Characters(int start, int length) const {
    const int available = Length();
    const int first = std::clamp(start, 1, available + 1);
    const int count = std::clamp(length, 0, available + 1 - first);
    return host::TextRange(shape_, start_ + first - 1, count);
}

std::pair<int, int> TextRange::paragraphSpan() const {
    const TextBody& body = readBody(*shape_);
    const int length = Length();
    if (length == 0) return {0, -1};
    return {body.paragraphAt(from()), body.paragraphAt(from() + length - 1)};
}

TextParagraphs<TextRange> TextRange::Paragraphs() const {
    const auto [first, last] = paragraphSpan();
    return TextParagraphs<TextRange>(*this, last - first + 1);
}

TextRange TextRange::Paragraphs(int index) const {
    const auto [first, last] = paragraphSpan();
    if (index < 1 || index > last - first + 1)
        throw HostError(E_FAIL, "TextRange.Paragraphs : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(last - first + 1) + ".");
    const TextBody& body = readBody(*shape_);
    const int p = first + index - 1;
    const bool hasMark = p + 1 < body.paragraphCount();
    const int size = static_cast<int>(body.paragraph(p).chars.size());
    return host::TextRange(shape_, body.paragraphStart(p) + 1, size + (hasMark ? 1 : 0));
}

int TextRange::IndentLevel() const {
    const TextBody& body = readBody(*shape_);
    const auto [first, last] = body.paragraphsTouched(from(), Length());
    int level = body.paragraph(first).indentLevel;
    for (int i = first + 1; i <= last; ++i)
        if (body.paragraph(i).indentLevel != level) level = kMixed;
    return level;
}

void TextRange::setLevel(int level, int highest, const char* member) {
    if (level < 1 || level > highest) throw outOfRange(member);
    TextBody& body = writeBody(*shape_, member);
    const auto [first, last] = body.paragraphsTouched(from(), Length());
    for (int i = first; i <= last; ++i) body.paragraph(i).indentLevel = level;
    ShapeTextAccess::changed(*shape_);
}

void TextRange::setIndentLevel(int level) { setLevel(level, 5, "TextRange.IndentLevel"); }

host::Font TextRange::Font() const { return host::Font(*this); }

// ---- Words ----------------------------------------------------------------------------------

TextWords TextRange::Words() const {
    const std::u32string all = decodeUtf8(readBody(*shape_).text());
    return TextWords(*this, all.substr(static_cast<std::size_t>(from()), static_cast<std::size_t>(Length())));
}

void TextRange::readPieces(const std::function<void(std::u32string_view)>& piece) const {
    const TextBody& body = readBody(*shape_);
    const int from = this->from(), to = from + Length();
    if (from >= to) return;
    for (int p = body.paragraphAt(from); p < body.paragraphCount(); ++p) {
        const int start = body.paragraphStart(p);
        if (start >= to) break;
        const std::u32string& chars = body.paragraph(p).chars;
        const int size = static_cast<int>(chars.size());
        const int first = std::max(from, start) - start, last = std::min(to, start + size) - start;
        if (first < last)
            piece(std::u32string_view(chars).substr(static_cast<std::size_t>(first),
                                                    static_cast<std::size_t>(last - first)));
        if (p + 1 < body.paragraphCount() && start + size >= from && start + size < to) piece(U"\r");
    }
}

TextWords::TextWords(TextRange range, std::u32string text) : range_(std::move(range)), text_(std::move(text)) {
    splitWords(text_, [&](std::u32string_view word) {
        spans_.emplace_back(static_cast<int>(word.data() - text_.data()), static_cast<int>(word.size()));
    });
}

const std::pair<int, int>& TextWords::span(int index) const {
    if (index < 1 || index > Count())
        throw HostError(E_FAIL, "TextRange.Words : Integer out of range. " + std::to_string(index) +
                                    " is not in the valid range of 1 to " + std::to_string(Count()) + ".");
    return spans_[static_cast<std::size_t>(index - 1)];
}

TextRange TextWords::Item(int index) const {
    const auto& [offset, length] = span(index);
    return range_.Characters(offset + 1, length);
}

std::string TextWords::ItemText(int index) const {
    const auto& [offset, length] = span(index);
    return encodeUtf8(text_.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
}

int TextRange::LanguageID() const {
    return commonFormat<int>(
        readBody(*shape_), from(), Length(), [](const CharFormat& f) { return f.languageId; }, kMixed);
}

void TextRange::setLanguageID(int id) {
    if (id <= 0) throw outOfRange("TextRange.LanguageID");
    TextBody& body = writeBody(*shape_, "TextRange.LanguageID");
    forFormats(body, from(), Length(), [&](CharFormat& f) { f.languageId = id; });
    ShapeTextAccess::changed(*shape_);
}

host::TextFrame TextRange::Parent() const { return shape_->TextFrame(); }

// ---- Font -----------------------------------------------------------------------------------

float Font::Size() const {
    return commonFormat<float>(
        readBody(*range_.shape_), range_.from(), range_.Length(), [](const CharFormat& f) { return f.size; },
        static_cast<float>(kMixed));
}

void Font::setSize(float points) {
    if (!std::isfinite(points) || points < 1 || points > 4000) throw outOfRange("Font.Size");
    TextBody& body = writeBody(*range_.shape_, "Font.Size");
    forFormats(body, range_.from(), range_.Length(), [&](CharFormat& f) { f.size = points; });
    ShapeTextAccess::changed(*range_.shape_);
}

// ---- The second generation ------------------------------------------------------------------

std::string TextRange2::Text() const { return range_.Text(); }

TextRange2 TextRange2::Characters(int start, int length) const { return TextRange2(range_.Characters(start, length)); }

TextParagraphs<TextRange2> TextRange2::Paragraphs() const {
    return TextParagraphs<TextRange2>(*this, range_.Paragraphs().Count());
}

TextRange2 TextRange2::Paragraphs(int index) const { return TextRange2(range_.Paragraphs(index)); }

ParagraphFormat2 TextRange2::ParagraphFormat() const { return ParagraphFormat2(range_); }

TextFrame2 TextRange2::Parent() const { return TextFrame2(range_.shape_); }

int ParagraphFormat2::IndentLevel() const { return range_.IndentLevel(); }

void ParagraphFormat2::setIndentLevel(int level) {
    range_.setLevel(level, TextBody::kRulerLevels, "ParagraphFormat2.IndentLevel");
}

}  // namespace host

namespace host {

namespace {

HostError valueOutOfRange(const char* member) {
    return HostError(E_FAIL, std::string(member) + " : The value is out of range.");
}

int triStateValue(int value, const char* member) {
    if (value == msoTrue || value == msoCTrue) return msoTrue;
    if (value == msoFalse) return msoFalse;
    throw valueOutOfRange(member);
}

}  // namespace

// ---- Appending, paragraphs and measuring ----------------------------------------------------

TextRange TextRange::InsertAfter(const std::string& text) const {
    TextBody& body = writeBody(*shape_, "TextRange.InsertAfter");
    const int at = from() + Length();
    body.replace(at, 0, text);
    ShapeTextAccess::changed(*shape_);
    return host::TextRange(shape_, at + 1, static_cast<int>(decodeUtf8(text).size()));
}

host::ParagraphFormat TextRange::ParagraphFormat() const { return host::ParagraphFormat(*this); }

float TextRange::BoundWidth() const {
    const TextBody& body = readBody(*shape_);
    const int first = from();
    const int count = Length();
    double widest = 0;
    double line = 0;
    std::string run;
    const CharFormat* runFormat = nullptr;
    const auto flush = [&] {
        if (runFormat && !run.empty())
            line += measureText(run, runFormat->fontName, runFormat->size, runFormat->bold, runFormat->italic);
        run.clear();
    };
    if (count == 0) return 0;
    const auto [firstParagraph, lastParagraph] = body.paragraphsTouched(first, count);
    for (int i = firstParagraph; i <= lastParagraph; ++i) {
        const Paragraph& p = body.paragraph(i);
        int pos = body.paragraphStart(i);
        for (std::size_t c = 0; c <= p.chars.size(); ++c, ++pos) {
            if (pos < first || pos >= first + count) continue;
            const bool lineEnd = c == p.chars.size() || p.chars[c] == U'\v';
            if (lineEnd) {
                flush();
                widest = std::max(widest, line);
                line = 0;
                runFormat = nullptr;
                continue;
            }
            const CharFormat& f = p.formats[c];
            if (!runFormat || !(f == *runFormat)) {
                flush();
                runFormat = &f;
            }
            run += encodeUtf8(std::u32string(1, p.chars[c] == U'\t' ? U' ' : p.chars[c]));
        }
    }
    flush();
    widest = std::max(widest, line);
    return static_cast<float>(widest);
}

// ---- Font names, styles and colours ---------------------------------------------------------

std::string Font::Name() const {
    return commonFormat<std::string>(
        readBody(*range_.shape_), range_.from(), range_.Length(), [](const CharFormat& f) { return f.fontName.str(); },
        std::string());
}

void Font::setName(const std::string& name) {
    if (name.empty()) throw valueOutOfRange("Font.Name");
    TextBody& body = writeBody(*range_.shape_, "Font.Name");
    const FontName interned(name);
    forFormats(body, range_.from(), range_.Length(), [&](CharFormat& f) { f.fontName = interned; });
    ShapeTextAccess::changed(*range_.shape_);
}

int Font::flag(bool CharFormat::*member) const {
    return commonFormat<int>(
        readBody(*range_.shape_), range_.from(), range_.Length(),
        [member](const CharFormat& f) { return f.*member ? msoTrue : msoFalse; }, kMixed);
}

void Font::setFlag(bool CharFormat::*member, int value, const char* name) {
    const bool on = triStateValue(value, name) == msoTrue;
    TextBody& body = writeBody(*range_.shape_, name);
    forFormats(body, range_.from(), range_.Length(), [&](CharFormat& f) { f.*member = on; });
    ShapeTextAccess::changed(*range_.shape_);
}

int Font::Bold() const { return flag(&CharFormat::bold); }
void Font::setBold(int value) { setFlag(&CharFormat::bold, value, "Font.Bold"); }
int Font::Italic() const { return flag(&CharFormat::italic); }
void Font::setItalic(int value) { setFlag(&CharFormat::italic, value, "Font.Italic"); }

host::FontColor Font::Color() const { return host::FontColor(range_); }

std::uint32_t FontColor::RGB() const {
    std::uint32_t rgb = 0;
    bool first = true;
    forFormats(readBody(*range_.shape_), range_.from(), range_.Length(), [&](const CharFormat& f) {
        if (first) rgb = f.color;
        first = false;
    });
    return rgb;
}

void FontColor::setRGB(std::uint32_t rgb) {
    if (rgb > 0xFFFFFF) throw valueOutOfRange("ColorFormat.RGB");
    TextBody& body = writeBody(*range_.shape_, "ColorFormat.RGB");
    forFormats(body, range_.from(), range_.Length(), [&](CharFormat& f) {
        f.color = rgb;
        f.schemeColor = 0;
    });
    ShapeTextAccess::changed(*range_.shape_);
}

int FontColor::SchemeColor() const {
    return commonFormat<int>(
        readBody(*range_.shape_), range_.from(), range_.Length(), [](const CharFormat& f) { return f.schemeColor; },
        kMixed);
}

void FontColor::setSchemeColor(int index) {
    const std::uint32_t rgb = schemeColorRGB(index);
    TextBody& body = writeBody(*range_.shape_, "ColorFormat.SchemeColor");
    forFormats(body, range_.from(), range_.Length(), [&](CharFormat& f) {
        f.color = rgb;
        f.schemeColor = index;
    });
    ShapeTextAccess::changed(*range_.shape_);
}

// ---- Paragraph format -----------------------------------------------------------------------

namespace {

template <class Get>
int commonParagraph(const TextBody& body, std::pair<int, int> span, Get&& get) {
    int value = get(body.paragraph(span.first));
    for (int i = span.first + 1; i <= span.second; ++i)
        if (get(body.paragraph(i)) != value) value = kMixed;
    return value;
}

}  // namespace

int ParagraphFormat::Alignment() const {
    const TextBody& body = readBody(*range_.shape_);
    return commonParagraph(body, body.paragraphsTouched(range_.from(), range_.Length()),
                           [](const Paragraph& p) { return p.alignment; });
}

void ParagraphFormat::setAlignment(int value) {
    if (value < 1 || value > 7) throw valueOutOfRange("ParagraphFormat.Alignment");
    TextBody& body = writeBody(*range_.shape_, "ParagraphFormat.Alignment");
    const auto [first, last] = body.paragraphsTouched(range_.from(), range_.Length());
    for (int i = first; i <= last; ++i) body.paragraph(i).alignment = value;
    ShapeTextAccess::changed(*range_.shape_);
}

int BulletFormat::Visible() const {
    const TextBody& body = readBody(*range_.shape_);
    return commonParagraph(body, body.paragraphsTouched(range_.from(), range_.Length()),
                           [](const Paragraph& p) { return p.bullet ? msoTrue : msoFalse; });
}

void BulletFormat::setVisible(int value) {
    const bool on = triStateValue(value, "BulletFormat.Visible") == msoTrue;
    TextBody& body = writeBody(*range_.shape_, "BulletFormat.Visible");
    const auto [first, last] = body.paragraphsTouched(range_.from(), range_.Length());
    for (int i = first; i <= last; ++i) body.paragraph(i).bullet = on;
    ShapeTextAccess::changed(*range_.shape_);
}

}  // namespace host
