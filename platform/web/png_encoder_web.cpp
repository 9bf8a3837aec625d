// The browser edition's PNG encoder: the browser's own, through a canvas
// (web_services.js). The pixels are opaque, so the file shows the same colours.
#include <cstdlib>

#include "../headless/png_encoder.h"

// The page's side: the PNG bytes of `width` x `height` RGBA pixels in a buffer
// the caller frees, its length in `length`; null when the browser gives none.
extern "C" uint8_t* morlu_web_encode_png(const uint8_t* rgba, int32_t width, int32_t height, int32_t* length);

namespace morlu::platform {

std::vector<uint8_t> encode_png(const PixelRows& rows) {
    if (rows.width <= 0 || rows.height <= 0) return {};
    std::vector<uint8_t> rgba(static_cast<size_t>(rows.width) * static_cast<size_t>(rows.height) * 4);
    uint8_t* out = rgba.data();
    for (int32_t y = 0; y < rows.height; ++y) {
        const uint32_t* row = rows.row(y);
        for (int32_t x = 0; x < rows.width; ++x, out += 4) {
            out[0] = static_cast<uint8_t>(row[x] >> 16);
            out[1] = static_cast<uint8_t>(row[x] >> 8);
            out[2] = static_cast<uint8_t>(row[x]);
            out[3] = 255;
        }
    }
    int32_t length = 0;
    uint8_t* png = morlu_web_encode_png(rgba.data(), rows.width, rows.height, &length);
    if (!png) return {};
    std::vector<uint8_t> bytes(png, png + length);
    std::free(png);
    return bytes;
}

}  // namespace morlu::platform
