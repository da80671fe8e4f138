// Thumbnail builds for the Slide Wizard and My Elements galleries. A build borrows the
// clipboard and opens library presentations without windows; both are given back on every
// way out, whatever fails in between.
#include "libraries/thumbnails.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/config.h"
#include "core/errors.h"
#include "core/folder_layout.h"
#include "core/folders.h"
#include "core/host_version.h"
#include "core/images.h"
#include "core/numbers.h"
#include "core/product_name.h"
#include "core/registry.h"
#include "core/sha256.h"
#include "core/shared_state.h"
#include "core/windowless_presentation.h"
#include "host/clipboard.h"
#include "host/host.h"
#include "platform/services.h"
#include "platform/ui_driver.h"
#include "platform/xml_dom.h"

namespace plorin {

namespace {

// Opaque white: the margins around a slide's picture.
constexpr std::uint32_t kMarginColour = 0xFFFFFFFF;
// Day number of the Unix epoch (1 January 1970) counted from 30 December 1899.
constexpr double kUnixEpochDay = 25569.0;

// A thumbnail is drawn, kept and decoded at this size for every gallery item: far beyond
// what a gallery shows, and small enough that a thousand of them fit in memory.
constexpr int kMostThumbnailPixels = 1024;

// Puts the user's clipboard back when the build is over.
class KeptClipboard {
public:
    KeptClipboard() : kept_(host::clipboard().contents()) {}
    KeptClipboard(const KeptClipboard&) = delete;
    KeptClipboard& operator=(const KeptClipboard&) = delete;
    ~KeptClipboard() { host::clipboard().setContents(std::move(kept_)); }

private:
    host::Clipboard::Contents kept_;
};

// The one library presentation a build has open, without a window. Opening another file
// closes the previous one first; a file that could not be opened is not tried again until
// another file has been asked for. Whatever is open is closed when the build ends.
class OpenLibrary {
public:
    explicit OpenLibrary(host::Application& app) : app_(app) {}

    // The open presentation of that file, or nullptr when it cannot be opened.
    host::Presentation* open(const std::string& path) {
        if (path == path_) return presentation_ ? &*presentation_ : nullptr;
        close();
        path_ = path;
        try {
            presentation_.open(app_, path);
        } catch (const platform::NumberedError&) {
        }
        return presentation_ ? &*presentation_ : nullptr;
    }

