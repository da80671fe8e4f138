// PNG files and the canvas, on cairo image surfaces. cairo keeps premultiplied alpha; a
// Picture keeps straight alpha, so pixels are converted at the border.
#include "platform/picture.h"

#include <cairo.h>
#include <dlfcn.h>
#include <zlib.h>
#include <utility>

#include <strings.h>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/services.h"

namespace platform {

namespace {

std::optional<std::vector<std::string>>& installedEncoders() {
    static std::optional<std::vector<std::string>> list;
    return list;
}

std::uint32_t premultiply(std::uint32_t argb) {
    const std::uint32_t a = argb >> 24;
    if (a == 255) return argb;
    auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) | scale(argb & 0xFF);
}

std::uint32_t unpremultiply(std::uint32_t argb) {
    const std::uint32_t a = argb >> 24;
    if (a == 255) return argb;
    if (a == 0) return 0;
    auto scale = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) | scale(argb & 0xFF);
}

bool wellFormed(const Picture& p) {
    return p.width > 0 && p.height > 0 &&
           p.pixels.size() == static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height);
}

// An ARGB32 surface holding the picture (the caller destroys it), or nullptr.
cairo_surface_t* surfaceFrom(const Picture& p) {
    if (!wellFormed(p)) return nullptr;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, p.width, p.height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < p.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        const std::uint32_t* src = p.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width);
        for (int x = 0; x < p.width; ++x) row[x] = premultiply(src[x]);
    }
    cairo_surface_mark_dirty(s);
    return s;
}

// The pixels of an ARGB32 image surface.
Picture pictureFrom(cairo_surface_t* s) {
    Picture p;
    cairo_surface_flush(s);
    p.width = cairo_image_surface_get_width(s);
    p.height = cairo_image_surface_get_height(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    p.pixels.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    for (int y = 0; y < p.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        std::uint32_t* dst = p.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width);
        for (int x = 0; x < p.width; ++x) dst[x] = unpremultiply(row[x]);
    }
    return p;
}

struct ReadCursor {
    const std::string* bytes;
    std::size_t at = 0;
};

