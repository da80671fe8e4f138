// The paragraph model behind every text range: positions, formats and editing.
#include <algorithm>
#include <mutex>
#include <string_view>
#include <unordered_set>

#include "host/text.h"
#include "platform/text_files.h"

namespace host {

// ---- UTF-8 ------------------------------------------------------------------------------------

std::u32string decodeUtf8(const std::string& text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80             ? 0
                          : (lead & 0xE0) == 0xC0 ? 1
                          : (lead & 0xF0) == 0xE0 ? 2
                          : (lead & 0xF8) == 0xF0 ? 3
                                                  : -1;
        char32_t c = extra == 0 ? lead : extra == 1 ? (lead & 0x1Fu) : extra == 2 ? (lead & 0x0Fu) : (lead & 0x07u);
        bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) ok = false;
            else c = (c << 6) | (next & 0x3Fu);
        }
        if (!ok) {
            out.push_back(U'\uFFFD');
            ++i;
            continue;
        }
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string encodeUtf8(const std::u32string& text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) platform::appendUtf8(out, c);
    return out;
}

// ---- Font names -------------------------------------------------------------------------------

namespace {

// Names are few (the fonts a presentation uses) and live as long as the process.
const std::string* internFontName(const std::string& name) {
    static std::mutex guard;
    static std::unordered_set<std::string> names;
    const std::lock_guard<std::mutex> lock(guard);
    return &*names.insert(name).first;
}

}  // namespace

FontName::FontName() {
    static const std::string* const byDefault = internFontName(kDefaultFontName);
    name_ = byDefault;
}

FontName::FontName(const std::string& name) : name_(internFontName(name)) {}

// ---- Character formats ------------------------------------------------------------------------

std::size_t CharFormats::runAt(std::size_t i) const {
    return static_cast<std::size_t>(
        std::upper_bound(runs_.begin(), runs_.end(), i, [](std::size_t at, const Run& r) { return at < r.end; }) -
        runs_.begin());
}

std::size_t CharFormats::split(std::size_t at) {
    const std::size_t k = runAt(at);
    if (k == runs_.size()) return k;
    const std::size_t start = k == 0 ? 0 : runs_[k - 1].end;
    if (start == at) return k;
    runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(k), Run{at, runs_[k].format});
    return k + 1;
}

void CharFormats::merge() {
    std::size_t kept = 0;
    for (std::size_t k = 0; k < runs_.size(); ++k) {
        if (kept > 0 && runs_[kept - 1].format == runs_[k].format) runs_[kept - 1].end = runs_[k].end;
        else runs_[kept++] = runs_[k];
    }
    runs_.resize(kept);
}

void CharFormats::insert(std::size_t at, std::size_t count, const CharFormat& f) {
    if (count == 0) return;
    std::size_t k = runAt(at);
    const std::size_t start = k == 0 ? 0 : runs_[k - 1].end;
    if (k < runs_.size() && runs_[k].format == f) {
        // Inside (or at the start of) a run of the same format: it grows.
    } else if (k > 0 && start == at && runs_[k - 1].format == f) {
        --k;  // right after a run of the same format
    } else if (k < runs_.size() && start < at) {
        // Inside a run of another format: cut it, the new run between the halves.
        runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(k), {Run{at, runs_[k].format}, Run{at, f}});
        k += 1;
    } else {
        runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(k), Run{at, f});
    }
    for (std::size_t j = k; j < runs_.size(); ++j) runs_[j].end += count;
}

// ---- Positions --------------------------------------------------------------------------------

TextBody::TextBody() {
    for (int i = 0; i < kRulerLevels; ++i) {
        const float inset = 36.0f * static_cast<float>(i);
        ruler[static_cast<std::size_t>(i)] = {inset, inset};
    }
}

void TextBody::setParagraphs(std::vector<Paragraph> paragraphs) {
    paragraphs_ = std::move(paragraphs);
    if (paragraphs_.empty()) paragraphs_.resize(1);
    index();
}

void TextBody::index() {
    starts_.resize(paragraphs_.size());
    int start = 0;
    for (std::size_t i = 0; i < paragraphs_.size(); ++i) {
        starts_[i] = start;
        start += static_cast<int>(paragraphs_[i].chars.size()) + 1;  // its mark
    }
    characters_ = start - 1;  // the last paragraph has no mark
    lastFound_ = 0;
}

std::string TextBody::text() const {
    std::string out;
    out.reserve(static_cast<std::size_t>(characters_));
    for (std::size_t i = 0; i < paragraphs_.size(); ++i) {
        if (i > 0) out += '\r';
        for (char32_t c : paragraphs_[i].chars) platform::appendUtf8(out, c);
    }
    return out;
}

