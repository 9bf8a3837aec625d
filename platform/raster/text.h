// Text: fonts come from a FontCache over the edition's font service; measuring
// and drawing are the same in every edition. Strings are code page 1252 bytes;
// no byte is interpreted ("\n" draws whatever glyph it maps to).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "font_cache.h"
#include "surface.h"

namespace morlu::raster {

FontMetrics font_metrics(const Font& font);

// The family the font service chose: the default face's when the name matched nothing.
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
