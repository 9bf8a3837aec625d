// The inside of a Font: a FreeType face at one em size and its rendered glyphs.
// Shared by the text files of this folder only; FreeType types appear here as
// forward declarations so that including this header pulls in no FreeType header.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text.h"

struct FT_FaceRec_;
struct FT_LibraryRec_;

namespace morlu::raster {

// One character rendered as grey coverage (0 = none, 255 = full), placed
// relative to the pen on the baseline.
struct Glyph {
    int32_t left = 0;  // first column, right of the pen
    int32_t top = 0;   // first row, above the baseline
    int32_t width = 0;
    int32_t rows = 0;
    int32_t advance = 0;            // hinted, whole pixels, never negative
    std::vector<uint8_t> coverage;  // rows * width, top row first
};

// A font file opened at an em of `em` pixels. Glyphs are rendered on first use
// and kept for the life of the process, so each is rendered once per size.
class SizedFace {
public:
    SizedFace(std::shared_ptr<FT_LibraryRec_> library, FT_FaceRec_* face, int32_t em);
    ~SizedFace();
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;

    FT_FaceRec_* face() const {
        return face_;
    }
    int32_t em() const {
        return em_;
    }
    // The glyph of a code page 1252 byte, rendered on first use.
    const Glyph& glyph(uint8_t byte);

private:
    Glyph render(uint8_t byte) const;

    std::shared_ptr<FT_LibraryRec_> library_;  // outlives face_, whatever order statics die in
    FT_FaceRec_* face_ = nullptr;
    int32_t em_ = 0;
    std::array<std::unique_ptr<Glyph>, 256> glyphs_{};
};

// Open `path` (face `index` of the file) at an em of `em` pixels. A face is
// opened once per (path, index, em) and shared. Returns nullptr when FreeType
// is unavailable or the file cannot be opened at that size.
std::shared_ptr<SizedFace> open_sized_face(const std::string& path, int32_t index, int32_t em);

// A resolved font: metrics at one request's height, glyphs from a shared face.
class Font {
public:
    Font(std::shared_ptr<SizedFace> face, const FontMetrics& metrics, std::string family)
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
    std::shared_ptr<SizedFace> face_;
    FontMetrics metrics_;
    std::string family_;
};

}  // namespace morlu::raster
