// Reading and writing the stand-in's presentation file. Numbers are written in the C form
// ("." decimal point, shortest text that reads back to the same float) whatever the locale.
#include "host/presentation_file.h"
#include "host/autoshape.h"
#include "host/table.h"
#include "host/text.h"
#include "platform/filesystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <set>
#include <sstream>
#include <vector>

#include <pugixml.hpp>

namespace host {

namespace {

constexpr int kFormatVersion = 1;

// ---- writing ----------------------------------------------------------------------------

template <class T>
void setNumber(pugi::xml_node node, const char* name, T value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;  // 64 characters hold any float or long
    node.append_attribute(name).set_value(std::string(buf, end).c_str());
}

void writeTags(pugi::xml_node parent, const Tags& tags) {
    if (tags.Count() == 0) return;
    auto node = parent.append_child("tags");
    for (const auto& [name, value] : tags.all()) {
        auto tag = node.append_child("tag");
        tag.append_attribute("name").set_value(name.c_str());
        tag.append_attribute("value").set_value(value.c_str());
    }
}

// A character format; what a new shape's text has anyway is left out.
void writeFormat(pugi::xml_node node, const CharFormat& f) {
    setNumber(node, "size", f.size);
    setNumber(node, "language", f.languageId);
    if (f.fontName.str() != kDefaultFontName) node.append_attribute("font").set_value(f.fontName.c_str());
    if (f.bold) setNumber(node, "bold", 1);
    if (f.italic) setNumber(node, "italic", 1);
    if (f.color != 0) setNumber(node, "color", f.color);
    if (f.schemeColor != 0) setNumber(node, "scheme", f.schemeColor);
}

// Text: the frame's settings and ruler, then each paragraph with its level and its mark's
// format, holding runs of characters that share a format. Attributes keep the text exactly:
// line breaks are written as character references.
void writeText(pugi::xml_node parent, const TextBody& body) {
    auto t = parent.append_child("text");
    setNumber(t, "autoSize", body.autoSize);
    setNumber(t, "wordWrap", body.wordWrap);
    setNumber(t, "marginLeft", body.marginLeft);
    setNumber(t, "marginTop", body.marginTop);
    setNumber(t, "marginRight", body.marginRight);
    setNumber(t, "marginBottom", body.marginBottom);
    if (body.verticalAnchor != msoAnchorTop) setNumber(t, "anchor", body.verticalAnchor);
    auto ruler = t.append_child("ruler");
    for (const auto& level : body.ruler) {
        auto l = ruler.append_child("level");
        setNumber(l, "first", level.firstMargin);
        setNumber(l, "left", level.leftMargin);
    }
    for (const auto& stop : body.tabStops) {
        auto tab = ruler.append_child("tab");
        setNumber(tab, "type", stop.type);
        setNumber(tab, "position", stop.position);
    }
    for (const auto& p : body.paragraphs()) {
        auto n = t.append_child("paragraph");
        setNumber(n, "level", p.indentLevel);
        if (p.alignment != ppAlignLeft) setNumber(n, "alignment", p.alignment);
        if (p.bullet) setNumber(n, "bullet", 1);
        writeFormat(n, p.mark);
        for (std::size_t from = 0; from < p.chars.size();) {
            std::size_t to = from + 1;
            while (to < p.chars.size() && p.formats[to] == p.formats[from]) ++to;
            auto run = n.append_child("run");
            writeFormat(run, p.formats[from]);
            run.append_attribute("value").set_value(encodeUtf8(p.chars.substr(from, to - from)).c_str());
            from = to;
        }
    }
}

std::string cannotSave(const std::string& fileName, const std::string& why) {
    return "PowerPoint could not save file " + fileName + " (" + why + ").";
}

// Writes the serialised document straight into an open file as pugixml hands it over, so
// a large presentation is never held a second time as text; keeps the first error.
class FileWriter : public pugi::xml_writer {
public:
    explicit FileWriter(int fd) : fd_(fd) {}
    void write(const void* data, size_t size) override {
        const char* at = static_cast<const char*>(data);
        while (size > 0 && error_ == 0) {
            const ssize_t n = ::write(fd_, at, size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) error_ = errno;
            else {
                at += n;
                size -= static_cast<std::size_t>(n);
            }
        }
    }
    int error() const { return error_; }

private:
    int fd_;
    int error_ = 0;
};

// Replaces fileName by the document all at once: a temporary file next to it, then rename.
// A link in its place stays a link; the file it points to gets the document.
void replaceFile(const std::string& linkOrFile, const pugi::xml_document& doc) {
    const std::string fileName = platform::resolveLinks(linkOrFile);
    std::string temp = fileName + ".tmp.XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw HostError(E_FAIL, cannotSave(linkOrFile, std::strerror(errno)));
    struct stat existing {};
    ::fchmod(fd, ::stat(fileName.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644);

    FileWriter writer(fd);
    doc.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    int error = writer.error();
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), fileName.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        throw HostError(E_FAIL, cannotSave(linkOrFile, std::strerror(error)));
    }
}

// ---- reading ----------------------------------------------------------------------------

// A bad value anywhere makes the whole file unreadable.
struct BadFile {
    std::string why;
};

template <class T>
T number(pugi::xml_node node, const char* name, T fallback, bool required = false) {
    const auto attr = node.attribute(name);
    if (!attr) {
        if (required) throw BadFile{std::string("<") + node.name() + "> lacks " + name};
        return fallback;
    }
    const std::string_view text = attr.value();
    T value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw BadFile{std::string("bad ") + name + " \"" + std::string(text) + "\""};
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value)) throw BadFile{std::string("bad ") + name};
    }
    return value;
}

