// Reading and writing the stand-in's presentation file. Numbers are written in the C form
// ("." decimal point, shortest text that reads back to the same float) whatever the locale.
#include "host/presentation_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
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

std::string cannotSave(const std::string& fileName, const std::string& why) {
    return "PowerPoint could not save file " + fileName + " (" + why + ").";
}

// Replaces fileName by `content` all at once: a temporary file next to it, then rename.
void replaceFile(const std::string& fileName, const std::string& content) {
    std::string temp = fileName + ".tmp.XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw HostError(E_FAIL, cannotSave(fileName, std::strerror(errno)));
    struct stat existing {};
    ::fchmod(fd, ::stat(fileName.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644);

    const char* data = content.data();
    std::size_t left = content.size();
    int error = 0;
    while (left > 0 && error == 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        else {
            data += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), fileName.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        throw HostError(E_FAIL, cannotSave(fileName, std::strerror(error)));
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

void readTags(pugi::xml_node parent, Tags& tags) {
    for (auto tag : parent.child("tags").children("tag")) {
        const std::string name = tag.attribute("name").value();
        if (name.empty()) throw BadFile{"a tag without a name"};
        tags.Add(name, tag.attribute("value").value());
    }
}

int flipValue(pugi::xml_node node, const char* name) {
    return number<int>(node, name, msoFalse) == msoFalse ? msoFalse : msoTrue;
}

}  // namespace

void PresentationFile::write(const Presentation& p, const std::string& fileName) {
    pugi::xml_document doc;
    auto root = doc.append_child("presentation");
    setNumber(root, "version", kFormatVersion);
    setNumber(root, "nextSlideId", p.nextSlideId_);
    setNumber(root, "nextShapeId", p.nextShapeId_);
    setNumber(root, "slideWidth", p.slideWidth_);
    setNumber(root, "slideHeight", p.slideHeight_);
    writeTags(root, p.tags_);
    for (const auto& slide : p.slides_.all()) {
        auto s = root.append_child("slide");
        setNumber(s, "id", slide->id_);
        setNumber(s, "layout", slide->layout_);
        writeTags(s, slide->tags_);
        for (const auto& shape : slide->shapes_.all()) {
            auto n = s.append_child("shape");
            setNumber(n, "id", shape->id_);
            setNumber(n, "type", shape->type_);
            setNumber(n, "autoShapeType", shape->autoShapeType_);
            n.append_attribute("name").set_value(shape->name_.c_str());
            setNumber(n, "left", shape->left_);
            setNumber(n, "top", shape->top_);
            setNumber(n, "width", shape->width_);
            setNumber(n, "height", shape->height_);
            setNumber(n, "rotation", shape->rotation_);
            setNumber(n, "hflip", shape->hflip_);
            setNumber(n, "vflip", shape->vflip_);
            writeTags(n, shape->tags_);
        }
    }
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    replaceFile(fileName, out.str());
}

void PresentationFile::read(Presentation& p, const std::string& fileName) {
    try {
        pugi::xml_document doc;
        const auto parsed = doc.load_file(fileName.c_str(), pugi::parse_default, pugi::encoding_utf8);
        if (!parsed) {
            struct stat st {};
            throw BadFile{::stat(fileName.c_str(), &st) != 0 ? std::strerror(errno) : parsed.description()};
        }
        const auto root = doc.child("presentation");
        if (!root) throw BadFile{"not a presentation file"};
        if (number<int>(root, "version", 0, true) != kFormatVersion) throw BadFile{"unknown file version"};

        p.slideWidth_ = number<float>(root, "slideWidth", p.slideWidth_);
        p.slideHeight_ = number<float>(root, "slideHeight", p.slideHeight_);
        readTags(root, p.tags_);

        std::set<long> slideIds, shapeIds;
        long maxSlideId = 0, maxShapeId = 0;
        for (auto s : root.children("slide")) {
            const long id = number<long>(s, "id", 0, true);
            if (!slideIds.insert(id).second) throw BadFile{"slide id " + std::to_string(id) + " twice"};
            maxSlideId = std::max(maxSlideId, id);
            auto slide = std::make_shared<Slide>(&p, id, number<int>(s, "layout", 1));
            readTags(s, slide->tags_);
            for (auto n : s.children("shape")) {
                const long shapeId = number<long>(n, "id", 0, true);
                if (!shapeIds.insert(shapeId).second) throw BadFile{"shape id " + std::to_string(shapeId) + " twice"};
                maxShapeId = std::max(maxShapeId, shapeId);
                auto shape = std::make_shared<Shape>(
                    slide.get(), shapeId, number<int>(n, "type", msoAutoShape),
                    number<int>(n, "autoShapeType", msoShapeRectangle), number<float>(n, "left", 0),
                    number<float>(n, "top", 0), number<float>(n, "width", 0), number<float>(n, "height", 0));
                if (auto name = n.attribute("name")) shape->name_ = name.value();
                const float rotation = number<float>(n, "rotation", 0);
                if (rotation < 0 || rotation >= 360) throw BadFile{"rotation out of range"};
                shape->rotation_ = rotation;
                shape->hflip_ = flipValue(n, "hflip");
                shape->vflip_ = flipValue(n, "vflip");
                readTags(n, shape->tags_);
                slide->shapes_.items_.push_back(shape);
            }
            p.slides_.items_.push_back(slide);
        }
        // Ids are never handed out twice, even when the counters in the file are behind.
        p.nextSlideId_ = std::max({number<long>(root, "nextSlideId", p.nextSlideId_), maxSlideId + 1, p.nextSlideId_});
        p.nextShapeId_ = std::max({number<long>(root, "nextShapeId", p.nextShapeId_), maxShapeId + 1, p.nextShapeId_});
    } catch (const BadFile& e) {
        throw HostError(E_FAIL, "PowerPoint could not open file " + fileName + " (" + e.why + ").");
    } catch (const HostError& e) {
        throw HostError(E_FAIL, "PowerPoint could not open file " + fileName + " (" + e.what() + ").");
    }
}

}  // namespace host
