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

// A GIF89a file made an image at a time, so that a long recording keeps only
// encoded bytes: it shows the images in order and then starts again from the
// first. The same images always give the same bytes.
class GifWriter {
public:
    // The picture's size, 1..65535 each; any other makes a writer that refuses everything.
    GifWriter(int32_t width, int32_t height);
    // Append an image; false, adding nothing, when it does not fit a GIF (an
    // image outside the picture, a palette of 0 or more than 256 colours, an
    // index outside its palette) or the picture's size did not.
    bool add(const GifImage& image);
    // The whole file; the writer is spent.
    std::vector<uint8_t> finish();

private:
    bool fits(const GifImage& image) const;

    int32_t width_ = 0;
    int32_t height_ = 0;
    bool usable_ = false;
    std::vector<uint8_t> bytes_;
};

// The bytes of the animation's GIF file, or empty when an image does not fit.
std::vector<uint8_t> encode_gif(const GifAnimation& animation);

}  // namespace morlu::platform
