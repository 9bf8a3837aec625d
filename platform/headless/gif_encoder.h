// The GIF seam: each edition encodes animations with its own imaging library
// (giflib on Linux, the platform's imaging component in the Windows edition).
// What is shown, when and in which colours is decided before: every image comes
// with its own palette and indices, so no encoder chooses or changes a colour.
#pragma once

#include <cstdint>
#include <vector>

namespace morlu::platform {

// One image of an animation: a box of the picture in at most 256 colours,
// drawn over what the images before it left, then shown for `delay_cs`
// hundredths of a second before the next image is drawn.
struct GifImage {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t delay_cs = 0;
    std::vector<uint32_t> palette;  // 1..256 colours, 0x00RRGGBB
    std::vector<uint8_t> indices;   // width x height, rows top to bottom
};

struct GifAnimation {
    int32_t width = 0;  // the picture's size: every image lies inside it
    int32_t height = 0;
    std::vector<GifImage> images;
};

// The bytes of a GIF89a file that shows the images in order and then starts
// again from the first; empty when the encoder fails. The same animation
// always gives the same bytes.
std::vector<uint8_t> encode_gif(const GifAnimation& animation);

}  // namespace morlu::platform
