// The browser edition's font service: the page's two bundled faces, morlu Sans
// and morlu Mono (the code page 1252 characters of Liberation Sans and Liberation
// Mono), drawn by the browser's canvas text (web_services.js) and read back as
// grey coverage. The metrics follow the faces' design values,
// scaled as the Linux edition scales them.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../raster/cp1252.h"
#include "../raster/font_service.h"

// The page's side, in web_services.js: the advance of `codepoint` in the CSS
// font `css`, and its coverage in a buffer the caller frees; fields are left,
// top, width, rows, advance and the buffer's address.
extern "C" void morlu_web_glyph(const char* css, int32_t codepoint, int32_t* fields);

namespace morlu::raster {
namespace {

// A height of 0 asks for the default font size: an em of 16 pixels, as in the
// other editions.
constexpr int32_t DEFAULT_EM = 16;
// The largest em or cell a request gets, as in the other editions.
constexpr int32_t MAX_SIZE = 512;

// A bundled face: the name the page's @font-face gives it and its design
// metrics in font units (the OS/2 Windows ascent and descent, the horizontal
// header's line gap and widest advance), read from the files the page holds
// (build-web/fonts/, made by tools/web/subset_font.py).
struct BundledFace {
    const char* css_family;
    const char* family;
    int64_t units_per_em;
    int64_t ascent;
    int64_t descent;
    int64_t line_gap;
    int64_t max_advance;
};
constexpr BundledFace SANS{"morlu-sans", "morlu Sans", 2048, 1854, 434, 67, 2079};
constexpr BundledFace MONO{"morlu-mono", "morlu Mono", 2048, 1705, 615, 0, 1229};

// Names that mean one of the two faces; any other name falls back to Sans, or
// to Mono for a fixed-pitch request, as the desktop's font matching does.
struct KnownName {
    std::string_view name;
    const BundledFace* face;
};
constexpr std::array KNOWN_NAMES{
    KnownName{"liberation sans", &SANS}, KnownName{"arial", &SANS},
    KnownName{"helvetica", &SANS},       KnownName{"sans-serif", &SANS},
    KnownName{"dejavu sans", &SANS},     KnownName{"liberation mono", &MONO},
    KnownName{"courier new", &MONO},     KnownName{"courier", &MONO},
    KnownName{"monospace", &MONO},       KnownName{"dejavu sans mono", &MONO},
};

const BundledFace& match_face(const FontRequest& r) {
    std::string lower(r.face);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const KnownName& k : KNOWN_NAMES)
        if (k.name == lower) return *k.face;
    return r.monospace ? MONO : SANS;
}

int32_t scale(int64_t units, int64_t num, int64_t den) {
    return static_cast<int32_t>((2 * units * num + den) / (2 * den));
}

// The em in pixels: -h is an em of h, +h a cell of h. A fixed-pitch cell of h is
// an em of h, as the platform's stock fixed font has no internal leading.
int32_t em_for_height(int32_t height, bool fixed_pitch, const BundledFace& f) {
    if (height == 0) return DEFAULT_EM;
    if (height < 0) return static_cast<int32_t>(std::min<int64_t>(-static_cast<int64_t>(height), MAX_SIZE));
    const int32_t cell = std::min(height, MAX_SIZE);
    if (fixed_pitch) return cell;
    return std::max(1, scale(cell, f.units_per_em, f.ascent + f.descent));
}

FontMetrics metrics_for(int32_t height, int32_t em, const BundledFace& f) {
    FontMetrics m;
    const bool cell_given = height > 0;
    const int64_t num = cell_given ? std::min(height, MAX_SIZE) : em;
    const int64_t den = cell_given ? f.ascent + f.descent : f.units_per_em;
    m.ascent = scale(f.ascent, num, den);
    m.descent = cell_given ? static_cast<int32_t>(num) - m.ascent : scale(f.descent, num, den);
    m.height = m.ascent + m.descent;
    m.internal_leading = m.height - em;
    m.external_leading = scale(f.line_gap, num, den);
    m.max_char_width = scale(f.max_advance, em, f.units_per_em);
    return m;
}

// One face at one size, rendered by the browser glyph by glyph.
class CanvasFace final : public GlyphFace {
public:
    explicit CanvasFace(std::string css) : css_(std::move(css)) {
    }

private:
    Glyph render(uint8_t byte) override {
        enum { LEFT, TOP, WIDTH, ROWS, ADVANCE, BUFFER, FIELDS };
        int32_t f[FIELDS] = {};
        morlu_web_glyph(css_.c_str(), static_cast<int32_t>(cp1252_to_unicode(byte)), f);
        Glyph g;
        g.advance = std::max(0, f[ADVANCE]);
        auto* bits = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(f[BUFFER]));
        if (bits && f[WIDTH] > 0 && f[ROWS] > 0) {
            g.left = f[LEFT];
            g.top = f[TOP];
            g.width = f[WIDTH];
            g.rows = f[ROWS];
            g.coverage.assign(bits, bits + static_cast<size_t>(g.width) * static_cast<size_t>(g.rows));
        }
        std::free(bits);
        return g;
    }

    std::string css_;
};

class CanvasFontService final : public FontService {
public:
    std::shared_ptr<const Font> open(const FontRequest& request) override {
        const BundledFace& face = match_face(request);
        const int32_t em = em_for_height(request.height, request.monospace, face);
        std::string css = request.italic ? "italic " : "";
        css += std::to_string(std::clamp(request.weight, 1, 1000)) + ' ' + std::to_string(em) + "px " +
               face.css_family;
        auto glyphs = faces_.get(css, [&] { return std::make_shared<CanvasFace>(css); });
        FontMetrics metrics = metrics_for(request.height, em, face);
        metrics.ave_char_width = glyphs->glyph('x').advance;
        return std::make_shared<const Font>(std::move(glyphs), metrics, face.family);
    }

    std::vector<CacheFill> fill() const override {
        return {faces_.fill()};
    }

private:
    // Faces by CSS font, at most as many as the Linux edition keeps open.
    BoundedCache<std::string, std::shared_ptr<CanvasFace>> faces_{32};
};

}  // namespace

std::unique_ptr<FontService> make_font_service() {
    return std::make_unique<CanvasFontService>();
}

}  // namespace morlu::raster