cairo_status_t readBytes(void* closure, unsigned char* data, unsigned int length) {
    auto* c = static_cast<ReadCursor*>(closure);
    if (c->bytes->size() - c->at < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, c->bytes->data() + c->at, length);
    c->at += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// ---- Stored PNGs ------------------------------------------------------------------------------
// The installation's pictures are written with their pixels stored, not compressed: 8-bit RGBA
// or RGB, rows unfiltered, one zlib stream of stored blocks. Every start reads them all, so such
// a file is decoded here by copying, each checksum checked. The pixels are exactly the ones the
// cairo way gives (premultiplied, rounded, straightened again). A file laid out any other way,
// or failing any check, is left to cairo, which decides about it as it always has.

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Pieces read one after another as one text: a view of the piece itself while there is only
// one, as is usual, and a gathered copy once there are more.
class Joined {
public:
    Joined() = default;
    Joined(const Joined&) = delete;  // the view may point into `gathered_`
    Joined& operator=(const Joined&) = delete;

    void add(std::string_view piece) {
        if (++pieces_ == 1) {
            whole_ = piece;
            return;
        }
        if (pieces_ == 2) gathered_.assign(whole_);
        gathered_.append(piece);
        whole_ = gathered_;
    }
    int pieces() const { return pieces_; }
    std::string_view whole() const { return whole_; }

private:
    int pieces_ = 0;
    std::string_view whole_;
    std::string gathered_;
};

// The zlib stream's content, into `content`, when the stream is stored blocks only, followed
// by its checksum and nothing else.
bool storedContent(std::string_view stream, Joined& content) {
    const auto* z = reinterpret_cast<const unsigned char*>(stream.data());
    const std::size_t size = stream.size();
    // Deflate with a window zlib takes, no preset dictionary, and a header that checks.
    if (size < 2 || (z[0] & 0x0F) != 8 || (z[0] >> 4) > 7 || (z[1] & 0x20) || ((z[0] << 8) | z[1]) % 31 != 0)
        return false;
    std::size_t at = 2;
    for (;;) {
        if (size - at < 5) return false;
        const unsigned header = z[at];
        if (((header >> 1) & 3) != 0) return false;  // a compressed block
        const std::size_t length = z[at + 1] | (std::size_t{z[at + 2]} << 8);
        const std::size_t check = z[at + 3] | (std::size_t{z[at + 4]} << 8);
        if (length != (~check & 0xFFFF) || size - at - 5 < length) return false;
        content.add(stream.substr(at + 5, length));
        at += 5 + length;
        if (header & 1) break;  // the last block
    }
    const std::string_view whole = content.whole();
    return size - at == 4 &&
           bigEndian32(z + at) ==
               adler32_z(adler32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(whole.data()), whole.size());
}

// Writes an RGBA row of samples as pixels, four at a time: the words read little-endian (A B
// G R from the top byte down) with red and blue swapped. True when every pixel is opaque, so
// that the row needs nothing more.
bool opaqueRgbaRow(const unsigned char* samples, std::uint32_t width, std::uint32_t* out) {
    using Words = std::uint32_t __attribute__((vector_size(16)));
    Words alphas = ~Words{};
    std::uint32_t x = 0;
    const auto swapped = [](auto w) { return (w & 0xFF00FF00) | ((w >> 16) & 0xFF) | ((w & 0xFF) << 16); };
    for (; x + 4 <= width; x += 4) {
        Words w;
        std::memcpy(&w, samples + 4 * x, sizeof w);
        alphas &= w;
        const Words pixels = swapped(w);
        std::memcpy(out + x, &pixels, sizeof pixels);
    }
    std::uint32_t alpha = alphas[0] & alphas[1] & alphas[2] & alphas[3];
    for (; x < width; ++x) {
        std::uint32_t w;
        std::memcpy(&w, samples + 4 * x, sizeof w);
        alpha &= w;
        out[x] = swapped(w);
    }
    return (alpha >> 24) == 0xFF;
}

std::optional<Picture> decodeStoredPng(std::string_view file) {
    constexpr std::uint32_t kLargest = 32767;  // the largest side cairo takes
    constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) return std::nullopt;
    std::uint32_t width = 0, height = 0;
    std::size_t channels = 0;
    Joined stream;
    bool dataOver = false, ended = false;
    for (std::size_t at = 8; at < file.size();) {
        const auto* p = reinterpret_cast<const unsigned char*>(file.data() + at);
        if (ended || file.size() - at < 12) return std::nullopt;
        const std::uint32_t length = bigEndian32(p);
        if (length > 0x7FFFFFFFu || length > file.size() - at - 12) return std::nullopt;
        if (bigEndian32(p + 8 + length) != crc32_z(crc32_z(0, nullptr, 0), p + 4, std::size_t{length} + 4))
            return std::nullopt;
        const std::string_view type = file.substr(at + 4, 4), data = file.substr(at + 8, length);
        at += 12 + std::size_t{length};
        if ((channels == 0) != (type == "IHDR")) return std::nullopt;  // the header first, and once
        if (type == "IHDR") {
            const auto* h = p + 8;
            if (length != 13) return std::nullopt;
            width = bigEndian32(h);
            height = bigEndian32(h + 4);
            // 8 bits a sample, RGBA or RGB, deflate, the standard filters, not interlaced.
            if (h[8] != 8 || (h[9] != 6 && h[9] != 2) || h[10] != 0 || h[11] != 0 || h[12] != 0) return std::nullopt;
            if (width < 1 || height < 1 || width > kLargest || height > kLargest) return std::nullopt;
            channels = h[9] == 6 ? 4 : 3;
        } else if (type == "IDAT") {
            if (dataOver) return std::nullopt;  // the data chunks follow one another
            stream.add(data);
        } else if (type == "IEND") {
            if (length != 0 || stream.pieces() == 0) return std::nullopt;
            ended = true;
        } else {
            return std::nullopt;  // any other chunk
        }
        if (stream.pieces() > 0 && type != "IDAT") dataOver = true;
    }
    Joined content;
    if (!ended || !storedContent(stream.whole(), content)) return std::nullopt;
    const std::size_t rowBytes = 1 + std::size_t{width} * channels;
    if (content.whole().size() != rowBytes * height) return std::nullopt;
    Picture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(std::size_t{width} * height);
    std::uint32_t* out = picture.pixels.data();
    for (std::uint32_t y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(content.whole().data()) + y * rowBytes;
        if (row[0] != 0) return std::nullopt;  // a filtered row
        ++row;
        // An opaque RGBA row (a thumbnail's every row) is the samples with red and blue
        // swapped, a word at a time; any other row goes pixel by pixel.
        if (channels == 4 && std::endian::native == std::endian::little && opaqueRgbaRow(row, width, out)) {
            out += width;
            continue;
        }
        for (std::uint32_t x = 0; x < width; ++x, row += channels) {
            const std::uint32_t alpha = channels == 4 ? row[3] : 255;
            const std::uint32_t pixel =
                (alpha << 24) | (std::uint32_t{row[0]} << 16) | (std::uint32_t{row[1]} << 8) | row[2];
            if (alpha == 255) *out++ = pixel;
            else if (alpha == 0) *out++ = 0;                  // cairo keeps no colour where nothing shows
            else *out++ = unpremultiply(premultiply(pixel));  // cairo's round trip
        }
    }
    return picture;
}

void appendBigEndian32(std::string& out, std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    out.append(bytes, 4);
}