// Ids stay in the host's range, so the counters after them never overflow.
long idValue(pugi::xml_node node, const char* name) {
    const long id = number<long>(node, name, 0, true);
    if (id < 1 || id > Presentation::kMaxObjectId) throw BadFile{std::string(name) + " out of range"};
    return id;
}

long counterValue(pugi::xml_node node, const char* name, long fallback) {
    const long next = number<long>(node, name, fallback);
    if (next < 1 || next > Presentation::kMaxObjectId + 1) throw BadFile{std::string(name) + " out of range"};
    return next;
}

void readTags(pugi::xml_node parent, Tags& tags) {
    for (auto tag : parent.child("tags").children("tag")) {
        const std::string name = tag.attribute("name").value();
        if (name.empty()) throw BadFile{"a tag without a name"};
        tags.Add(name, tag.attribute("value").value());
    }
}

int flipValue(pugi::xml_node node, const char* name, int fallback = msoFalse) {
    return number<int>(node, name, fallback) == msoFalse ? msoFalse : msoTrue;
}

int blackWhiteValue(pugi::xml_node node, const char* name) {
    const int mode = number<int>(node, name, msoBlackWhiteAutomatic);
    if (mode < msoBlackWhiteAutomatic || mode > msoBlackWhiteDontShow) throw BadFile{std::string("bad ") + name};
    return mode;
}

std::uint32_t colourValue(pugi::xml_node node, const char* name, std::uint32_t fallback) {
    const auto rgb = number<std::uint32_t>(node, name, fallback);
    if (rgb > 0xFFFFFF) throw BadFile{std::string("bad ") + name};
    return rgb;
}

float pointsValue(pugi::xml_node node, const char* name, float fallback, float highest) {
    const float v = number<float>(node, name, fallback);
    if (v < 0 || v > highest) throw BadFile{std::string("bad ") + name};
    return v;
}

CharFormat formatValue(pugi::xml_node node) {
    CharFormat f;
    f.size = number<float>(node, "size", f.size);
    f.languageId = number<int>(node, "language", f.languageId);
    if (auto font = node.attribute("font")) f.fontName = font.value();
    f.bold = number<int>(node, "bold", 0) != 0;
    f.italic = number<int>(node, "italic", 0) != 0;
    f.color = number<std::uint32_t>(node, "color", 0);
    f.schemeColor = number<int>(node, "scheme", 0);
    if (f.size < 1 || f.size > 4000 || f.languageId <= 0 || f.fontName.empty() || f.color > 0xFFFFFF ||
        f.schemeColor < 0 || f.schemeColor > 8)
        throw BadFile{"bad character format"};
    return f;
}