    void close() noexcept {
        presentation_.close();
        path_.clear();
    }

private:
    host::Application& app_;
    std::string path_;
    WindowlessPresentation presentation_;  // marked saved and closed whatever happens
};

// Copies all shapes of the slide and saves their picture; false when the slide holds no
// shapes or the picture could not be saved.
bool renderThumbnail(const host::Slide& slide, const ThumbnailSettings& settings, const std::string& folder,
                     const std::string& path) {
    if (slide.Shapes().Count() == 0) return false;
    host::ShapeRange(slide.Shapes().all()).Copy();
    createFolder(folder);
    return saveClipboardAsPng(settings.width, settings.height, kMarginColour, path) == thumbnailWritten;
}

void tellBuildFailed(const char* library) {
    platform::MsgBox(std::string("An error occurred creating the ") + library + " thumbnail images.\r\n" +
                         "Please contact us at " + supportEmail() + " if the problem persists.",
                     platform::vbCritical, kProductName);
}

std::string attribute(const platform::DomNode& node, const char* name) { return node.getAttribute(name).value_or(""); }

// ---- My Elements: which thumbnails still show their slides ----------------------------------

// Raised whenever pictures come out differently from the same slides, so that all are drawn again.
constexpr int kDrawingVersion = 1;

// The record beside the My Elements thumbnails of what each was drawn from: a line per slide,
// "<slide id> <fingerprint> <device> <inode> <size> <modified ns> <changed ns>", the last five
// the picture file's stamp once written. A picture is up to date while its slide has the same
// fingerprint and the file the same stamp.
constexpr const char* kDrawnRecord = "drawn.txt";

struct DrawnPicture {
    std::string fingerprint;
    platform::FileStamp picture;
    bool operator==(const DrawnPicture&) const = default;
};
using DrawnPictures = std::map<long, DrawnPicture>;

// What each slide's picture is drawn from, by slide id: the slide as the library file holds
// it, the rest of the presentation but its id counters (a new slide moves those), the
// thumbnail's size and margins. Nothing when the file cannot be read as the host's
// presentation file: every slide is then drawn.
struct LibraryFingerprints {
    std::unordered_map<long, std::string> bySlide;
    std::optional<platform::FileStamp> stamp;  // of the file they were read from
};

LibraryFingerprints fingerprintLibrary(const std::string& path, const ThumbnailSettings& settings) {
    LibraryFingerprints out;
    auto read = platform::fileSystem().readAllStamped(path);
    if (!read || !read->stamp) return out;
    platform::DomDocument file;
    if (!file.loadXML(read->bytes)) return out;
    read->bytes = {};
    const platform::DomNode root = file.documentElement();
    if (!root || root.nodeName() != "presentation") return out;

    Sha256 hash;
    hash.update(std::to_string(kDrawingVersion) + " " + std::to_string(settings.width) + " " +
                std::to_string(settings.height) + " " + std::to_string(kMarginColour) + "\n");
    platform::DomNode presentation = root.cloneNode(false);
    presentation.removeAttribute("nextSlideId");
    presentation.removeAttribute("nextShapeId");
    hash.update(presentation.xml());
    std::vector<platform::DomNode> slides;
    for (const auto& child : root.childNodes()) {
        if (child.nodeName() == "slide") slides.push_back(child);
        else hash.update(child.xml());
    }
    const std::string shared = hash.hexDigest();
    for (const auto& slide : slides) {
        const std::string id = attribute(slide, "id");
        long n = 0;
        const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), n);
        if (ec != std::errc() || end != id.data() + id.size()) return {};  // not a file the host opens
        hash.update(shared);
        hash.update(slide.xml());
        if (!out.bySlide.emplace(n, hash.hexDigest().substr(0, 32)).second) return {};
    }
    out.stamp = read->stamp;
    return out;
}

// The record as the folder holds it; lines that cannot be read are left out.
DrawnPictures readDrawnPictures(const std::string& folder) {
    DrawnPictures drawn;
    const auto text = platform::fileSystem().readAll(folder + kDrawnRecord);
    if (!text) return drawn;
    std::string_view rest(*text);
    while (!rest.empty()) {
        const std::size_t eol = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, eol);
        rest.remove_prefix(std::min(eol + 1, rest.size()));
        const auto field = [&line]() {
            const std::size_t blank = std::min(line.find(' '), line.size());
            const std::string_view f = line.substr(0, blank);
            line.remove_prefix(std::min(blank + 1, line.size()));
            return f;
        };
        const auto number = [&field](auto& value) {
            const std::string_view f = field();
            const auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), value);
            return ec == std::errc() && end == f.data() + f.size() && !f.empty();
        };
        long id = 0;
        DrawnPicture picture;
        platform::FileStamp& stamp = picture.picture;
        if (!number(id)) continue;
        picture.fingerprint = std::string(field());
        if (picture.fingerprint.empty() || !number(stamp.device) || !number(stamp.inode) || !number(stamp.size) ||
            !number(stamp.modifiedNs) || !number(stamp.changedNs) || !line.empty())
            continue;
        drawn[id] = std::move(picture);
    }
    return drawn;
}

std::string formatDrawnPictures(const DrawnPictures& drawn) {
    std::string text;
    for (const auto& [id, picture] : drawn) {
        const platform::FileStamp& stamp = picture.picture;
        text += std::to_string(id) + ' ' + picture.fingerprint + ' ' + std::to_string(stamp.device) + ' ' +
                std::to_string(stamp.inode) + ' ' + std::to_string(stamp.size) + ' ' +
                std::to_string(stamp.modifiedNs) + ' ' + std::to_string(stamp.changedNs) + '\n';
    }
    return text;
}