void appendChunk(std::string& out, const char* type, std::string_view data) {
    appendBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* checked = reinterpret_cast<const Bytef*>(out.data() + typeAt);
    appendBigEndian32(out, static_cast<std::uint32_t>(crc32_z(crc32_z(0, nullptr, 0), checked, data.size() + 4)));
}

// The file decodeStoredPng reads by copying: 8-bit RGBA, unfiltered rows, stored blocks. The
// samples are those cairo's writer gives for the picture (premultiplied, then straightened).
// `asRead`, when given, receives the pixels decodeStoredPng gives for the file.
std::string encodeStoredPng(const Picture& p, Picture* asRead) {
    const std::size_t width = std::size_t(p.width), rowBytes = 1 + width * 4;
    const std::size_t contentSize = rowBytes * std::size_t(p.height);
    constexpr std::size_t kBlock = 65535, kChunk = 1u << 20;
    const std::size_t streamSize = 2 + contentSize + 5 * ((contentSize + kBlock - 1) / kBlock) + 4;

    std::string content(contentSize, '\0');
    if (asRead) {
        asRead->width = p.width;
        asRead->height = p.height;
        asRead->pixels.resize(p.pixels.size());
    }
    for (std::size_t y = 0; y < std::size_t(p.height); ++y) {
        auto* out = reinterpret_cast<unsigned char*>(content.data()) + y * rowBytes;
        *out++ = 0;  // filter: none
        const std::uint32_t* row = p.pixels.data() + y * width;
        std::uint32_t* read = asRead ? asRead->pixels.data() + y * width : nullptr;
        for (std::size_t x = 0; x < width; ++x, out += 4) {
            std::uint32_t pixel = row[x];
            const std::uint32_t alpha = pixel >> 24;
            if (alpha != 255) pixel = unpremultiply(premultiply(pixel));
            out[0] = static_cast<unsigned char>(pixel >> 16);
            out[1] = static_cast<unsigned char>(pixel >> 8);
            out[2] = static_cast<unsigned char>(pixel);
            out[3] = static_cast<unsigned char>(alpha);
            // The reader straightens what is not opaque once more, as cairo's round trip does.
            if (read) read[x] = alpha == 255 ? pixel : alpha == 0 ? 0 : unpremultiply(premultiply(pixel));
        }
    }
    const auto adler = static_cast<std::uint32_t>(
        adler32_z(adler32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(content.data()), content.size()));

    std::string stream;
    stream.reserve(streamSize);
    stream.append("\x78\x01", 2);
    for (std::size_t at = 0; at < contentSize; at += kBlock) {
        const std::size_t length = std::min(kBlock, contentSize - at);
        const char header[5] = {static_cast<char>(at + length == contentSize ? 1 : 0), static_cast<char>(length),
                                static_cast<char>(length >> 8), static_cast<char>(~length),
                                static_cast<char>(~length >> 8)};
        stream.append(header, 5);
        stream.append(content, at, length);
    }
    content = {};
    appendBigEndian32(stream, adler);

    std::string file;
    file.reserve(8 + 25 + stream.size() + 12 * ((stream.size() + kChunk - 1) / kChunk) + 12);
    file.append("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    appendBigEndian32(header, static_cast<std::uint32_t>(p.width));
    appendBigEndian32(header, static_cast<std::uint32_t>(p.height));
    header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, filters, not interlaced
    appendChunk(file, "IHDR", header);
    for (std::size_t at = 0; at < stream.size(); at += kChunk)
        appendChunk(file, "IDAT", std::string_view(stream).substr(at, kChunk));
    appendChunk(file, "IEND", {});
    return file;
}

void setColour(cairo_t* cr, std::uint32_t argb) {
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                          (argb >> 24) / 255.0);
}

}  // namespace

std::vector<std::string> imageEncoders() {
    // cairo writes PNG only.
    return installedEncoders().value_or(std::vector<std::string>{"image/png"});
}

std::optional<std::vector<std::string>> useImageEncoders(std::optional<std::vector<std::string>> encoders) {
    return std::exchange(installedEncoders(), std::move(encoders));
}

std::shared_ptr<Picture> loadPng(const std::string& path) {
    const auto bytes = fileSystem().readAll(path);
    return bytes ? decodePng(*bytes, path) : nullptr;
}