// Files written before paragraphs were kept hold the whole text in one attribute.
std::shared_ptr<TextBody> readText(pugi::xml_node t) {
    auto body = std::make_shared<TextBody>();
    body->autoSize = number<int>(t, "autoSize", ppAutoSizeNone);
    if (body->autoSize != ppAutoSizeNone && body->autoSize != ppAutoSizeShapeToFitText) throw BadFile{"bad autoSize"};
    body->wordWrap = flipValue(t, "wordWrap");
    body->marginLeft = pointsValue(t, "marginLeft", body->marginLeft, 1e6f);
    body->marginTop = pointsValue(t, "marginTop", body->marginTop, 1e6f);
    body->marginRight = pointsValue(t, "marginRight", body->marginRight, 1e6f);
    body->marginBottom = pointsValue(t, "marginBottom", body->marginBottom, 1e6f);
    std::size_t level = 0;
    for (auto l : t.child("ruler").children("level")) {
        if (level >= body->ruler.size()) throw BadFile{"too many ruler levels"};
        body->ruler[level].firstMargin = pointsValue(l, "first", 0, 4000);
        body->ruler[level].leftMargin = pointsValue(l, "left", 0, 4000);
        ++level;
    }
    body->verticalAnchor = number<int>(t, "anchor", msoAnchorTop);
    if (body->verticalAnchor < msoAnchorTop || body->verticalAnchor > msoAnchorBottomBaseLine)
        throw BadFile{"bad anchor"};
    for (auto tab : t.child("ruler").children("tab")) {
        TabStopValues stop{number<int>(tab, "type", ppTabStopLeft), pointsValue(tab, "position", 0, 4000)};
        if (stop.type < ppTabStopLeft || stop.type > ppTabStopDecimal) throw BadFile{"bad tab stop"};
        body->tabStops.push_back(stop);
    }
    if (t.child("paragraph")) {
        std::vector<Paragraph> paragraphs;
        for (auto n : t.children("paragraph")) {
            Paragraph p;
            p.indentLevel = number<int>(n, "level", 1);
            if (p.indentLevel < 1 || p.indentLevel > TextBody::kRulerLevels) throw BadFile{"bad paragraph level"};
            p.mark = formatValue(n);
            p.alignment = number<int>(n, "alignment", ppAlignLeft);
            if (p.alignment < 1 || p.alignment > 7) throw BadFile{"bad alignment"};
            p.bullet = number<int>(n, "bullet", 0) != 0;
            for (auto run : n.children("run")) {
                const std::u32string chars = decodeUtf8(run.attribute("value").value());
                if (chars.find(U'\r') != std::u32string::npos) throw BadFile{"a paragraph mark inside a run"};
                p.chars += chars;
                p.formats.append(chars.size(), formatValue(run));
            }
            paragraphs.push_back(std::move(p));
        }
        body->setParagraphs(std::move(paragraphs));
    } else if (auto value = t.attribute("value")) {
        body->replace(0, 0, value.value());
    }
    return body;
}

}  // namespace

