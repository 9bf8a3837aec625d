// FreeType faces, opened once per (file, face index, em size) for the process.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <tuple>

#include "font_face.h"

namespace morlu::raster {
namespace {

using FaceKey = std::tuple<std::string, int32_t, int32_t>;

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

std::map<FaceKey, std::shared_ptr<SizedFace>>& face_cache() {
    static std::map<FaceKey, std::shared_ptr<SizedFace>> cache;
    return cache;
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

}  // namespace

SizedFace::SizedFace(std::shared_ptr<FT_LibraryRec_> library, FT_FaceRec_* face, int32_t em)
    : library_(std::move(library)), face_(face), em_(em) {
}

SizedFace::~SizedFace() {
    FT_Done_Face(face_);
}

std::shared_ptr<SizedFace> open_sized_face(const std::string& path, int32_t index, int32_t em) {
    auto& cache = face_cache();
    FaceKey key{path, index, em};
    if (const auto it = cache.find(key); it != cache.end()) return it->second;
    const auto library = freetype_library();
    if (!library) return nullptr;
    // A file that fails to open is remembered too, so it is not read again per call.
    FT_Face face = load_scaled_face(library.get(), path, index, em);
    auto sized = face ? std::make_shared<SizedFace>(library, face, em) : nullptr;
    cache.emplace(std::move(key), sized);
    return sized;
}

}  // namespace morlu::raster