std::shared_ptr<Picture> decodePng(const std::string& bytes, const std::string& path) {
    const auto named = [&path](Picture pixels) {
        auto picture = std::make_shared<Picture>(std::move(pixels));
        picture->source = path;
        return picture;
    };
    if (auto stored = decodeStoredPng(bytes)) return named(std::move(*stored));
    ReadCursor cursor{&bytes};
    cairo_surface_t* read = cairo_image_surface_create_from_png_stream(readBytes, &cursor);
    if (cairo_surface_status(read) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(read);
        return nullptr;
    }
    if (cairo_image_surface_get_format(read) == CAIRO_FORMAT_ARGB32) {  // a file with alpha: as it is
        auto picture = named(pictureFrom(read));
        cairo_surface_destroy(read);
        return picture;
    }
    // Whatever other format cairo chose for the file, the pixels are taken from an ARGB32 copy.
    Canvas canvas(cairo_image_surface_get_width(read), cairo_image_surface_get_height(read));
    if (!canvas.ok()) {
        cairo_surface_destroy(read);
        return nullptr;
    }
    cairo_set_source_surface(canvas.context(), read, 0, 0);
    cairo_set_operator(canvas.context(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(canvas.context());
    cairo_surface_destroy(read);
    return named(canvas.toPicture());
}

bool savePng(const Picture& picture, const std::string& path, Durability durability) {
    const auto encoders = imageEncoders();
    if (std::none_of(encoders.begin(), encoders.end(),
                     [](const std::string& m) { return ::strcasecmp(m.c_str(), "image/png") == 0; }))
        return false;
    cairo_surface_t* s = surfaceFrom(picture);
    if (!s) return false;
    std::string bytes;
    const cairo_status_t status = cairo_surface_write_to_png_stream(s, appendBytes, &bytes);
    cairo_surface_destroy(s);
    if (status != CAIRO_STATUS_SUCCESS) return false;
    return writeAllTo(fileSystem(), path, bytes, durability);
}

bool saveStoredPng(const Picture& picture, const std::string& path, Durability durability, Picture* asRead) {
    const auto encoders = imageEncoders();
    if (std::none_of(encoders.begin(), encoders.end(),
                     [](const std::string& m) { return ::strcasecmp(m.c_str(), "image/png") == 0; }))
        return false;
    if (!wellFormed(picture) || picture.width > 32767 || picture.height > 32767) return false;
    Picture read;
    const std::string bytes = encodeStoredPng(picture, asRead ? &read : nullptr);
    if (!writeAllTo(fileSystem(), path, bytes, durability)) return false;
    if (asRead) {
        read.source = path;
        *asRead = std::move(read);
    }
    return true;
}

// ---- Canvas -------------------------------------------------------------------------------

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    if (width < 1 || height < 1) return;
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
        return;
    }
    context_ = cairo_create(surface_);
    if (cairo_status(context_) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(context_);
        context_ = nullptr;
    }
}

Canvas::~Canvas() {
    if (context_) cairo_destroy(context_);
    if (surface_) cairo_surface_destroy(surface_);
}

void Canvas::fill(std::uint32_t argb) { fillRect(0, 0, width_, height_, argb); }

void Canvas::fillRect(double left, double top, double width, double height, std::uint32_t argb) {
    if (!context_ || width <= 0 || height <= 0) return;
    cairo_save(context_);
    setColour(context_, argb);
    cairo_rectangle(context_, left, top, width, height);
    cairo_fill(context_);
    cairo_restore(context_);
}

void Canvas::drawPicture(const Picture& picture, double left, double top, double width, double height) {
    if (!context_ || width <= 0 || height <= 0) return;
    cairo_surface_t* s = surfaceFrom(picture);
    if (!s) return;
    cairo_save(context_);
    cairo_rectangle(context_, left, top, width, height);
    cairo_clip(context_);
    cairo_translate(context_, left, top);
    cairo_scale(context_, width / picture.width, height / picture.height);
    cairo_set_source_surface(context_, s, 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(context_);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_BEST);
    // Padding keeps the picture's edge pixels at the edge instead of fading into nothing.
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_paint(context_);
    cairo_restore(context_);
    cairo_surface_destroy(s);
}

Picture Canvas::toPicture() const {
    if (!surface_) return {};
    return pictureFrom(surface_);
}

void releaseFontCachesAtExit() {
    // fontconfig is found at run time, as only cairo links it.
    static const bool registered = std::atexit([] {
                                       cairo_debug_reset_static_data();
                                       if (void* fini = ::dlsym(RTLD_DEFAULT, "FcFini"))
                                           reinterpret_cast<void (*)()>(fini)();
                                   }) == 0;
    (void)registered;
}

int textWidth(const std::string& text, const std::string& fontName, double sizePoints) {
    if (text.empty() || !(sizePoints > 0)) return 0;
    releaseFontCachesAtExit();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    cairo_select_font_face(cr, fontName.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, sizePoints * 96.0 / 72.0);  // points to pixels at 96 per inch
    cairo_text_extents_t extents{};
    cairo_text_extents(cr, text.c_str(), &extents);
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return ok ? static_cast<int>(std::ceil(extents.x_advance)) : 0;
}

}  // namespace platform
