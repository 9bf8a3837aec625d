// Measuring and drawing strings with the glyphs FreeType rendered.
#include "font_face.h"
#include "glyph_drawing.h"

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
