// Golden pictures: PNG files read into surfaces and compared with what a test
// drew, with a picture of the differences when they are not the same.
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/png_writer.h"
#include "platform/raster/surface.h"

namespace morlu::raster::testing {

// The folder of golden pictures, next to this file: its path comes from the
// build, since this file's own path, as the compiler gives it, may be relative
// to the build folder (a compiler cache makes it so), not to where tests run.
inline std::filesystem::path golden_dir() {
    return MORLU_GOLDEN_DIR;
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

// Golden, drawn and their difference (red where they differ) side by side,
// with a grey bar between each, for a failure to show what changed.
inline Surface failure_picture(const Surface& golden, const Surface& drawn) {
    constexpr int32_t BAR = 4;
    const int32_t w = std::max(golden.size().w, drawn.size().w),
                  h = std::max(golden.size().h, drawn.size().h);
    Surface out({3 * w + 2 * BAR, h}, 0x808080);
    const auto pixel = [](const Surface& s, int32_t x, int32_t y) -> std::optional<uint32_t> {
        if (x >= s.size().w || y >= s.size().h) return std::nullopt;
        return s.at(x, y);
    };
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const auto a = pixel(golden, x, y), b = pixel(drawn, x, y);
            out.at(x, y) = a.value_or(0xFFFFFF);
            out.at(w + BAR + x, y) = b.value_or(0xFFFFFF);
            out.at(2 * (w + BAR) + x, y) = a == b ? 0xFFFFFF : 0xFF0000;
        }
    return out;
}

// Whether a test may rewrite its golden picture: MORLU_UPDATE_GOLDEN=1 makes
// the tests that draw with our own renderer write what they drew instead of
// comparing (tools/gdi-reference.sh does). The reference renderer's pictures
// are never rewritten so.
enum class Update { allowed, never };

// Compare `drawn` with the golden picture at `path`. On a difference, write
// NAME.failed.png beside it (see failure_picture) and say where.
inline ::testing::AssertionResult matches_golden(const std::filesystem::path& path,
                                                 const Surface& drawn,
                                                 Update update = Update::allowed) {
    std::string error;
    if (update == Update::allowed && std::getenv("MORLU_UPDATE_GOLDEN")) {
        if (!platform::write_png(path.string(), drawn, error)) return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess();
    }
    const auto golden = read_png(path);
    if (!golden) return ::testing::AssertionFailure() << "no golden picture " << path;
    const int64_t differences = count_differences(*golden, drawn);
    if (differences == 0) return ::testing::AssertionSuccess();
    auto failed = path;
    failed.replace_extension(".failed.png");
    std::filesystem::remove(failed);
    platform::write_png(failed.string(), failure_picture(*golden, drawn), error);
    return ::testing::AssertionFailure()
           << path.filename() << ": "
           << (differences < 0 ? "the sizes differ" : std::to_string(differences) + " pixels differ")
           << "; golden | drawn | difference in " << failed << " " << error;
}

}  // namespace morlu::raster::testing
