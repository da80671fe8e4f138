// Writes a drawn picture as a PNG file whose pixels are stored, not compressed: the add-in
// decodes its pictures at every start, and a stored picture decodes with a plain copy. The
// pixels are those cairo's own writer would give (alpha un-premultiplied, rounded alike).
#pragma once

#include <cairo.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tools {

namespace detail {

// libpng reports a failure by a jump back here.
inline bool writeRows(png_structp png, png_infop info, FILE* file, const std::vector<unsigned char>& rgba, int width,
                      int height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 0);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, &rgba[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4]);
    png_write_end(png, info);
    return true;
}

}  // namespace detail

inline bool writeStoredPng(cairo_surface_t* surface, const std::string& path) {
    cairo_surface_flush(surface);
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) return false;
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = row[x];
            const unsigned alpha = pixel >> 24;
            unsigned char* out = &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4];
            if (alpha == 0) {
                out[0] = out[1] = out[2] = out[3] = 0;
                continue;
            }
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<unsigned char>((((pixel >> (16 - 8 * c)) & 0xFF) * 255 + alpha / 2) / alpha);
            out[3] = static_cast<unsigned char>(alpha);
        }
    }

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && detail::writeRows(png, info, file, rgba, width, height);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

}  // namespace tools
