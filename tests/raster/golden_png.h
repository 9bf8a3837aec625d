// Golden pictures: PNG files read into surfaces, and the differences between
// two surfaces drawn as text for a failure message.
#pragma once

#include <png.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/raster/surface.h"

namespace morlu::raster::testing {

// The folder of golden pictures, next to this file.
inline std::filesystem::path golden_dir() {
    return std::filesystem::path(__FILE__).parent_path() / "golden";
}

// An 8-bit RGB or RGBA PNG as 0x00RRGGBB pixels; nothing if it cannot be read.
inline std::optional<Surface> read_png(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint32_t> pixels(static_cast<size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return std::nullopt;
    Surface s({static_cast<int32_t>(image.width), static_cast<int32_t>(image.height)});
    for (int32_t y = 0; y < s.size().h; ++y)
        for (int32_t x = 0; x < s.size().w; ++x)
            s.at(x, y) = pixels[static_cast<size_t>(y) * image.width + static_cast<size_t>(x)] & 0x00FFFFFF;
    return s;
}

// The number of pixels that differ, or -1 when the sizes differ.
inline int64_t count_differences(const Surface& a, const Surface& b) {
    if (!(a.size() == b.size())) return -1;
    int64_t n = 0;
    for (int32_t y = 0; y < a.size().h; ++y)
        for (int32_t x = 0; x < a.size().w; ++x) n += a.at(x, y) != b.at(x, y);
    return n;
}

// Both pictures side by side, one character a pixel ('.' white, 'R' red, 'B'
// blue, 'x' anything else), rows that differ marked with '<'.
inline std::string side_by_side(const Surface& want, const Surface& got) {
    const auto ch = [](uint32_t p) {
        return p == 0x00FFFFFF ? '.' : p == 0x00FF0000 ? 'R' : p == 0x000000FF ? 'B' : 'x';
    };
    std::string out = "want | got\n";
    for (int32_t y = 0; y < want.size().h && y < got.size().h; ++y) {
        std::string a, b;
        for (int32_t x = 0; x < want.size().w; ++x) a += ch(want.at(x, y));
        for (int32_t x = 0; x < got.size().w; ++x) b += ch(got.at(x, y));
        out += a + " " + b + (a == b ? "\n" : " <\n");
    }
    return out;
}

}  // namespace morlu::raster::testing
