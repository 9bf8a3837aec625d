// Filling a run of pixels with one colour: where most of a frame's time goes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morlu::raster {

// Runs this long or longer go to the widest stores the processor has; shorter
// ones are cheaper as a plain loop than as a call.
constexpr size_t LONG_RUN = 32;

// Fill a long run; chosen once, at start-up, for the processor it runs on.
extern void (*const fill_long_run)(uint32_t* p, size_t n, uint32_t color);

inline void fill_row(uint32_t* p, size_t n, uint32_t color) {
    if (n >= LONG_RUN) {
        fill_long_run(p, n, color);
        return;
    }
    for (size_t i = 0; i < n; ++i) p[i] = color;
}

}  // namespace morlu::raster
