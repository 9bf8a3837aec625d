// Glyphs rendered by FreeType as grey coverage, once per face size and character.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "cp1252.h"
#include "font_face.h"

namespace morlu::raster {
namespace {

// Copy a rendered 8-bit grey bitmap, top row first. FreeType's pitch is
// negative for a bitmap stored bottom row first.
void copy_coverage(const FT_Bitmap& bitmap, Glyph& glyph) {
    glyph.width = static_cast<int32_t>(bitmap.width);
    glyph.rows = static_cast<int32_t>(bitmap.rows);
    const auto width = static_cast<size_t>(bitmap.width);
    const auto rows = static_cast<size_t>(bitmap.rows);
    const auto stride = static_cast<size_t>(std::abs(bitmap.pitch));
    glyph.coverage.resize(width * rows);
    for (size_t r = 0; r < rows; ++r) {
        const size_t from = bitmap.pitch >= 0 ? r : rows - 1 - r;
        std::memcpy(glyph.coverage.data() + r * width, bitmap.buffer + from * stride, width);
    }
}

}  // namespace

const Glyph& SizedFace::glyph(uint8_t byte) {
    auto& slot = glyphs_[byte];
    if (!slot) slot = std::make_unique<Glyph>(render(byte));
    return *slot;
}

// A character the face lacks renders as the face's missing-glyph box, as the
// platform draws it; a glyph FreeType cannot load is empty with no advance.
Glyph SizedFace::render(uint8_t byte) const {
    Glyph glyph;
    const FT_UInt index = FT_Get_Char_Index(face_, cp1252_to_unicode(byte));
    if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT) != 0) return glyph;
    FT_GlyphSlot slot = face_->glyph;
    glyph.advance = static_cast<int32_t>(std::max<FT_Pos>(0, (slot->advance.x + 32) >> 6));
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 || slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    copy_coverage(slot->bitmap, glyph);
    return glyph;
}

}  // namespace morlu::raster