int TextBody::paragraphAt(int pos) const {
    // Walks over the paragraphs ask for the one last found or the next: no search then.
    const auto holds = [&](std::size_t i) {
        return i < starts_.size() && (i == 0 || starts_[i] <= pos) && (i + 1 == starts_.size() || pos < starts_[i + 1]);
    };
    const auto last = static_cast<std::size_t>(lastFound_);
    if (holds(last)) return lastFound_;
    if (holds(last + 1)) return ++lastFound_;
    // The paragraphs after the first whose start is at or before pos.
    lastFound_ = static_cast<int>(std::upper_bound(starts_.begin() + 1, starts_.end(), pos) - (starts_.begin() + 1));
    return lastFound_;
}

// ---- Editing ----------------------------------------------------------------------------------

namespace {

// The text laid out flat: every character, every mark, and the end of the text.
struct Element {
    char32_t c;  // '\r' for a mark between paragraphs, 0 for the end
    CharFormat format;
    int level;  // of the paragraph it belongs to
};

std::vector<Element> flatten(const std::vector<Paragraph>& paragraphs) {
    std::vector<Element> out;
    std::size_t size = 0;
    for (const Paragraph& p : paragraphs) size += p.chars.size() + 1;
    out.reserve(size);
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        const Paragraph& p = paragraphs[i];
        for (std::size_t k = 0; k < p.chars.size(); ++k) out.push_back({p.chars[k], p.formats[k], p.indentLevel});
        out.push_back({i + 1 < paragraphs.size() ? U'\r' : U'\0', p.mark, p.indentLevel});
    }
    return out;
}

// A paragraph takes its level from its first element; characters after the last mark make
// no paragraph.
std::vector<Paragraph> rebuild(const std::vector<Element>& elements) {
    std::vector<Paragraph> out;
    for (std::size_t start = 0; start < elements.size();) {
        std::size_t end = start;
        while (end < elements.size() && elements[end].c != U'\r' && elements[end].c != U'\0') ++end;
        if (end == elements.size()) break;
        Paragraph& p = out.emplace_back();
        p.indentLevel = elements[start].level;
        p.chars.reserve(end - start);
        for (std::size_t k = start; k < end; ++k) {
            p.chars.push_back(elements[k].c);
            p.formats.append(1, elements[k].format);
        }
        p.mark = elements[end].format;
        start = end + 1;
    }
    return out;
}

}  // namespace

void TextBody::replace(int pos, int count, const std::string& utf8) {
    const std::u32string text = decodeUtf8(utf8);
    // Characters typed into one paragraph go straight into it, with what laying the text
    // out flat and building it again (below) gives: the format of the character before
    // (at a paragraph's start, of the one after), and every paragraph's alignment and bullet
    // as new paragraphs have them.
    if (count == 0 && text.find_first_of(std::u32string_view(U"\r\0", 2)) == std::u32string::npos) {
        const int which = paragraphAt(pos);
        Paragraph& p = paragraph(which);
        const auto offset = static_cast<std::size_t>(pos - paragraphStart(which));
        const CharFormat format = offset > 0                ? p.formats[offset - 1]
                                  : offset < p.chars.size() ? p.formats[offset]
                                                            : p.mark;
        p.chars.insert(offset, text);
        p.formats.insert(offset, text.size(), format);
        for (Paragraph& each : paragraphs_) {
            each.alignment = Paragraph{}.alignment;
            each.bullet = Paragraph{}.bullet;
        }
        index();
        return;
    }
    std::vector<Element> elements = flatten(paragraphs_);
    const auto at = static_cast<std::size_t>(pos);
    const bool afterCharacterOfSameParagraph = pos > 0 && elements[at - 1].c != U'\r';
    const CharFormat format =
        count > 0 || !afterCharacterOfSameParagraph ? elements[at].format : elements[at - 1].format;
    const int level = elements[at].level;
    const bool wholeLastParagraph =
        count > 0 && pos <= paragraphStart(paragraphCount() - 1) && pos + count == characterCount();

    elements.erase(elements.begin() + pos, elements.begin() + pos + count);
    elements.insert(elements.begin() + pos, text.size(), Element{U'\0', format, level});
    for (std::size_t k = 0; k < text.size(); ++k) elements[at + k].c = text[k];
    // Replacing the whole of the last paragraph keeps the level it was typed over.
    if (wholeLastParagraph) elements.back().level = level;
    setParagraphs(rebuild(elements));
}

}  // namespace host
