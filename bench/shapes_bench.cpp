// Each shape alone on a 601 x 540 surface, the size of the program's scene.
#include <benchmark/benchmark.h>

#include <climits>
#include <vector>

#include "platform/raster/shapes.h"

namespace morlu::raster {
namespace {

constexpr Size SCENE{601, 540};
constexpr Pen THIN{.null = false, .width = 1, .color = 0x00102030};
constexpr Pen WIDE{.null = false, .width = 3, .color = 0x00102030};
constexpr Brush BRUSH{.null = false, .color = 0x00405060};

template <class Draw>
void run(benchmark::State& state, Draw&& draw) {
    Surface s(SCENE, 0x00FFFFFF);
    for (auto _ : state) {
        draw(s);
        benchmark::DoNotOptimize(s.row(0));
        benchmark::ClobberMemory();
    }
}

void BM_Circle25(benchmark::State& state) {
    run(state, [](Surface& s) { draw_ellipse(s, s.bounds(), {275, 245, 326, 296}, THIN, BRUSH); });
}
BENCHMARK(BM_Circle25);

void BM_Circle25WidePen(benchmark::State& state) {
    run(state, [](Surface& s) { draw_ellipse(s, s.bounds(), {275, 245, 326, 296}, WIDE, BRUSH); });
}
BENCHMARK(BM_Circle25WidePen);

void BM_FullSurfaceRectangle(benchmark::State& state) {
    run(state, [](Surface& s) { draw_rectangle(s, s.bounds(), {0, 0, 601, 540}, THIN, BRUSH); });
}
BENCHMARK(BM_FullSurfaceRectangle);

void BM_FullSurfaceRectangleWidePen(benchmark::State& state) {
    run(state, [](Surface& s) { draw_rectangle(s, s.bounds(), {0, 0, 601, 540}, WIDE, BRUSH); });
}
BENCHMARK(BM_FullSurfaceRectangleWidePen);

void BM_MountainTriangle(benchmark::State& state) {
    const std::vector<Point> mountain{{20, 520}, {300, 40}, {580, 520}};
    run(state, [&](Surface& s) { draw_polygon(s, s.bounds(), mountain, THIN, BRUSH); });
}
BENCHMARK(BM_MountainTriangle);

void BM_LineOnePixel(benchmark::State& state) {
    run(state, [](Surface& s) { draw_line(s, s.bounds(), {10, 20}, {590, 510}, THIN); });
}
BENCHMARK(BM_LineOnePixel);

void BM_LineWidth3(benchmark::State& state) {
    run(state, [](Surface& s) { draw_line(s, s.bounds(), {10, 20}, {590, 510}, WIDE); });
}
BENCHMARK(BM_LineWidth3);

void BM_LineInt32Extremes(benchmark::State& state) {
    run(state, [](Surface& s) {
        draw_line(s, s.bounds(), {INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, THIN);
    });
}
BENCHMARK(BM_LineInt32Extremes);

void BM_WideLineInt32Extremes(benchmark::State& state) {
    run(state, [](Surface& s) {
        draw_line(s, s.bounds(), {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}, WIDE);
    });
}
BENCHMARK(BM_WideLineInt32Extremes);

void BM_EllipseInt32Extremes(benchmark::State& state) {
    run(state, [](Surface& s) {
        draw_ellipse(s, s.bounds(), {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, WIDE, BRUSH);
    });
}
BENCHMARK(BM_EllipseInt32Extremes);

void BM_PolygonInt32Extremes(benchmark::State& state) {
    const std::vector<Point> huge{{INT32_MIN, INT32_MAX}, {0, INT32_MIN}, {INT32_MAX, INT32_MAX}};
    run(state, [&](Surface& s) { draw_polygon(s, s.bounds(), huge, WIDE, BRUSH); });
}
BENCHMARK(BM_PolygonInt32Extremes);

}  // namespace
}  // namespace morlu::raster
