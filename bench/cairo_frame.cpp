// The full frame drawn with cairo's image backend, anti-aliasing off: the same
// calls of the bug program as morlu_bench's BM_FullFrame, for comparison.
#include <benchmark/benchmark.h>

#include "cairo_canvas.h"
#include "full_frame.h"

namespace {

void BM_CairoFullFrame(benchmark::State& state) {
    cairo_canvas_start();
    Bugs bugs;
    int32_t sun_x = -270;
    for (auto _ : state) {
        sun_x = draw_full_frame(bugs, sun_x);
        cairo_canvas_flush();  // as morlu's frame ends with its pixels read
    }
    cairo_canvas_stop();
}
BENCHMARK(BM_CairoFullFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
