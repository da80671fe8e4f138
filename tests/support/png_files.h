// PNG files for the tests of picture reading: what cairo itself reads from a file, as a picture
// keeps pixels (straight alpha, ARGB), which the add-in's own reading must match pixel for
// pixel; and damaged files whose chunk checksums are right again.
#pragma once

#include <cairo.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct CairoPng {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // row by row
};

// nullopt when cairo refuses the file.
inline std::optional<CairoPng> cairoPng(const std::string& path) {
    cairo_surface_t* read = cairo_image_surface_create_from_png(path.c_str());
    std::optional<CairoPng> png;
    if (cairo_surface_status(read) == CAIRO_STATUS_SUCCESS) {
        const bool alpha = cairo_image_surface_get_format(read) == CAIRO_FORMAT_ARGB32;
        const int width = cairo_image_surface_get_width(read), height = cairo_image_surface_get_height(read);
        const int stride = cairo_image_surface_get_stride(read);
        const unsigned char* data = cairo_image_surface_get_data(read);
        png.emplace();
        png->width = width;
        png->height = height;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                std::uint32_t p =
                    reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride)[x];
                const std::uint32_t a = alpha ? p >> 24 : 255;
                auto straight = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
                if (a == 0) p = 0;
                else if (a < 255)
                    p = (straight((p >> 16) & 0xFF) << 16) | (straight((p >> 8) & 0xFF) << 8) | straight(p & 0xFF);
                png->pixels.push_back((p & 0xFFFFFF) | (a << 24));
            }
    }
    cairo_surface_destroy(read);
    return png;
}

// The file with each chunk's checksum made right again, so that damage inside a chunk reaches
// the reader instead of failing the checksum.
inline std::string withChunkChecksums(std::string bytes) {
    for (std::size_t at = 8; at <= bytes.size() && bytes.size() - at >= 12;) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        const std::size_t length =
            (std::size_t{p[0]} << 24) | (std::size_t{p[1]} << 16) | (std::size_t{p[2]} << 8) | p[3];
        if (length > bytes.size() - at - 12) break;
        const auto crc = static_cast<std::uint32_t>(crc32_z(0, p + 4, length + 4));
        for (int i = 0; i < 4; ++i)
            bytes[at + 8 + length + static_cast<std::size_t>(i)] = static_cast<char>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
    return bytes;
}

}  // namespace testing_support
