// Text costs per call: the runtime opens a font for every text call and draws
// about eight short strings per frame.
#include <benchmark/benchmark.h>

#include "platform/raster/text.h"

namespace {

using morlu::raster::FontCache;
using morlu::raster::FontRequest;
using morlu::raster::Surface;

void BM_OpenFontCached(benchmark::State& state) {
    FontCache fonts;
    const FontRequest request{.height = -12, .face = "MORLU-font"};
    benchmark::DoNotOptimize(fonts.open(request));
    for (auto _ : state) benchmark::DoNotOptimize(fonts.open(request));
}
BENCHMARK(BM_OpenFontCached);

// A 40-character line at an em of 12, transparent and opaque.
void BM_DrawText40(benchmark::State& state) {
    FontCache fonts;
    const auto font = fonts.open({.height = -12});
    if (!font) {
        state.SkipWithError("no font installed");
        return;
    }
    Surface surface({640, 480}, 0x00FFFFFF);
    const std::string_view line = "Score: 001250   Lives: 3   Level: 07 end";
    const auto background = state.range(0) ? std::optional<uint32_t>(0x00000080) : std::nullopt;
    for (auto _ : state) {
        morlu::raster::draw_text(surface, surface.bounds(), *font, 10, 200, line, 0, background);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(line.size()));
}
BENCHMARK(BM_DrawText40)->Arg(0)->Arg(1);

}  // namespace
