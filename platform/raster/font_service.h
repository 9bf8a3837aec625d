// The font seam: what each edition's font service does to turn a program's
// font request into metrics and grey coverage. Each edition implements
// make_font_service in its own folder (FreeType and fontconfig on Linux, the
// Windows font service in the Windows edition); caching fonts, measuring and
// drawing text are shared and live beside this header.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bounded_cache.h"

namespace morlu::raster {

// What a program asks for, in the platform's terms.
struct FontRequest {
    // Negative: an em of -height pixels. Positive: a cell (ascent + descent) of
    // height pixels. Zero: the default height.
    int32_t height = 0;
    int32_t weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool monospace = false;  // a fixed-pitch face is wanted when the name matches nothing
    std::string face{};      // resolved by the edition's font matching; an unknown name falls back
};

// The platform's text metrics, in whole pixels.
struct FontMetrics {
    int32_t height = 0;  // ascent + descent: the cell height
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t internal_leading = 0;  // height minus the em
    int32_t external_leading = 0;
    int32_t ave_char_width = 0;
    int32_t max_char_width = 0;
};

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

// A face at one size, as a service made it. Each glyph is rendered on first
// use and kept as long as the face, so it is rendered once per size.
class GlyphFace {
public:
    GlyphFace() = default;
    virtual ~GlyphFace() = default;
    GlyphFace(const GlyphFace&) = delete;
    GlyphFace& operator=(const GlyphFace&) = delete;

    // The glyph of a code page 1252 byte.
    const Glyph& glyph(uint8_t byte) {
        std::unique_ptr<Glyph>& slot = glyphs_[byte];
        if (!slot) slot = std::make_unique<Glyph>(render(byte));
        return *slot;
    }

private:
    // The service's rendering of one byte; a character the service cannot
    // render is an empty glyph, with an advance where the service gives one.
    virtual Glyph render(uint8_t byte) = 0;

    std::array<std::unique_ptr<Glyph>, 256> glyphs_{};
};

// A resolved font: metrics at one request's height, glyphs from a face that
// several fonts may share. Immutable once made, but for the glyphs its face renders.
class Font {
public:
    Font(std::shared_ptr<GlyphFace> face, const FontMetrics& metrics, std::string family)
        : face_(std::move(face)), metrics_(metrics), family_(std::move(family)) {
    }

    const FontMetrics& metrics() const {
        return metrics_;
    }
    const std::string& family() const {
        return family_;
    }
    // Glyphs are a cache of the face, not part of the font's value.
    const Glyph& glyph(uint8_t byte) const {
        return face_->glyph(byte);
    }

private:
    std::shared_ptr<GlyphFace> face_;
    FontMetrics metrics_;
    std::string family_;
};

// An edition's font service, with the caches of its own (matched names, open
// faces), each bounded. Dropping the service drops them.
class FontService {
public:
    virtual ~FontService() = default;
    // The font for a request: an unknown face name falls back as the edition's
    // desktop does. nullptr only when the service finds no font at all.
    virtual std::shared_ptr<const Font> open(const FontRequest& request) = 0;
    // How full each of the service's caches is.
    virtual std::vector<CacheFill> fill() const = 0;
};

// The edition's service; one definition per edition, in its own folder.
std::unique_ptr<FontService> make_font_service();

}  // namespace morlu::raster