// The record's entry for the slide with that id (as the index gives it) when its thumbnail
// still shows it: same fingerprint, picture file untouched since it was written.
std::optional<DrawnPictures::value_type> upToDate(const std::string& id, const LibraryFingerprints& library,
                                                  const DrawnPictures& before) {
    long n = 0;
    try {
        n = toInteger32(id);
    } catch (const platform::NumberedError&) {
        return std::nullopt;  // drawn, and so told, as a bad element
    }
    const auto from = library.bySlide.find(n);
    const auto kept = before.find(n);
    if (from == library.bySlide.end() || kept == before.end() || kept->second.fingerprint != from->second)
        return std::nullopt;
    const auto now = platform::fileSystem().stamp(myElementsThumbPath(n));
    if (!now || *now != kept->second.picture) return std::nullopt;
    return *kept;
}

}  // namespace

ThumbnailSettings readThumbnailSettings() {
    ThumbnailSettings s;
    s.width = static_cast<std::int16_t>(getBoundedSetting("thumbsWidth", "", s.width, 1, kMostThumbnailPixels));
    s.height = static_cast<std::int16_t>(getBoundedSetting("thumbsHeight", "", s.height, 1, kMostThumbnailPixels));
    s.slideWizardDate = parseDayNumber(getRegistry("thumbsDate_slideWizard", "", "0"));
    s.myElementsDate = parseDayNumber(getRegistry("thumbsDate_myElements", "", "0"));
    return s;
}

std::string formatDayNumber(double days) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, days);
    (void)ec;  // 64 characters hold any double
    return std::string(buffer, end);
}

double parseDayNumber(const std::string& text) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return 0;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') ++i;
    const std::size_t start = i;
    auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i - from;
    };
    std::size_t count = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        count += digits();
    }
    if (count == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::size_t mantissaEnd = i++;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        if (digits() == 0) i = mantissaEnd;  // an "E" without digits belongs to the rest
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data() + start, text.data() + i, value);
    if (ec == std::errc::result_out_of_range) return 0;
    (void)end;
    return negative ? -value : value;
}

std::optional<double> fileDayNumber(const std::string& path) {
    auto& fs = platform::fileSystem();
    if (!fs.fileExists(path)) return std::nullopt;
    const auto seconds = fs.lastModified(path);
    if (!seconds) return std::nullopt;
    return *seconds / 86400.0 + kUnixEpochDay;
}

std::string slideWizardThumbPath(const std::string& file, const std::string& slideNo) {
    const std::string name = file + "_" + slideNo + ".png";
    if (!staysInside(name)) return {};
    return state().layout.thumbs + name;
}

std::string myElementsThumbPath(long slideId) {
    return state().layout.myElements + "thumbs/" + std::to_string(slideId) + ".png";
}

GalleryThumbnails& galleryThumbnails() { return state().feature<GalleryThumbnails>(); }

std::string getMyElementsFile() {
    const std::string folder = state().layout.myElements;
    if (isHostVersion(kCommandBarHosts)) return folder + "myelements.ppt";
    if (platform::fileSystem().fileExists(folder + "myelements.pptx")) return folder + "myelements.pptx";
    return folder + "myelements.ppt";
}

