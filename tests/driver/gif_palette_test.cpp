// Turning frames into GIF images, in both editions: frames and their delays in
// virtual time, and exact palettes for pictures of any number of colours.
#include <gtest/gtest.h>

#include <vector>

#include "gif_palette.h"
#include "gif_recording.h"

namespace morlu {
namespace {

using raster::PixelBox;
using raster::Surface;

bool same_pixels(const Surface& a, const Surface& b) {
    if (!(a.size() == b.size())) return false;
    for (int32_t y = 0; y < a.size().h; ++y)
        for (int32_t x = 0; x < a.size().w; ++x)
            if (a.at(x, y) != b.at(x, y)) return false;
    return true;
}

Surface filled(uint32_t colour) {
    return Surface({4, 3}, colour);
}

// Frames within one hundredth of a second are one frame; delays over what a GIF
// image holds go on in one-pixel images; the last frame stays a second.
TEST(GifRecording, DelaysAreVirtualTimeInHundredths) {
    platform::GifAnimation a;
    GifRecording recording({[&a](raster::Size size) { a.width = size.w, a.height = size.h; },
                            [&a](platform::GifImage&& image) { a.images.push_back(std::move(image)); }});
    recording.add_frame(filled(1), {0, 0, 4, 3}, platform::Millis{0});
    Surface second = filled(1);
    second.at(1, 1) = 2;
    recording.add_frame(second, {0, 0, 4, 3}, platform::Millis{20});
    second.at(2, 2) = 3;
    recording.add_frame(second, {0, 0, 4, 3}, platform::Millis{25});  // replaces the one at 20 ms
    recording.add_frame(second, {0, 0, 4, 3}, platform::Millis{50});  // nothing changed: no frame
    recording.add_frame(filled(4), {0, 0, 4, 3}, platform::Millis{700'000});
    recording.end(platform::Millis{700'010});
    recording.add_frame(filled(5), {0, 0, 4, 3}, platform::Millis{800'000});  // after the end: left out
    EXPECT_EQ(a.width * a.height, 12);
    std::vector<int> delays;
    for (const auto& image : a.images) delays.push_back(image.delay_cs);
    EXPECT_EQ(delays, (std::vector<int>{2, 65535, 4463, 100}));
    // The second frame is only the box that changed, both changes in it.
    EXPECT_EQ((PixelBox{a.images[1].left, a.images[1].top, a.images[1].left + a.images[1].width,
                        a.images[1].top + a.images[1].height}),
              (PixelBox{1, 1, 3, 3}));
    EXPECT_EQ(a.images[2].width * a.images[2].height, 1);
}

// Pixels drawn from images made by append_gif_images, in order.
Surface draw_images(const std::vector<platform::GifImage>& images, raster::Size size) {
    Surface canvas(size, 0xFFFFFFFF);
    for (const auto& image : images) {
        EXPECT_LE(image.palette.size(), 256u);
        for (int32_t y = 0; y < image.height; ++y)
            for (int32_t x = 0; x < image.width; ++x)
                canvas.at(image.left + x, image.top + y) =
                    image.palette[image.indices[static_cast<size_t>(y * image.width + x)]];
    }
    return canvas;
}

// Up to 256 colours: one image with exactly those colours. More: split into
// images that draw the same pixels, the last with the delay. A row of more
// than 256 colours is split along the row.
TEST(GifPalette, PicturesOfAnyNumberOfColoursAreExact) {
    for (const int colours : {1, 256, 257, 2000}) {
        Surface picture({400, 12}, 0);
        for (int32_t y = 0; y < 12; ++y)
            for (int32_t x = 0; x < 400; ++x)
                picture.at(x, y) = static_cast<uint32_t>((y * 400 + x) % colours) * 97;
        std::vector<platform::GifImage> images;
        append_gif_images({0, 0, 400, 12, picture.pixels(), 400}, 7, images);
        ASSERT_FALSE(images.empty());
        EXPECT_TRUE(same_pixels(draw_images(images, {400, 12}), picture)) << colours;
        if (colours <= 256) {
            EXPECT_EQ(images.size(), 1u);
            EXPECT_EQ(images[0].palette.size(), static_cast<size_t>(colours));
        }
        for (size_t i = 0; i < images.size(); ++i)
            EXPECT_EQ(images[i].delay_cs, i + 1 == images.size() ? 7 : 0);
    }
}

}  // namespace
}  // namespace morlu