void PresentationFile::writeShape(pugi::xml_node parent, const Shape& shape) {
    auto n = parent.append_child("shape");
    setNumber(n, "id", shape.id_);
    setNumber(n, "type", shape.type_);
    setNumber(n, "autoShapeType", shape.autoShapeType_);
    n.append_attribute("name").set_value(shape.name_.c_str());
    setNumber(n, "left", shape.left_);
    setNumber(n, "top", shape.top_);
    setNumber(n, "width", shape.width_);
    setNumber(n, "height", shape.height_);
    setNumber(n, "rotation", shape.rotation_);
    setNumber(n, "hflip", shape.hflip_);
    setNumber(n, "vflip", shape.vflip_);
    if (shape.hasTable_) setNumber(n, "hasTable", 1);
    if (shape.placeholderType_ != 0) setNumber(n, "placeholder", shape.placeholderType_);
    if (shape.fill_.ForeColor().SchemeColor() != 0) setNumber(n, "fillScheme", shape.fill_.ForeColor().SchemeColor());
    if (shape.line_.ForeColor().SchemeColor() != 0) setNumber(n, "lineScheme", shape.line_.ForeColor().SchemeColor());
    if (shape.visible_ == msoFalse) setNumber(n, "hidden", 1);
    if (shape.blackWhiteMode_ != msoBlackWhiteAutomatic) setNumber(n, "blackWhiteMode", shape.blackWhiteMode_);
    setNumber(n, "fillVisible", shape.fill_.Visible());
    setNumber(n, "fillColor", shape.fill_.ForeColor().RGB());
    setNumber(n, "lineVisible", shape.line_.Visible());
    setNumber(n, "lineColor", shape.line_.ForeColor().RGB());
    setNumber(n, "lineWeight", shape.line_.Weight());
    writeTags(n, shape.tags_);
    // Adjustments only once they have been read or set; nodes as fractions of the frame.
    if (shape.outline_) {
        if (const auto& values = shape.outline_->adjustments)
            for (float v : *values) setNumber(n.append_child("adjustment"), "value", v);
        for (const auto& [fx, fy] : shape.outline_->nodes) {
            auto node = n.append_child("node");
            setNumber(node, "x", fx);
            setNumber(node, "y", fy);
        }
    }
    if (shape.text_) writeText(n, *shape.text_);
    if (shape.table_) {
        auto table = n.append_child("table");
        setNumber(table, "rows", shape.table_->rows);
        setNumber(table, "columns", shape.table_->columns);
        for (std::size_t i = 0; i < shape.table_->cells.size(); ++i) {
            auto cell = table.append_child("cell");
            if (shape.table_->selected[i]) setNumber(cell, "selected", 1);
            if (const auto& text = shape.table_->cells[i]->text_) writeText(cell, *text);
        }
    }
    for (const auto& member : shape.groupItems_)
        if (member->parent_) writeShape(n, *member);
}

void PresentationFile::write(const Presentation& p, const std::string& fileName) {
    pugi::xml_document doc;
    auto root = doc.append_child("presentation");
    setNumber(root, "version", kFormatVersion);
    setNumber(root, "nextSlideId", p.nextSlideId_);
    setNumber(root, "nextShapeId", p.nextShapeId_);
    setNumber(root, "slideWidth", p.slideWidth_);
    setNumber(root, "slideHeight", p.slideHeight_);
    writeTags(root, p.tags_);
    for (std::uint32_t rgb : p.extraColors_.all()) setNumber(root.append_child("extraColor"), "rgb", rgb);
    for (const auto& design : p.designs_.all()) {
        auto d = root.append_child("design");
        d.append_attribute("name").set_value(design->name_.c_str());
        auto master = d.append_child("slideMaster");
        for (const auto& shape : design->slideMaster_->shapes_.all()) writeShape(master, *shape);
        if (design->titleMaster_) {
            auto title = d.append_child("titleMaster");
            for (const auto& shape : design->titleMaster_->shapes_.all()) writeShape(title, *shape);
        }
    }
    for (const auto& slide : p.slides_.all()) {
        auto s = root.append_child("slide");
        setNumber(s, "id", slide->id_);
        setNumber(s, "layout", slide->layout_);
        if (slide->backgroundBlackWhiteMode_ != msoBlackWhiteAutomatic)
            setNumber(s, "backgroundBlackWhiteMode", slide->backgroundBlackWhiteMode_);
        writeTags(s, slide->tags_);
        for (const auto& shape : slide->shapes_.all()) writeShape(s, *shape);
        if (slide->notesPage_) {
            auto notes = s.append_child("notes");
            for (const auto& shape : slide->notesPage_->shapes_.all()) writeShape(notes, *shape);
        }
    }
    replaceFile(fileName, doc);
}

