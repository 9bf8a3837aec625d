// Rows of pixels as handed to a picture encoder.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morlu::platform {

// `height` rows of `width` 0x00RRGGBB pixels, each row `stride` pixels after
// the one above; in memory each pixel is blue, green, red, then an unused byte.
struct PixelRows {
    const uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    size_t stride = 0;

    const uint32_t* row(int32_t y) const {
        return pixels + static_cast<size_t>(y) * stride;
    }
};

}  // namespace morlu::platform
