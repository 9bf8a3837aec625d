// GIF recordings of tape runs, decoded with giflib: the same tape gives the same
// bytes, and each frame, at the virtual time it was shown, is the snapshot the
// tape took then.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "gif_recording.h"
#include "headless_run.h"
#include "raster/golden_png.h"
#include "scratch_folder.h"

namespace morlu {
namespace {

using raster::PixelBox;
using raster::Surface;

// One decoded image: where it goes, its pixels and how long it is shown.
struct Decoded {
    PixelBox box;
    std::vector<uint32_t> pixels;
    int delay_cs = 0;
};

struct DecodedGif {
    raster::Size size;
    std::vector<Decoded> images;
};

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<DecodedGif> decode_gif(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif) return std::nullopt;
    DecodedGif out;
    if (DGifSlurp(gif) == GIF_OK) {
        out.size = {gif->SWidth, gif->SHeight};
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& image = gif->SavedImages[i];
            const GifImageDesc& d = image.ImageDesc;
            const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
            GraphicsControlBlock control{};
            DGifSavedExtensionToGCB(gif, i, &control);
            Decoded decoded{{d.Left, d.Top, d.Left + d.Width, d.Top + d.Height}, {}, control.DelayTime};
            for (int p = 0; p < d.Width * d.Height; ++p) {
                const GifColorType c = map->Colors[image.RasterBits[p]];
                decoded.pixels.push_back(uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue);
            }
            out.images.push_back(std::move(decoded));
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

void draw(Surface& canvas, const Decoded& image) {
    size_t i = 0;
    for (int32_t y = image.box.y0; y < image.box.y1; ++y)
        for (int32_t x = image.box.x0; x < image.box.x1; ++x) canvas.at(x, y) = image.pixels[i++];
}

// What the animation shows `cs` hundredths of a second after it starts.
Surface shown_at(const DecodedGif& gif, int cs) {
    Surface canvas(gif.size, 0);
    int start = 0;
    for (const Decoded& image : gif.images) {
        if (start > cs) break;
        draw(canvas, image);
        start += image.delay_cs;
    }
    return canvas;
}

int total_cs(const DecodedGif& gif) {
    int total = 0;
    for (const Decoded& image : gif.images) total += image.delay_cs;
    return total;
}

HeadlessRun run_tape_recording(const std::string& text, const std::string& gif) {
    std::string error;
    auto tape = parse_tape(text, error);
    EXPECT_TRUE(tape) << error;
    HeadlessOptions options;
    options.gif = gif;
    return tape ? run_headless(*tape, options) : HeadlessRun{-1};
}

// The bugs walk, one is added, the animation halts: frames every tick, a frame
// with a changed panel, then a still picture until the end. Of what a window
// shows at one moment the GIF keeps the last, so each snapshot is the last
// action of its moment.
TEST(GifRecording, TheSameTapeGivesTheSameBytesAndEachFrameIsTheSnapshotOfItsTime) {
    const testing::ScratchFolder here;
    const std::string tape =
        "wait 1000\nsnapshot t1000.png\n"
        "wait 50\nclick 43 142\nwait 400\nsnapshot t1450.png\n"
        "key ctrl+h\nwait 300\nsnapshot t1750.png\n";
    ASSERT_EQ(run_tape_recording(tape, "first.gif").status, 0);
    ASSERT_EQ(run_tape_recording(tape, "second.gif").status, 0);
    const auto bytes = file_bytes("first.gif");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes, file_bytes("second.gif"));

    const auto gif = decode_gif("first.gif");
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->size, (raster::Size{601, 501}));
    for (const int ms : {1000, 1450, 1750}) {
        const auto snapshot = raster::testing::read_png("t" + std::to_string(ms) + ".png");
        ASSERT_TRUE(snapshot);
        EXPECT_EQ(raster::testing::count_differences(shown_at(*gif, ms / 10), *snapshot), 0) << "at " << ms;
    }
    // Halted, the picture stays from the last tick (1500 ms) until the window
    // closed at the end of the tape (1750 ms), or a second at least.
    EXPECT_EQ(total_cs(*gif), 150 + 100);
    EXPECT_EQ(gif->images.back().delay_cs, 100);
}

// Our encoder against giflib's decoder: palettes of every code size, noise (the
// string table fills and is cleared many times) and flat runs (long strings),
// from one pixel to a large picture.
TEST(GifEncoder, GiflibDecodesEveryImageExactly) {
    const testing::ScratchFolder here;
    uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 16; };
    for (const size_t colours : {1u, 2u, 3u, 5u, 16u, 17u, 129u, 256u}) {
        platform::GifAnimation animation{601, 501, {}};
        for (const auto& [w, h, flat] :
             {std::tuple{1, 1, false}, {37, 53, false}, {601, 501, false}, {400, 300, true}}) {
            platform::GifImage image{.left = 0, .top = 0, .width = w, .height = h, .delay_cs = 3};
            for (size_t c = 0; c < colours; ++c)
                image.palette.push_back(static_cast<uint32_t>(c * 0x010203u + 7) & 0xFFFFFFu);
            for (int i = 0; i < w * h; ++i)
                image.indices.push_back(static_cast<uint8_t>(flat ? (i / 997) % colours : next() % colours));
            animation.images.push_back(std::move(image));
        }
        const auto bytes = platform::encode_gif(animation);
        std::ofstream("noise.gif", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        const auto gif = decode_gif("noise.gif");
        ASSERT_TRUE(gif) << colours;
        ASSERT_EQ(gif->images.size(), animation.images.size()) << colours;
        for (size_t i = 0; i < gif->images.size(); ++i) {
            const platform::GifImage& want = animation.images[i];
            std::vector<uint32_t> pixels;
            for (const uint8_t index : want.indices) pixels.push_back(want.palette[index]);
            EXPECT_EQ(gif->images[i].pixels, pixels) << colours << " colours, image " << i;
            EXPECT_EQ(gif->images[i].delay_cs, 3);
        }
    }
}

TEST(GifRecording, AGifThatCannotBeWrittenFailsTheRun) {
    const testing::ScratchFolder here;
    EXPECT_EQ(run_tape_recording("wait 100\n", "no-such-folder/x.gif").status, 73);
}

}  // namespace
}  // namespace morlu
