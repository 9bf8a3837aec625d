// The Windows edition's font service: a request becomes a logical font, the
// service's own matching picks the face (an unknown name such as "MORLU-font"
// falls back as on any Windows program), and its metrics and glyphs are the service's.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "../raster/cp1252.h"
#include "../raster/font_service.h"

namespace morlu::raster {
namespace {

// A height of 0 asks for the default font size: an em of 16 pixels, the
// platform's 12-point text on a 96 dpi screen, as in the Linux edition.
constexpr int32_t DEFAULT_EM = 16;
// The largest em or cell a request gets, as in the Linux edition: it bounds one
// cached glyph to about a quarter of a megabyte.
constexpr int32_t MAX_SIZE = 512;
// GGO_GRAY8_BITMAP coverage runs from 0 to 64.
constexpr uint32_t GRAY8_LEVELS = 64;

// The memory context that fonts are measured and rendered in, shared by the
// service and every face it made, and deleted after the last of them.
using MeasuringDc = std::shared_ptr<HDC__>;

MeasuringDc make_measuring_dc() {
    return MeasuringDc(CreateCompatibleDC(nullptr), [](HDC dc) {
        if (dc) DeleteDC(dc);
    });
}

// The service's font selected into the measuring context for as long as it lives.
class Selected {
public:
    Selected(HDC dc, HFONT font) : dc_(dc), old_(SelectObject(dc, font)) {
    }
    ~Selected() {
        SelectObject(dc_, old_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

int32_t service_height(int32_t height) {
    if (height == 0) return -DEFAULT_EM;
    return std::clamp(height, -MAX_SIZE, MAX_SIZE);
}

// The console's fixed font asks for "monospace": the service's own fixed-pitch
// face, chosen by pitch and family rather than by a name it does not know.
// Face names are code page 1252 text, as every string of the program's; the
// service is asked in UTF-16, since the program's own code page is UTF-8.
HFONT create_service_font(const FontRequest& r, int32_t height) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    // The platform's stock fixed font has 8-pixel characters in a 13-pixel
    // cell; a fixed-pitch request keeps that proportion at any height.
    if (r.monospace) lf.lfWidth = (std::abs(height) * 8 + 6) / 13;
    lf.lfWeight = r.weight;
    lf.lfItalic = r.italic ? TRUE : FALSE;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lf.lfPitchAndFamily = r.monospace ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE;
    if (!(r.monospace && r.face == "monospace")) {
        const size_t n = std::min(r.face.size(), std::size(lf.lfFaceName) - 1);
        for (size_t i = 0; i < n; ++i)
            lf.lfFaceName[i] = static_cast<wchar_t>(cp1252_to_unicode(static_cast<uint8_t>(r.face[i])));
    }
    return CreateFontIndirectW(&lf);
}

FontMetrics read_metrics(HDC dc) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    FontMetrics m;
    m.height = tm.tmHeight;
    m.ascent = tm.tmAscent;
    m.descent = tm.tmDescent;
    m.internal_leading = tm.tmInternalLeading;
    m.external_leading = tm.tmExternalLeading;
    m.ave_char_width = tm.tmAveCharWidth;
    m.max_char_width = tm.tmMaxCharWidth;
    return m;
}

// A service font with its metrics and face name.
struct Made {
    HFONT font = nullptr;
    FontMetrics metrics;
    std::string family;
};

Made make_service_font(HDC dc, const FontRequest& request, int32_t height) {
    Made made;
    made.font = create_service_font(request, height);
    if (!made.font) return made;
    const Selected selected(dc, made.font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    for (const wchar_t* c = face; *c; ++c) {
        const int byte = cp1252_from_unicode(*c);
        made.family += byte < 0 ? '?' : static_cast<char>(byte);
    }
    made.metrics = read_metrics(dc);
    return made;
}

// A positive height is the cell exactly, as the Windows font mapper gives it
// for outline fonts. Some mappers (Wine's) round the cell a pixel or two away
// from the request, so the largest font whose cell fits is taken and its
// descent and internal leading padded to the requested cell.
Made make_cell_font(HDC dc, const FontRequest& request, int32_t cell) {
    Made made = make_service_font(dc, request, cell);
    for (int32_t h = cell - 1; made.font && made.metrics.height > cell && h > 0; --h) {
        DeleteObject(made.font);
        made = make_service_font(dc, request, h);
    }
    if (!made.font || made.metrics.height >= cell) return made;
    const int32_t pad = cell - made.metrics.height;
    made.metrics.height = cell;
    made.metrics.descent += pad;
    made.metrics.internal_leading += pad;
    return made;
}

// Grey coverage of one character from the service's glyph outline. Rows of the
// service's bitmap are padded to four bytes.
Glyph render_glyph(HDC dc, char32_t cp) {
    Glyph g;
    GLYPHMETRICS gm{};
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const auto ch = static_cast<UINT>(cp);
    const DWORD size = GetGlyphOutlineW(dc, ch, GGO_GRAY8_BITMAP, &gm, 0, nullptr, &identity);
    if (size == GDI_ERROR) {
        INT width = 0;
        if (GetCharWidth32W(dc, ch, ch, &width)) g.advance = std::max(0, width);
        return g;
    }
    g.advance = std::max<int32_t>(0, gm.gmCellIncX);
    if (size == 0) return g;  // a blank such as the space: an advance only
    std::vector<uint8_t> bits(size);
    if (GetGlyphOutlineW(dc, ch, GGO_GRAY8_BITMAP, &gm, size, bits.data(), &identity) == GDI_ERROR) return g;
    g.left = gm.gmptGlyphOrigin.x;
    g.top = gm.gmptGlyphOrigin.y;
    g.width = static_cast<int32_t>(gm.gmBlackBoxX);
    g.rows = static_cast<int32_t>(gm.gmBlackBoxY);
    const size_t pitch = (gm.gmBlackBoxX + 3) & ~3u;
    if (pitch * gm.gmBlackBoxY > bits.size()) return Glyph{.advance = g.advance};
    g.coverage.resize(size_t{gm.gmBlackBoxX} * gm.gmBlackBoxY);
    for (size_t y = 0; y < gm.gmBlackBoxY; ++y)
        for (size_t x = 0; x < gm.gmBlackBoxX; ++x) {
            const uint32_t level = std::min<uint32_t>(bits[y * pitch + x], GRAY8_LEVELS);
            g.coverage[y * gm.gmBlackBoxX + x] =
                static_cast<uint8_t>((level * 255 + GRAY8_LEVELS / 2) / GRAY8_LEVELS);
        }
    return g;
}

// A font of the service as a face: glyphs come from its outlines.
class GdiFace final : public GlyphFace {
public:
    GdiFace(MeasuringDc dc, HFONT font) : dc_(std::move(dc)), font_(font) {
    }
    ~GdiFace() override {
        DeleteObject(font_);
    }

private:
    Glyph render(uint8_t byte) override {
        const Selected selected(dc_.get(), font_);
        return render_glyph(dc_.get(), cp1252_to_unicode(byte));
    }

    MeasuringDc dc_;
    HFONT font_;
};

class GdiFontService final : public FontService {
public:
    std::shared_ptr<const Font> open(const FontRequest& request) override;

    // The service keeps its own fonts; this one caches nothing of its own.
    std::vector<CacheFill> fill() const override {
        return {};
    }

private:
    MeasuringDc dc_ = make_measuring_dc();
};

std::shared_ptr<const Font> GdiFontService::open(const FontRequest& request) {
    const int32_t height = service_height(request.height);
    Made made = height > 0 ? make_cell_font(dc_.get(), request, height)
                           : make_service_font(dc_.get(), request, height);
    if (!made.font) return nullptr;
    // A negative height is the em exactly, so the internal leading, by its
    // definition, is the cell minus the em; the mapper's own value may be
    // rounded separately.
    if (height < 0) made.metrics.internal_leading = made.metrics.height + height;
    auto face = std::make_shared<GdiFace>(dc_, made.font);
    return std::make_shared<const Font>(std::move(face), made.metrics, std::move(made.family));
}

}  // namespace

std::unique_ptr<FontService> make_font_service() {
    return std::make_unique<GdiFontService>();
}

}  // namespace morlu::raster
