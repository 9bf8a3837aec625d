// Measuring and drawing strings, whichever font service rendered the glyphs:
// advances along the baseline, grey coverage blended into the surface in the
// text colour.
#include <algorithm>
#include <climits>

#include "blend_row.h"
#include "fill.h"
#include "text.h"

namespace morlu::raster {
namespace {

int32_t saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The width of a string, before clamping: at most 255 pixels per byte, so a
// 64-bit sum of any string held in memory cannot overflow.
int64_t advance_sum(const Font& font, std::string_view text) {
    int64_t width = 0;
    for (const char c : text) width += font.glyph(static_cast<uint8_t>(c)).advance;
    return width;
}

// The part of a glyph bitmap whose top-left pixel is at (gx, gy) that lies
// inside `box`, or nothing. 64-bit, so a pen anywhere in the int32 range is safe.
std::optional<PixelBox> clip_glyph(const Glyph& g, int64_t gx, int64_t gy, const PixelBox& box) {
    const int64_t x0 = std::max<int64_t>(gx, box.x0);
    const int64_t x1 = std::min<int64_t>(gx + g.width, box.x1);
    const int64_t y0 = std::max<int64_t>(gy, box.y0);
    const int64_t y1 = std::min<int64_t>(gy + g.rows, box.y1);
    if (x0 >= x1 || y0 >= y1) return std::nullopt;
    return PixelBox{static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(x1),
                    static_cast<int32_t>(y1)};
}

// Blend the covered pixels of `part`, a clipped piece of the glyph at (gx, gy).
void blend_glyph(Surface& s, const PixelBox& part, const Glyph& g, int64_t gx, int64_t gy, uint32_t color) {
    const auto offset = static_cast<size_t>((part.y0 - gy) * g.width + (part.x0 - gx));
    const auto stride = static_cast<size_t>(s.size().w);  // rows are stored one after another
    blend_block(
        {s.rows(part.y0, part.y1) + part.x0, stride, g.coverage.data() + offset, static_cast<size_t>(g.width),
         static_cast<size_t>(part.x1 - part.x0), static_cast<size_t>(part.y1 - part.y0)},
        color);
}

// Glyphs along the baseline; one wholly outside `box` costs only its advance.
void draw_glyphs(Surface& s,
                 const PixelBox& box,
                 const Font& font,
                 int64_t x,
                 int64_t baseline,
                 std::string_view text,
                 uint32_t color) {
    int64_t pen = x;
    for (const char c : text) {
        const Glyph& g = font.glyph(static_cast<uint8_t>(c));
        const int64_t gx = pen + g.left;
        const int64_t gy = baseline - g.top;
        if (const auto part = clip_glyph(g, gx, gy, box)) blend_glyph(s, *part, g, gx, gy, color);
        pen += g.advance;
    }
}

}  // namespace

FontMetrics font_metrics(const Font& font) {
    return font.metrics();
}

std::string_view font_family(const Font& font) {
    return font.family();
}

Size text_extent(const Font& font, std::string_view text) {
    return {saturate(advance_sum(font, text)), font.metrics().height};
}

void draw_text(Surface& s,
               const PixelBox& clip,
               const Font& font,
               int32_t x,
               int32_t y,
               std::string_view text,
               uint32_t color,
               std::optional<uint32_t> background) {
    const auto box = intersect(clip, s.bounds());
    if (!box) return;
    const FontMetrics& m = font.metrics();
    if (background) {
        const int64_t width = advance_sum(font, text);
        const Rect cell{x, y, saturate(x + width), saturate(int64_t{y} + m.height)};
        fill_rect(s, cell, *box, *background);
    }
    draw_glyphs(s, *box, font, x, int64_t{y} + m.ascent, text, color);
}

}  // namespace morlu::raster
