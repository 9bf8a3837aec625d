// Pictures of surfaces for exact-pixel tests of the raster shapes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/raster/shapes.h"

namespace morlu::raster::testing {

constexpr uint32_t WHITE = 0x00FFFFFF;
constexpr uint32_t RED = 0x00FF0000;
constexpr uint32_t BLUE = 0x000000FF;

// The surface as rows of text: '#' for `ink`, '.' for anything else, so a
// failure prints both pictures.
inline std::string picture(const Surface& s, uint32_t ink) {
    std::string out;
    for (int32_t y = 0; y < s.size().h; ++y) {
        for (int32_t x = 0; x < s.size().w; ++x) out += s.at(x, y) == ink ? '#' : '.';
        out += '\n';
    }
    return out;
}

// A white surface of `size` after `draw(surface)`, as a picture of `ink`.
template <class Draw>
std::string draw_picture(Size size, uint32_t ink, Draw&& draw) {
    Surface s(size, WHITE);
    draw(s);
    return picture(s, ink);
}

inline Pen red_pen(int32_t width = 1) {
    return {.null = false, .width = width, .color = RED};
}
constexpr Pen NULL_PEN{.null = true};
constexpr Brush NULL_BRUSH{.null = true};
constexpr Brush RED_BRUSH{.null = false, .color = RED};
constexpr Brush BLUE_BRUSH{.null = false, .color = BLUE};

}  // namespace morlu::raster::testing