bool createSlideWizardThumbs(ThumbnailSettings& settings) {
    SharedState& s = state();
    if (s.styleNames.Count() == 0 || !s.menuDocument) return true;
    host::Application& app = hostApplication();
    // One set of pictures serves every style: the first style's templates are drawn.
    const std::string templates = s.layout.styles + s.styleFolders.Item(1) + "/";

    double newest = 0;
    int failures = 0;
    {
        KeptClipboard clipboard;
        OpenLibrary library(app);
        for (const auto& item : s.menuDocument->selectNodes("/Varnotel/menu/submenu/menuitem")) {
            const std::string file = attribute(item, "file"), slideNo = attribute(item, "slideNo");
            if (!staysInside(file)) {  // not a template of the style: a bad item
                ++failures;
                continue;
            }
            const std::string path = templates + file;
            const auto date = fileDayNumber(path);
            if (!date || *date <= settings.slideWizardDate) continue;  // missing, or drawn already
            newest = std::max(newest, *date);
            bool done = false;
            try {
                if (host::Presentation* p = library.open(path)) {
                    const std::int16_t n = toInteger16(slideNo);
                    if (n >= 1 && n <= p->Slides().Count())
                        done = renderThumbnail(*p->Slides().Item(n), settings, s.layout.thumbs,
                                               slideWizardThumbPath(file, slideNo));
                }
            } catch (const platform::NumberedError&) {
                done = false;
            }
            if (!done) ++failures;
        }
    }
    if (failures > 0) {
        tellBuildFailed("Slide Wizard");
        return false;
    }
    // The thumbnails were written cached: they reach the disk before the date that says they
    // are drawn, or the date is not written and they are drawn again at the next start.
    if (newest > settings.slideWizardDate && platform::fileSystem().flushFolder(s.layout.thumbs)) {
        setRegistry("thumbsDate_slideWizard", formatDayNumber(newest), "");
        settings.slideWizardDate = newest;
    }
    return true;
}

void createMyElementsThumbs(ThumbnailSettings& settings) {
    SharedState& s = state();
    host::Application& app = hostApplication();
    const std::string path = getMyElementsFile();
    const auto date = fileDayNumber(path);
    if (!date || !s.myElementsDocument) return;

    int failures = 0;
    bool flushed = true;
    if (*date > settings.myElementsDate) {
        auto& fs = platform::fileSystem();
        const std::string folder = s.layout.myElements + "thumbs/";
        const LibraryFingerprints library = fingerprintLibrary(path, settings);
        const DrawnPictures before = readDrawnPictures(folder);
        DrawnPictures after, drawn;
        std::vector<std::string> stale;  // slide ids as the index gives them
        for (const auto& element : s.myElementsDocument->selectNodes("/Varnotel/group/element")) {
            std::string id = attribute(element, "slideID");
            if (const auto kept = upToDate(id, library, before)) after.insert(*kept);
            else stale.push_back(std::move(id));
        }
        if (!stale.empty()) {
            KeptClipboard clipboard;
            OpenLibrary opened(app);
            host::Presentation* p = opened.open(path);
            for (const std::string& id : stale) {
                bool done = false;
                try {
                    if (p) {
                        const auto slide = p->Slides().FindBySlideID(toInteger32(id));
                        const std::string picture = myElementsThumbPath(slide->SlideID());
                        done = renderThumbnail(*slide, settings, folder, picture);
                        const auto from = library.bySlide.find(slide->SlideID());
                        const auto written = done ? fs.stamp(picture) : std::nullopt;
                        if (from != library.bySlide.end() && written)
                            drawn[slide->SlideID()] = DrawnPicture{from->second, *written};
                    }
                } catch (const platform::NumberedError&) {
                    done = false;
                }
                if (!done) ++failures;
            }
            // Drawn thumbnails reach the disk before the record of what they show; a library
            // saved again while they were drawn may not be what the fingerprints were read
            // from, so they are then left out of the record and drawn again next time.
            flushed = fs.flushFolder(folder);
            if (flushed && fs.stamp(path) == library.stamp) after.merge(drawn);
        }
        if (flushed && after != before) fs.writeAllCached(folder + kDrawnRecord, formatDrawnPictures(after));
    }
    if (failures > 0) {
        tellBuildFailed("My Elements");
        return;
    }
    if (!flushed) return;
    // Also when nothing needed drawing: the stored date follows the library (written only
    // when it changes, as every opening of the menu comes here).
    const std::string stored = formatDayNumber(*date);
    if (getRegistry("thumbsDate_myElements", "", "") != stored) setRegistry("thumbsDate_myElements", stored, "");
    settings.myElementsDate = *date;
}

}  // namespace plorin
