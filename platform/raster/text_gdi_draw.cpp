// Measuring and drawing strings in the Windows edition, with the glyphs the font
// service rendered, exactly as the Linux edition draws them.
#include "glyph_drawing.h"
#include "text_gdi_font.h"

namespace morlu::raster {

Size text_extent(const Font& font, std::string_view text) {
    return glyphs::measure_glyphs(font, text);
}

void draw_text(Surface& s,
               const PixelBox& clip,
               const Font& font,
               int32_t x,
               int32_t y,
               std::string_view text,
               uint32_t color,
               std::optional<uint32_t> background) {
    glyphs::draw_glyph_text(s, clip, font, x, y, text, color, background);
}

}  // namespace morlu::raster