std::shared_ptr<Shape> PresentationFile::readShape(pugi::xml_node n, Slide* slide, std::set<long>& shapeIds,
                                                   long& maxShapeId, int nesting) {
    if (nesting > Shape::kMaxGroupNesting) throw BadFile{"groups nested too deep"};
    const long shapeId = idValue(n, "id");
    if (!shapeIds.insert(shapeId).second) throw BadFile{"shape id " + std::to_string(shapeId) + " twice"};
    maxShapeId = std::max(maxShapeId, shapeId);
    auto shape = std::make_shared<Shape>(slide, shapeId, number<int>(n, "type", msoAutoShape),
                                         number<int>(n, "autoShapeType", msoShapeRectangle),
                                         number<float>(n, "left", 0), number<float>(n, "top", 0),
                                         number<float>(n, "width", 0), number<float>(n, "height", 0));
    if (auto name = n.attribute("name")) shape->name_ = name.value();
    const float rotation = number<float>(n, "rotation", 0);
    if (rotation < 0 || rotation >= 360) throw BadFile{"rotation out of range"};
    shape->rotation_ = rotation;
    shape->hflip_ = flipValue(n, "hflip");
    shape->vflip_ = flipValue(n, "vflip");
    shape->hasTable_ = number<int>(n, "hasTable", 0) != 0;
    shape->visible_ = number<int>(n, "hidden", 0) != 0 ? msoFalse : msoTrue;
    shape->blackWhiteMode_ = blackWhiteValue(n, "blackWhiteMode");
    // Fill and line: files written before they were kept give a new shape's defaults.
    shape->fill_.visible_ = flipValue(n, "fillVisible", shape->fill_.visible_);
    shape->fill_.foreColor_.rgb_ = colourValue(n, "fillColor", shape->fill_.foreColor_.rgb_);
    shape->line_.visible_ = flipValue(n, "lineVisible", shape->line_.visible_);
    shape->line_.foreColor_.rgb_ = colourValue(n, "lineColor", shape->line_.foreColor_.rgb_);
    shape->line_.weight_ = number<float>(n, "lineWeight", shape->line_.weight_);
    shape->placeholderType_ = number<int>(n, "placeholder", 0);
    shape->fill_.foreColor_.scheme_ = number<int>(n, "fillScheme", 0);
    shape->line_.foreColor_.scheme_ = number<int>(n, "lineScheme", 0);
    for (int scheme : {shape->fill_.foreColor_.scheme_, shape->line_.foreColor_.scheme_})
        if (scheme < 0 || scheme > 8) throw BadFile{"bad scheme colour"};
    if (shape->line_.weight_ < 0) throw BadFile{"bad lineWeight"};
    readTags(n, shape->tags_);
    // Files without them give the type's default adjustments and no nodes.
    if (n.child("adjustment") || n.child("node")) {
        shape->outline_ = std::make_shared<ShapeOutline>();
        if (n.child("adjustment")) {
            shape->outline_->adjustments.emplace();
            for (auto a : n.children("adjustment"))
                shape->outline_->adjustments->push_back(number<float>(a, "value", 0, true));
        }
        for (auto node : n.children("node"))
            shape->outline_->nodes.emplace_back(number<double>(node, "x", 0, true), number<double>(node, "y", 0, true));
    }
    if (auto t = n.child("text")) {
        if (shape->HasTextFrame() == msoFalse) throw BadFile{"text in a shape that cannot hold text"};
        shape->text_ = readText(t);
    }
    if (auto t = n.child("table")) {
        if (!shape->hasTable_) throw BadFile{"cells in a shape that holds no table"};
        const int rows = number<int>(t, "rows", 0, true), columns = number<int>(t, "columns", 0, true);
        if (rows < 1 || columns < 1 || rows > 1000 || columns > 1000) throw BadFile{"bad table size"};
        // The writer lists every cell. Counting them before the grid is made keeps a small
        // damaged file from asking for millions of cells.
        const auto cells = std::distance(t.children("cell").begin(), t.children("cell").end());
        if (cells != static_cast<long>(rows) * columns) throw BadFile{"the cells do not fill the table"};
        shape->table_ = makeTableBody(*shape, rows, columns);
        std::size_t i = 0;
        for (auto cell : t.children("cell")) {
            shape->table_->selected[i] = number<int>(cell, "selected", 0) != 0;
            if (auto text = cell.child("text")) shape->table_->cells[i]->text_ = readText(text);
            ++i;
        }
    }
    for (auto member : n.children("shape")) {
        if (shape->type_ != msoGroup) throw BadFile{"members in a shape that is no group"};
        shape->groupItems_.push_back(readShape(member, slide, shapeIds, maxShapeId, nesting + 1));
    }
    return shape;
}

