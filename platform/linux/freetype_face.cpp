// FreeType faces, opened once per (file, face index, em size) while cached, and
// their glyphs rendered as grey coverage.
#include "freetype_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "../raster/cp1252.h"

namespace morlu::raster {
namespace {

// The process's FreeType library, or nullptr when it failed to start: every
// text call then finds no font and draws nothing.
std::shared_ptr<FT_LibraryRec_> freetype_library() {
    static const std::shared_ptr<FT_LibraryRec_> library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) return std::shared_ptr<FT_LibraryRec_>();
        return std::shared_ptr<FT_LibraryRec_>(lib, [](FT_Library l) { FT_Done_FreeType(l); });
    }();
    return library;
}

// Only outline faces are used: a bitmap-only face has no em to scale to.
FT_Face load_scaled_face(FT_Library library, const std::string& path, int32_t index, int32_t em) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

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

SizedFace::SizedFace(std::shared_ptr<FT_LibraryRec_> library, FT_FaceRec_* face, int32_t em)
    : library_(std::move(library)), face_(face), em_(em) {
}

SizedFace::~SizedFace() {
    FT_Done_Face(face_);
}

// A character the face lacks renders as the face's missing-glyph box, as the
// platform draws it; a glyph FreeType cannot load is empty with no advance.
Glyph SizedFace::render(uint8_t byte) {
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

// A file that fails to open is remembered too, so it is not read again per call.
std::shared_ptr<SizedFace> FaceCache::open(const std::string& path, int32_t index, int32_t em) {
    return faces_.get({path, index, em}, [&]() -> std::shared_ptr<SizedFace> {
        const auto library = freetype_library();
        if (!library) return nullptr;
        FT_Face face = load_scaled_face(library.get(), path, index, em);
        return face ? std::make_shared<SizedFace>(library, face, em) : nullptr;
    });
}

}  // namespace morlu::raster
