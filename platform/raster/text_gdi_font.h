// The inside of a Font in the Windows edition: a font of the Windows font
// service, its metrics, and its glyphs rendered as grey coverage. Shared by the
// text_gdi files of this folder only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text.h"

namespace morlu::raster {

// One character rendered as grey coverage (0 = none, 255 = full), placed
// relative to the pen on the baseline.
struct Glyph {
    int32_t left = 0;  // first column, right of the pen
    int32_t top = 0;   // first row, above the baseline
    int32_t width = 0;
    int32_t rows = 0;
    int32_t advance = 0;            // whole pixels, never negative
    std::vector<uint8_t> coverage;  // rows * width, top row first
};

// A font the service resolved for one request. Glyphs are rendered on first use
// and kept for the life of the font; the service's font object is released with it.
class Font {
public:
    Font(void* handle, const FontMetrics& metrics, std::string family);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontMetrics& metrics() const {
        return metrics_;
    }
    const std::string& family() const {
        return family_;
    }
    // The glyph of a code page 1252 byte. The cache is not part of the font's value.
    const Glyph& glyph(uint8_t byte) const;

private:
    void* handle_ = nullptr;  // the service's font (HFONT)
    FontMetrics metrics_;
    std::string family_;
    mutable std::array<std::unique_ptr<Glyph>, 256> glyphs_{};
};

}  // namespace morlu::raster
