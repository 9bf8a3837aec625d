// GIF animations in the Linux edition, encoded by giflib into memory.
#include <gif_lib.h>

#include <memory>

#include "platform/headless/gif_encoder.h"

namespace morlu::platform {
namespace {

// Appends what giflib writes to the byte vector it was opened with.
int append_bytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

struct MapFreer {
    void operator()(ColorMapObject* map) const {
        GifFreeMapObject(map);
    }
};

// Repeat forever: the application extension browsers read the loop count from.
bool put_loop_forever(GifFileType* gif) {
    static constexpr GifByteType NETSCAPE[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static constexpr GifByteType FOREVER[] = {1, 0, 0};
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, sizeof NETSCAPE, NETSCAPE) == GIF_OK &&
           EGifPutExtensionBlock(gif, sizeof FOREVER, FOREVER) == GIF_OK &&
           EGifPutExtensionTrailer(gif) == GIF_OK;
}

// The palette padded with black to the power of two a colour table needs.
std::unique_ptr<ColorMapObject, MapFreer> colour_table(const std::vector<uint32_t>& palette) {
    int size = 2;
    while (size < static_cast<int>(palette.size())) size *= 2;
    std::unique_ptr<ColorMapObject, MapFreer> map(GifMakeMapObject(size, nullptr));
    if (!map) return map;
    for (int i = 0; i < size; ++i) {
        const uint32_t c = i < static_cast<int>(palette.size()) ? palette[static_cast<size_t>(i)] : 0;
        map->Colors[i] = {static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                          static_cast<GifByteType>(c)};
    }
    return map;
}

// Each image is drawn over the ones before (disposal "do not dispose").
bool put_image(GifFileType* gif, const GifImage& image) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = image.delay_cs;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    const auto map = colour_table(image.palette);
    if (!map ||
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) != GIF_OK ||
        EGifPutImageDesc(gif, image.left, image.top, image.width, image.height, false, map.get()) != GIF_OK)
        return false;
    // giflib reads the rows without changing them, but takes them unconst.
    auto* rows = const_cast<GifPixelType*>(image.indices.data());
    for (int32_t y = 0; y < image.height; ++y)
        if (EGifPutLine(gif, rows + static_cast<size_t>(y) * static_cast<size_t>(image.width), image.width) !=
            GIF_OK)
            return false;
    return true;
}

}  // namespace

std::vector<uint8_t> encode_gif(const GifAnimation& animation) {
    std::vector<uint8_t> bytes;
    int error = 0;
    GifFile gif(EGifOpen(&bytes, append_bytes, &error));
    if (!gif) return {};
    EGifSetGifVersion(gif.get(), true);
    if (EGifPutScreenDesc(gif.get(), animation.width, animation.height, 8, 0, nullptr) != GIF_OK ||
        !put_loop_forever(gif.get()))
        return {};
    for (const GifImage& image : animation.images)
        if (!put_image(gif.get(), image)) return {};
    // Closing writes the trailer; the file is whole only when that succeeds.
    if (EGifCloseFile(gif.release(), &error) != GIF_OK) return {};
    return bytes;
}

}  // namespace morlu::platform
