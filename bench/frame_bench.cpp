// A full frame of the bug program, and each primitive alone, drawn into the back
// buffer on the headless backend. Read the medians against the frame budget.
#include <benchmark/benchmark.h>

#include "full_frame.h"
#include "platform/headless/headless_backend.h"
#include "platform/window/platform.h"
#include "runtime_session.h"

namespace {

// An open runtime with logging off, as the program runs between two events.
class OpenRuntime {
public:
    OpenRuntime() {
        runtime_start(backend_);
        canvas_open(1, 0, "", morlu::platform::SW_SHOW);
        canvas_set_logging(0);
        canvas_clear();
    }
    ~OpenRuntime() {
        runtime_stop();
    }

private:
    morlu::platform::HeadlessBackend backend_;
};

// Each frame ends with every pixel of the back buffer in memory, as cairo
// leaves them: reading them writes the fills of whole rows that are only noted.
void read_frame() {
    benchmark::DoNotOptimize(back_buffer_pixels());
}

void BM_FullFrame(benchmark::State& state) {
    OpenRuntime open;
    Bugs bugs;
    int32_t sun_x = -270;
    for (auto _ : state) {
        sun_x = draw_full_frame(bugs, sun_x);
        read_frame();
    }
}
BENCHMARK(BM_FullFrame)->Unit(benchmark::kMicrosecond);

// The frame's parts, to see where its time goes.
void BM_Scene(benchmark::State& state) {
    OpenRuntime open;
    for (auto _ : state) {
        draw_scene(0);
        read_frame();
    }
}
BENCHMARK(BM_Scene)->Unit(benchmark::kMicrosecond);

void BM_FifteenBugs(benchmark::State& state) {
    OpenRuntime open;
    Bugs bugs;
    for (auto _ : state) {
        draw_bugs(bugs.x, bugs.height, bugs.size, bugs.color, 3, 1, 0, MAX_BUGS);
        read_frame();
    }
}
BENCHMARK(BM_FifteenBugs)->Unit(benchmark::kMicrosecond);

void BM_DebugBug(benchmark::State& state) {
    OpenRuntime open;
    Bugs bugs;
    for (auto _ : state) {
        draw_debug_bug(bugs.x, bugs.height, bugs.color, 3);
        read_frame();
    }
}
BENCHMARK(BM_DebugBug)->Unit(benchmark::kMicrosecond);

void BM_Circle(benchmark::State& state) {
    OpenRuntime open;
    for (auto _ : state) canvas_circle(5, 0, 100, 25);
}
BENCHMARK(BM_Circle);

void BM_Triangle(benchmark::State& state) {
    OpenRuntime open;
    for (auto _ : state) canvas_triangle(14, -325, 0, -50, 0, -200, 170, 0);
}
BENCHMARK(BM_Triangle);

void BM_SkyRectangle(benchmark::State& state) {
    OpenRuntime open;
    for (auto _ : state) {
        canvas_rectangle(11, -300, -250, 300, 250, 0);
        read_frame();
    }
}
BENCHMARK(BM_SkyRectangle);

void BM_Line(benchmark::State& state) {
    OpenRuntime open;
    for (auto _ : state) canvas_line(0, 0, 39, -10, 25, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_Line)->Arg(1)->Arg(2);

void BM_HelpText(benchmark::State& state) {
    OpenRuntime open;
    for (auto _ : state) canvas_printf(0, -285, -180, 12, "Click a button to control the bug.");
}
BENCHMARK(BM_HelpText);

void BM_CopyToScreen(benchmark::State& state) {
    OpenRuntime open;
    for (auto _ : state) copy_to_screen();
}
BENCHMARK(BM_CopyToScreen);

}  // namespace