void PresentationFile::read(Presentation& p, const std::string& fileName) {
    try {
        // Read without blocking, so a FIFO in a template's place is refused, not waited on.
        int error = 0;
        const auto bytes = platform::readFileBytes(fileName, error);
        if (!bytes) throw BadFile{std::strerror(error)};
        pugi::xml_document doc;
        const auto parsed = doc.load_buffer(bytes->data(), bytes->size(), pugi::parse_default, pugi::encoding_utf8);
        if (!parsed) throw BadFile{parsed.description()};
        const auto root = doc.child("presentation");
        if (!root) throw BadFile{"not a presentation file"};
        if (number<int>(root, "version", 0, true) != kFormatVersion) throw BadFile{"unknown file version"};

        p.slideWidth_ = number<float>(root, "slideWidth", p.slideWidth_);
        p.slideHeight_ = number<float>(root, "slideHeight", p.slideHeight_);
        readTags(root, p.tags_);
        // Files written before extra colours were kept have none; more than the host keeps
        // leave the newest eight, as adding them would.
        for (auto c : root.children("extraColor")) {
            auto& colors = p.extraColors_.colors_;
            colors.push_back(colourValue(c, "rgb", 0));
            if (colors.size() > static_cast<std::size_t>(ExtraColors::kMaxColors)) colors.erase(colors.begin());
        }

        std::set<long> slideIds, shapeIds;
        long maxSlideId = 0, maxShapeId = 0;
        // Files written before designs were kept have the new presentation's one design.
        if (root.child("design")) p.designs_.items_.clear();
        for (auto d : root.children("design")) {
            auto design = std::make_shared<Design>(&p, d.attribute("name").value());
            for (auto n : d.child("slideMaster").children("shape"))
                design->slideMaster_->shapes_.items_.push_back(
                    readShape(n, design->slideMaster_.get(), shapeIds, maxShapeId));
            if (auto title = d.child("titleMaster")) {
                design->titleMaster_ = std::make_shared<Slide>(&p, 0, 0);
                for (auto n : title.children("shape"))
                    design->titleMaster_->shapes_.items_.push_back(
                        readShape(n, design->titleMaster_.get(), shapeIds, maxShapeId));
            }
            p.designs_.items_.push_back(design);
        }
        for (auto s : root.children("slide")) {
            const long id = idValue(s, "id");
            if (!slideIds.insert(id).second) throw BadFile{"slide id " + std::to_string(id) + " twice"};
            maxSlideId = std::max(maxSlideId, id);
            auto slide = std::make_shared<Slide>(&p, id, number<int>(s, "layout", 1));
            slide->backgroundBlackWhiteMode_ = blackWhiteValue(s, "backgroundBlackWhiteMode");
            readTags(s, slide->tags_);
            for (auto n : s.children("shape"))
                slide->shapes_.items_.push_back(readShape(n, slide.get(), shapeIds, maxShapeId));
            if (auto notes = s.child("notes")) {
                slide->notesPage_ = std::make_shared<Slide>(&p, id, slide->layout_);
                for (auto n : notes.children("shape"))
                    slide->notesPage_->shapes_.items_.push_back(
                        readShape(n, slide->notesPage_.get(), shapeIds, maxShapeId));
            }
            p.slides_.items_.push_back(slide);
        }
        // Ids are never handed out twice, even when the counters in the file are behind.
        // A counter one past the highest id means every id is used; adding then fails.
        p.nextSlideId_ = std::max({counterValue(root, "nextSlideId", p.nextSlideId_), maxSlideId + 1, p.nextSlideId_});
        p.nextShapeId_ = std::max({counterValue(root, "nextShapeId", p.nextShapeId_), maxShapeId + 1, p.nextShapeId_});
    } catch (const BadFile& e) {
        throw HostError(E_FAIL, "PowerPoint could not open file " + fileName + " (" + e.why + ").");
    } catch (const HostError& e) {
        throw HostError(E_FAIL, "PowerPoint could not open file " + fileName + " (" + e.what() + ").");
    }
}

}  // namespace host
