#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "platform/raster/text.h"

namespace morlu::raster {
namespace {

constexpr uint32_t WHITE = 0x00FFFFFF;
constexpr uint32_t BLACK = 0x00000000;
constexpr uint32_t RED = 0x00FF0000;
constexpr uint32_t BLUE = 0x000000FF;
constexpr Size CANVAS{120, 40};

std::shared_ptr<const Font> open_font(const FontRequest& request) {
    static FontCache fonts;
    return fonts.open(request);
}

std::shared_ptr<const Font> font_at(int32_t height, std::string face = "") {
    auto font = open_font({.height = height, .face = std::move(face)});
    EXPECT_NE(font, nullptr) << "no font installed for height " << height;
    return font;
}

struct Drawing {
    int32_t x = 10;
    int32_t y = 10;
    std::string text = "Hello";
    uint32_t color = BLACK;
    std::optional<uint32_t> background{};
    uint32_t paper = WHITE;
    std::optional<PixelBox> clip{};
};

Surface draw(const Font& font, const Drawing& d) {
    Surface s(CANVAS, d.paper);
    draw_text(s, d.clip.value_or(s.bounds()), font, d.x, d.y, d.text, d.color, d.background);
    return s;
}

bool same_pixels(const Surface& a, const Surface& b) {
    for (int32_t y = 0; y < a.size().h; ++y)
        for (int32_t x = 0; x < a.size().w; ++x)
            if (a.at(x, y) != b.at(x, y)) return false;
    return true;
}

// The smallest box holding every pixel that is not `paper`; empty when none is.
PixelBox ink_box(const Surface& s, uint32_t paper) {
    PixelBox ink;
    for (int32_t y = 0; y < s.size().h; ++y)
        for (int32_t x = 0; x < s.size().w; ++x)
            if (s.at(x, y) != paper) ink = unite(ink, {x, y, x + 1, y + 1});
    return ink;
}

TEST(FontHeight, NegativeIsTheEmAndTheCellAddsInternalLeading) {
    const FontMetrics m = font_metrics(*font_at(-12));
    EXPECT_GT(m.height, 12);
    EXPECT_EQ(m.height, m.ascent + m.descent);
    EXPECT_EQ(m.internal_leading, m.height - 12);
    EXPECT_GE(m.external_leading, 0);
}

TEST(FontHeight, PositiveIsTheCellExactly) {
    for (int32_t h = 6; h <= 60; ++h) {
        const FontMetrics m = font_metrics(*font_at(h));
        EXPECT_EQ(m.height, h);
        EXPECT_EQ(m.ascent + m.descent, h);
        EXPECT_GT(m.internal_leading, 0) << "the em is smaller than the cell at " << h;
    }
}

TEST(FontHeight, ZeroIsTheDefaultAndInt32LimitsAreBounded) {
    EXPECT_EQ(font_metrics(*font_at(0)).height, font_metrics(*font_at(-16)).height);
    for (const int32_t h : {INT32_MIN, INT32_MAX, INT32_MIN + 1}) {
        const FontMetrics m = font_metrics(*font_at(h));
        EXPECT_GT(m.height, 0);
        EXPECT_LT(m.height, 2000);
    }
}

TEST(FontMatch, UnknownFaceFallsBackToTheDefaultFace) {
    const auto fallback = font_at(-12, "MORLU-font");
    const auto fallback_default = font_at(-12);
    EXPECT_FALSE(font_family(*fallback).empty());
    EXPECT_EQ(font_family(*fallback), font_family(*fallback_default));
    EXPECT_TRUE(same_pixels(draw(*fallback, {}), draw(*fallback_default, {})));
}

// The platform's metrics, measured with the reference renderer: an unknown
// face is Arial, whose metric twin is Liberation Sans.
TEST(FontMatch, UnknownFaceHasArialMetricsWhereAnArialMetricFaceIsInstalled) {
    const auto label = font_at(-12, "MORLU-font"), error = font_at(-16, "MORLU-font");
    if (font_family(*label) != "Liberation Sans") GTEST_SKIP() << "no Arial-metric face installed";
    EXPECT_EQ(text_extent(*label, "Cng Mvmnt"), (Size{62, 14}));
    EXPECT_EQ(text_extent(*label, "Click a button to control the bug."), (Size{174, 14}));
    EXPECT_EQ(text_extent(*error, "INTERNAL ERROR!"), (Size{148, 17}));
    EXPECT_EQ(font_metrics(*error).ascent, 14);
}

TEST(FontMatch, WeightAndItalicReachTheFace) {
    const auto regular = font_at(-14);
    const auto bold = open_font({.height = -14, .weight = 700});
    const auto italic = open_font({.height = -14, .italic = true});
    ASSERT_TRUE(bold && italic);
    EXPECT_GT(text_extent(*bold, "Hello").w, text_extent(*regular, "Hello").w);
    EXPECT_FALSE(same_pixels(draw(*italic, {}), draw(*regular, {})));
}

TEST(FontMatch, ConsoleFontIsAFixedPitchThirteenPixelCell) {
    const auto console = open_font({.height = 13, .monospace = true, .face = "monospace"});
    ASSERT_NE(console, nullptr);
    const FontMetrics m = font_metrics(*console);
    EXPECT_EQ(m.height, 13);
    EXPECT_EQ(m.ave_char_width, 8);
    for (char c = ' '; c <= '~'; ++c)
        EXPECT_EQ(text_extent(*console, std::string(1, c)).w, m.ave_char_width) << c;
    const auto unnamed = open_font({.height = 13, .monospace = true});
    const auto unknown = open_font({.height = 13, .monospace = true, .face = "MORLU-font"});
    ASSERT_TRUE(unnamed && unknown);
    EXPECT_EQ(font_family(*unnamed), font_family(*console));
    EXPECT_EQ(text_extent(*unknown, "iiii").w, text_extent(*unknown, "MMMM").w);
}

TEST(FontCache, SameRequestGivesTheSameFontAndOtherSizesDoNot) {
    EXPECT_EQ(font_at(-12, "MORLU-font"), font_at(-12, "MORLU-font"));
    EXPECT_NE(font_at(-12), font_at(-13));
}

TEST(TextExtent, HeightIsTheCellWhateverTheStringHolds) {
    const auto font = font_at(-12);
    const int32_t cell = font_metrics(*font).height;
    for (const std::string_view text : {"", "x", "gjpqy", "ÉÀ", "two\nlines", "\n\n\n"})
        EXPECT_EQ(text_extent(*font, text).h, cell) << text;
}

TEST(TextExtent, WidthIsTheSumOfTheCharacterWidths) {
    const auto font = font_at(-12);
    EXPECT_EQ(text_extent(*font, "").w, 0);
    const std::string text = "Hello, World";
    int32_t sum = 0;
    for (const char c : text) sum += text_extent(*font, std::string(1, c)).w;
    EXPECT_EQ(text_extent(*font, text).w, sum);
    EXPECT_GT(text_extent(*font, "Hello, World").w, text_extent(*font, "Hello").w);
}

TEST(DrawText, TransparentChangesOnlyGlyphPixelsInsideTheCell) {
    const auto font = font_at(-12);
    const Drawing d;
    const Surface s = draw(*font, d);
    const Size extent = text_extent(*font, d.text);
    const PixelBox ink = ink_box(s, WHITE);
    ASSERT_FALSE(ink.empty());
    EXPECT_TRUE(intersect(ink, {d.x, d.y, d.x + extent.w, d.y + extent.h}) == ink);
    int32_t full = 0;
    for (int32_t y = ink.y0; y < ink.y1; ++y)
        for (int32_t x = ink.x0; x < ink.x1; ++x) full += s.at(x, y) == BLACK;
    EXPECT_GT(full, 0) << "fully covered stems are exactly the text colour";
}

TEST(DrawText, OpaqueFillsTheWholeCellFirst) {
    const auto font = font_at(-12);
    const Drawing d{.background = BLUE};
    const Surface s = draw(*font, d);
    const Size extent = text_extent(*font, d.text);
    EXPECT_EQ(ink_box(s, WHITE), (PixelBox{d.x, d.y, d.x + extent.w, d.y + extent.h}));
    EXPECT_EQ(s.at(d.x, d.y), BLUE);
    EXPECT_EQ(s.at(d.x + extent.w - 1, d.y + extent.h - 1), BLUE);
    EXPECT_TRUE(same_pixels(draw(*font, {.background = WHITE}), draw(*font, {})));
}

// Red on black shows each pixel's coverage in its red channel; the same text
// in other colours must be bg + (fg - bg) * coverage / 255, rounded, per channel.
TEST(DrawText, EdgesBlendEachChannelByCoverage) {
    const auto font = font_at(-12);
    const Surface coverage = draw(*font, {.text = "Wow", .color = RED, .paper = BLACK});
    const uint32_t fg = 0x00306090;
    const uint32_t bg = 0x00F0A011;
    const Surface s = draw(*font, {.text = "Wow", .color = fg, .paper = bg});
    int32_t partial = 0;
    for (int32_t y = 0; y < CANVAS.h; ++y) {
        for (int32_t x = 0; x < CANVAS.w; ++x) {
            const uint32_t a = coverage.at(x, y) >> 16;
            uint32_t expected = 0;
            for (const int shift : {0, 8, 16}) {
                const double f = (fg >> shift) & 0xFF;
                const double b = (bg >> shift) & 0xFF;
                expected |= static_cast<uint32_t>(std::lround(b + (f - b) * a / 255.0)) << shift;
            }
            ASSERT_EQ(s.at(x, y), expected) << x << "," << y << " coverage " << a;
            partial += a > 0 && a < 255;
        }
    }
    EXPECT_GT(partial, 0) << "edges are anti-aliased";
}

TEST(DrawText, BaselineIsAtTopPlusAscent) {
    const auto font = font_at(-16);
    const int32_t ascent = font_metrics(*font).ascent;
    EXPECT_EQ(ink_box(draw(*font, {.y = 5, .text = "xxx"}), WHITE).y1, 5 + ascent);
    EXPECT_GT(ink_box(draw(*font, {.y = 5, .text = "gjp"}), WHITE).y1, 5 + ascent);
    const PixelBox here = ink_box(draw(*font, {.x = 4, .y = 5}), WHITE);
    const PixelBox there = ink_box(draw(*font, {.x = 7, .y = 8}), WHITE);
    EXPECT_EQ(there, (PixelBox{here.x0 + 3, here.y0 + 3, here.x1 + 3, here.y1 + 3}));
}

TEST(DrawText, BytesAbove127AreCodePage1252) {
    const auto font = font_at(-16);
    const PixelBox euro = ink_box(draw(*font, {.text = "\x80"}), WHITE);
    EXPECT_FALSE(euro.empty());
    EXPECT_FALSE(same_pixels(draw(*font, {.text = "\x80"}), draw(*font, {.text = "\x81"})));
    const PixelBox e_acute = ink_box(draw(*font, {.text = "\xE9"}), WHITE);
    const PixelBox e = ink_box(draw(*font, {.text = "e"}), WHITE);
    EXPECT_LT(e_acute.y0, e.y0) << "the accent sits above the e";
    EXPECT_EQ(e_acute.y1, e.y1);
}

TEST(DrawText, ClipsToTheClipBoxAndIsSafeAtInt32Limits) {
    const auto font = font_at(-12);
    const Surface blank(CANVAS, WHITE);
    const std::string long_text(200, 'W');
    for (const int32_t x : {INT32_MIN, INT32_MIN + 1, INT32_MAX - 1, INT32_MAX})
        for (const int32_t y : {INT32_MIN, 0, INT32_MAX})
            for (const auto& bg : {std::optional<uint32_t>{}, std::optional<uint32_t>{BLUE}})
                EXPECT_TRUE(
                    same_pixels(draw(*font, {.x = x, .y = y, .text = long_text, .background = bg}), blank));
    const PixelBox left{0, 0, 30, CANVAS.h};
    const Surface clipped = draw(*font, {.background = BLUE, .clip = left});
    const Surface whole = draw(*font, {.background = BLUE});
    EXPECT_EQ(ink_box(clipped, WHITE).x1, 30);
    for (int32_t y = 0; y < CANVAS.h; ++y)
        for (int32_t x = 0; x < 30; ++x) EXPECT_EQ(clipped.at(x, y), whole.at(x, y));
    const PixelBox outside{INT32_MIN, INT32_MIN, INT32_MAX, -1};
    EXPECT_TRUE(same_pixels(draw(*font, {.background = BLUE, .clip = outside}), blank));
}

}  // namespace
}  // namespace morlu::raster
