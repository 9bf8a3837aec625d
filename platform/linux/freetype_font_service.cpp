// The Linux edition's font service: the face file from fontconfig, the em from
// the requested height, the metrics in whole pixels, glyphs from FreeType.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>

#include "fontconfig_match.h"
#include "freetype_face.h"

namespace morlu::raster {
namespace {

// A height of 0 asks for the default font size: an em of 16 pixels, the
// platform's 12-point text on a 96 dpi screen.
constexpr int32_t DEFAULT_EM = 16;
// The largest em or cell a request gets. Larger requests are drawn at this
// size, which bounds one cached glyph to about a quarter of a megabyte.
constexpr int32_t MAX_SIZE = 512;

// A face's vertical design metrics, in font units.
struct DesignMetrics {
    int64_t ascent = 0;
    int64_t descent = 0;
    int64_t line_gap = 0;
    int64_t units_per_em = 1;
};

// Pixels per font unit, as the ratio num / den.
struct Scale {
    int64_t num = 1;
    int64_t den = 1;
    int32_t apply(int64_t units) const {
        return static_cast<int32_t>((2 * units * num + den) / (2 * den));
    }
};

// The platform's cell is the OS/2 "Windows" ascent and descent, which cover
// every glyph; faces without them fall back to the horizontal header. The
// line gap is whatever the horizontal header's line spacing adds to the cell.
DesignMetrics design_metrics(FT_Face face) {
    DesignMetrics m;
    m.units_per_em = std::max<int64_t>(1, face->units_per_EM);
    m.ascent = std::max<int64_t>(0, face->ascender);
    m.descent = std::max<int64_t>(0, -static_cast<int64_t>(face->descender));
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        m.ascent = os2->usWinAscent;
        m.descent = os2->usWinDescent;
    }
    if (m.ascent + m.descent == 0) m.ascent = m.units_per_em;
    m.line_gap = std::max<int64_t>(0, face->height - (m.ascent + m.descent));
    return m;
}

// The em in pixels for a requested height: -h is an em of h, +h a cell of h.
// The platform's fixed-pitch stock font has no internal leading, so a fixed
// pitch cell of h is an em of h: 13 pixels give the 8-pixel characters of the
// platform's log console.
int32_t em_for_height(int32_t height, bool fixed_pitch, const DesignMetrics& d) {
    if (height == 0) return DEFAULT_EM;
    if (height < 0) return static_cast<int32_t>(std::min<int64_t>(-static_cast<int64_t>(height), MAX_SIZE));
    const int64_t cell = std::min(height, MAX_SIZE);
    if (fixed_pitch) return static_cast<int32_t>(cell);
    const Scale to_em{d.units_per_em, d.ascent + d.descent};
    return std::max(1, to_em.apply(cell));
}

// Vertical metrics: a positive height is the cell exactly; otherwise the
// ascent and descent are the design values at the em, each rounded.
void set_vertical_metrics(FontMetrics& m, int32_t height, int32_t em, const DesignMetrics& d) {
    const bool cell_given = height > 0;
    const Scale scale =
        cell_given ? Scale{std::min(height, MAX_SIZE), d.ascent + d.descent} : Scale{em, d.units_per_em};
    m.ascent = scale.apply(d.ascent);
    m.descent = cell_given ? static_cast<int32_t>(scale.num) - m.ascent : scale.apply(d.descent);
    m.height = m.ascent + m.descent;
    m.internal_leading = m.height - em;
    m.external_leading = scale.apply(d.line_gap);
}

// Widths as drawn: 'x' advances as text_extent measures it.
void set_widths(FontMetrics& m, SizedFace& face) {
    m.ave_char_width = face.glyph('x').advance;
    m.max_char_width = static_cast<int32_t>((face.face()->size->metrics.max_advance + 32) >> 6);
}

class FreeTypeFontService final : public FontService {
public:
    std::shared_ptr<const Font> open(const FontRequest& request) override;

    std::vector<CacheFill> fill() const override {
        return {matcher_.fill(), faces_.fill()};
    }

private:
    FontMatcher matcher_;
    FaceCache faces_;
};

// Design units are the same at every size, so they are read from the face at
// the default em, which most programs open anyway.
std::shared_ptr<const Font> FreeTypeFontService::open(const FontRequest& request) {
    const auto file = matcher_.match(request.face, request.weight, request.italic, request.monospace);
    if (!file) return nullptr;
    const auto unit_face = faces_.open(file->path, file->index, DEFAULT_EM);
    if (!unit_face) return nullptr;
    const DesignMetrics design = design_metrics(unit_face->face());
    const int32_t em = em_for_height(request.height, request.monospace, design);
    auto face = faces_.open(file->path, file->index, em);
    if (!face) return nullptr;
    FontMetrics metrics;
    set_vertical_metrics(metrics, request.height, em, design);
    set_widths(metrics, *face);
    return std::make_shared<const Font>(std::move(face), metrics, file->family);
}

}  // namespace

std::unique_ptr<FontService> make_font_service() {
    return std::make_unique<FreeTypeFontService>();
}

}  // namespace morlu::raster
