// Text through FreeType, with fonts found through fontconfig. Strings are code
// page 1252 bytes; no byte is interpreted ("\n" draws whatever glyph it maps to).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "surface.h"

namespace morlu::raster {

// What a program asks for, in the platform's terms.
struct FontRequest {
    // Negative: an em of -height pixels. Positive: a cell (ascent + descent) of
    // height pixels. Zero: the default height.
    int32_t height = 0;
    int32_t weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool monospace = false;  // a fixed-pitch face is wanted when the name matches nothing
    std::string face{};      // resolved through fontconfig; an unknown name falls back
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

// A resolved font at one pixel size. Immutable once made; shared by every
// handle that asks for the same thing, so creating a font per call is cheap.
class Font;

// Resolve a request. Never fails while any font is installed; returns nullptr
// (and draws nothing) only when fontconfig finds no font file at all.
std::shared_ptr<const Font> open_font(const FontRequest& request);

FontMetrics font_metrics(const Font& font);

// The family fontconfig chose: the default face's when the name matched nothing.
std::string_view font_family(const Font& font);

// Width of the string (sum of the glyph advances) and the cell height.
Size text_extent(const Font& font, std::string_view text);

// Draw the string with the top-left corner of its cell at (x, y): the baseline
// is at y + ascent. Glyphs are grey anti-aliased and blended in `color`
// (0x00RRGGBB). With a background colour the cell rectangle is filled with it
// first (opaque mode); without, only glyph pixels change. Clipped to `clip`.
void draw_text(Surface& s,
               const PixelBox& clip,
               const Font& font,
               int32_t x,
               int32_t y,
               std::string_view text,
               uint32_t color,
               std::optional<uint32_t> background);

}  // namespace morlu::raster
