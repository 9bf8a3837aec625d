// Animated GIF files, encoded by morlu itself, the same in every edition.
//
// Why not the platforms' encoders: the Windows imaging component, as Wine runs
// it (8.0), cannot place an image or give it a delay (the metadata writers of
// its GIF encoder and of each frame answer E_NOTIMPL), and the Windows edition
// is tested under Wine. One encoder for both editions instead gives the same
// bytes for the same tape on Linux and on Windows; giflib decodes its files in
// the tests.
//
// What is shown, when and in which colours is decided before: every image comes
// with its own palette and indices, so the encoder never chooses a colour.
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
    int32_t width = 0;  // the picture's size, 1..65535 each: every image lies inside it
    int32_t height = 0;
    std::vector<GifImage> images;
};

// The bytes of a GIF89a file that shows the images in order and then starts
// again from the first; empty when the animation does not fit a GIF (a size or
// place outside 0..65535, an image outside the picture, a palette of 0 or more
// than 256 colours, an index outside its palette). The same animation always
// gives the same bytes.
std::vector<uint8_t> encode_gif(const GifAnimation& animation);

}  // namespace morlu::platform
