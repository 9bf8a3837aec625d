#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "golden_png.h"
#include "raster_picture.h"

namespace morlu::raster::testing {
namespace {

// Coordinates that stress clipping and overflow: the int32 limits, values just
// inside them, far off the surface, and on it.
class Arguments {
public:
    explicit Arguments(uint32_t seed) : rng_(seed) {
    }

    int32_t coord() {
        constexpr int32_t EXTREMES[] = {INT32_MIN, INT32_MIN + 1, -(1 << 30), -70001,        -1,
                                        0,         1 << 30,       70001,      INT32_MAX - 1, INT32_MAX};
        if (pick(3) == 0) return EXTREMES[pick(std::size(EXTREMES))];
        return static_cast<int32_t>(pick(40)) - 10;
    }
    Point point() {
        return {coord(), coord()};
    }
    Pen pen() {
        constexpr int32_t WIDTHS[] = {0, 1, 1, 2, 3, 4, 5, 8, 1 << 20, INT32_MAX, -5};
        return {.null = pick(6) == 0, .width = WIDTHS[pick(std::size(WIDTHS))], .color = RED};
    }
    Brush brush() {
        return {.null = pick(4) == 0, .color = BLUE};
    }
    size_t pick(size_t n) {
        return std::uniform_int_distribution<size_t>(0, n - 1)(rng_);
    }

private:
    std::mt19937 rng_;
};

// Draws a random shape through a clip box inside a larger surface.
void draw_random_shape(Arguments& args, Surface& s, const PixelBox& clip) {
    switch (args.pick(4)) {
        case 0:
            draw_rectangle(s, clip, {args.coord(), args.coord(), args.coord(), args.coord()}, args.pen(),
                           args.brush());
            break;
        case 1:
            draw_ellipse(s, clip, {args.coord(), args.coord(), args.coord(), args.coord()}, args.pen(),
                         args.brush());
            break;
        case 2: {
            std::vector<Point> pts(args.pick(7));
            for (Point& p : pts) p = args.point();
            draw_polygon(s, clip, pts, args.pen(), args.brush());
            break;
        }
        default:
            draw_line(s, clip, args.point(), args.point(), args.pen());
    }
}

TEST(ShapesFuzz, RandomAndExtremeArgumentsOnlyTouchTheClipBox) {
    Arguments args(20240611);
    const PixelBox clip{3, 2, 19, 14};
    for (int i = 0; i < 4000; ++i) {
        Surface s({23, 17}, WHITE);
        draw_random_shape(args, s, clip);
        for (int32_t y = 0; y < 17; ++y) {
            for (int32_t x = 0; x < 23; ++x) {
                const bool inside = x >= clip.x0 && x < clip.x1 && y >= clip.y0 && y < clip.y1;
                ASSERT_TRUE(inside || s.at(x, y) == WHITE) << "shape " << i << " at " << x << "," << y;
            }
        }
    }
}

// Boxes at least three pixels across; thinner ones lose the fill's right
// column and bottom row, as Rectangle's fill does.
TEST(ShapesFuzz, EllipsesFillExactlyWhatTheirOutlineEncloses) {
    Arguments args(99);
    for (int i = 0; i < 2000; ++i) {
        const Rect box{args.coord(), args.coord(), args.coord(), args.coord()};
        if (std::abs(int64_t{box.right} - box.left) < 3 || std::abs(int64_t{box.bottom} - box.top) < 3)
            continue;
        Surface outlined({30, 30}, WHITE), filled({30, 30}, WHITE);
        draw_ellipse(outlined, outlined.bounds(), box, red_pen(), BLUE_BRUSH);
        draw_ellipse(filled, filled.bounds(), box, NULL_PEN, BLUE_BRUSH);
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 30; ++x)
                ASSERT_EQ(outlined.at(x, y) != WHITE, filled.at(x, y) == BLUE)
                    << box.left << "," << box.top << "," << box.right << "," << box.bottom << " at " << x
                    << "," << y;
    }
}

// Random shapes piled on one surface per batch, compared with the picture
// drawn when the rasteriser was last known right: any change to any pixel of
// any shape shows, and a failure writes a picture of where. The choices use the engine's own output,
// which the language fixes, so every build draws the same shapes.
class Pile {
public:
    explicit Pile(uint32_t seed) : rng_(seed) {
    }
    uint32_t pick(uint32_t n) {
        return static_cast<uint32_t>(rng_() % n);
    }
    // Mostly on or near a 160 x 120 surface, now and then far off it.
    int32_t coord() {
        constexpr int32_t FAR[] = {INT32_MIN, -(1 << 30), -4000, 4000, 1 << 30, INT32_MAX};
        if (pick(20) == 0) return FAR[pick(std::size(FAR))];
        return static_cast<int32_t>(pick(200)) - 20;
    }
    Pen pen() {
        constexpr int32_t WIDTHS[] = {0, 1, 1, 2, 3, 4, 5, 6, 7, 9, 16, 40};
        return {.null = pick(6) == 0, .width = WIDTHS[pick(std::size(WIDTHS))], .color = color()};
    }
    Brush brush() {
        return {.null = pick(4) == 0, .color = color()};
    }
    uint32_t color() {
        return static_cast<uint32_t>(rng_()) & 0xFFFFFF;
    }

private:
    std::mt19937 rng_;
};

// The shape's arguments are drawn from the generator last to first, one
// statement each: the order in which a call's arguments are evaluated differs
// between compilers, and the golden pictures must not.
void draw_piled_shape(Pile& p, Surface& s, const PixelBox& clip) {
    const size_t kind = p.pick(4);
    if (kind == 3) {
        const Pen pen = p.pen();
        const Point to{p.coord(), p.coord()};
        const Point from{p.coord(), p.coord()};
        draw_line(s, clip, from, to, pen);
        return;
    }
    if (kind == 2) {
        std::vector<Point> pts(3 + p.pick(6));
        for (Point& v : pts) v = {p.coord(), p.coord()};
        const Brush brush = p.brush();
        const Pen pen = p.pen();
        draw_polygon(s, clip, pts, pen, brush);
        return;
    }
    const Brush brush = p.brush();
    const Pen pen = p.pen();
    const Rect box{p.coord(), p.coord(), p.coord(), p.coord()};
    if (kind == 0) draw_rectangle(s, clip, box, pen, brush);
    if (kind == 1) draw_ellipse(s, clip, box, pen, brush);
}

// Twelve piles, every other one through a clip box inside the surface.
TEST(ShapesFuzz, RandomShapesGiveTheGoldenPictures) {
    Pile pile(7);
    for (int batch = 0; batch < 12; ++batch) {
        Surface s({160, 120}, WHITE);
        const PixelBox clip = batch % 2 ? PixelBox{7, 5, 150, 111} : s.bounds();
        for (int i = 0; i < 300; ++i) draw_piled_shape(pile, s, clip);
        const std::string name =
            std::string("pile-") + (batch < 10 ? "0" : "") + std::to_string(batch) + ".png";
        EXPECT_TRUE(matches_golden(golden_dir() / "piles" / name, s));
    }
}

}  // namespace
}  // namespace morlu::raster::testing
