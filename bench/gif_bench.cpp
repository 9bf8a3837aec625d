// Ten seconds of the walking bugs (a hundred frames) run from a tape, without and
// with --gif: the difference is what recording and encoding the GIF cost. Read
// it against "well under a second".
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "headless_run.h"

namespace {

void run_ten_seconds(benchmark::State& state, const std::string& gif) {
    std::string error;
    const auto tape = morlu::parse_tape("wait 10000\n", error);
    morlu::HeadlessOptions options;
    options.gif = gif;
    for (auto _ : state) benchmark::DoNotOptimize(morlu::run_headless(*tape, options).status);
    if (!gif.empty()) state.counters["gif_bytes"] = static_cast<double>(std::filesystem::file_size(gif));
}

void BM_TenSecondsOfBugs(benchmark::State& state) {
    run_ten_seconds(state, "");
}
BENCHMARK(BM_TenSecondsOfBugs)->Unit(benchmark::kMillisecond);

void BM_TenSecondsOfBugsWithGif(benchmark::State& state) {
    run_ten_seconds(state, (std::filesystem::temp_directory_path() / "morlu-bench-ten-seconds.gif").string());
}
BENCHMARK(BM_TenSecondsOfBugsWithGif)->Unit(benchmark::kMillisecond);

}  // namespace
