// Exact GIF images of any picture: a GIF image holds at most 256 colours.
//
// A box with at most 256 colours becomes one image whose palette is exactly its
// colours, in the order they first appear (rows top to bottom, left to right),
// so the same pixels always give the same palette. A box with more colours is
// split, never quantised: its rows are taken top to bottom into bands while a
// band's colours number at most 256, and a single row with more than 256 is cut
// into runs left to right the same way. The pieces are images drawn one after
// another at no delay, the last carrying the box's delay; decoded together they
// are the box's pixels exactly. (Browsers show a 0 delay as about 0.1 s, so a
// frame that needed splitting stays a little longer on their screens.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/headless/gif_encoder.h"

namespace morlu {

// `height` rows of `width` 0x00RRGGBB pixels, each `stride` after the one above,
// placed at (left, top) of the picture.
struct PixelBlock {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    const uint32_t* pixels = nullptr;
    size_t stride = 0;

    const uint32_t* row(int32_t y) const {
        return pixels + static_cast<size_t>(y) * stride;
    }
};

// The images that draw `block` exactly (see above), the last shown for
// `delay_cs`, appended to `out`. An empty block adds nothing.
void append_gif_images(const PixelBlock& block, uint16_t delay_cs, std::vector<platform::GifImage>& out);

}  // namespace morlu
