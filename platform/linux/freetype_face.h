// FreeType faces at one em size, rendering glyphs as grey coverage, and the
// cache that opens each (file, face index, em) once. FreeType types appear here
// as forward declarations, so including this header pulls in no FreeType header.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>

#include "../raster/bounded_cache.h"
#include "../raster/font_service.h"

struct FT_FaceRec_;
struct FT_LibraryRec_;

namespace morlu::raster {

// A font file opened at an em of `em` pixels.
class SizedFace final : public GlyphFace {
public:
    SizedFace(std::shared_ptr<FT_LibraryRec_> library, FT_FaceRec_* face, int32_t em);
    ~SizedFace() override;

    FT_FaceRec_* face() const {
        return face_;
    }
    int32_t em() const {
        return em_;
    }

private:
    Glyph render(uint8_t byte) override;

    std::shared_ptr<FT_LibraryRec_> library_;  // outlives face_, whatever order statics die in
    FT_FaceRec_* face_ = nullptr;
    int32_t em_ = 0;
};

// Faces open for the fonts made from them.
class FaceCache {
public:
    static constexpr size_t FACE_LIMIT = 32;

    // `path` (face `index` of the file) at an em of `em` pixels. nullptr when
    // FreeType is unavailable or the file cannot be opened at that size.
    std::shared_ptr<SizedFace> open(const std::string& path, int32_t index, int32_t em);

    CacheFill fill() const {
        return faces_.fill();
    }

private:
    using FaceKey = std::tuple<std::string, int32_t, int32_t>;
    BoundedCache<FaceKey, std::shared_ptr<SizedFace>> faces_{FACE_LIMIT};
};

}  // namespace morlu::raster
