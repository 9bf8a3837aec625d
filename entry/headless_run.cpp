#include "headless_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "exit_status.h"
#include "gif_recording.h"
#include "platform/headless/headless_backend.h"
#include "platform/process/quit_watch.h"
#include "platform/process/report.h"
#include "platform/window/win_types.h"
#include "runtime_session.h"
#include "tape_driver.h"

namespace morlu {
namespace {

// The whole tape file, or false with `error` set. Only a regular file is a tape:
// a folder would read as nothing, and a FIFO or a device might never end.
// The name is UTF-8, as every name a program is given (on Windows its code
// page is UTF-8, so the C library opens it as given). C's files rather than
// C++ streams: streams bring the C++ library's locales into every program,
// a third of a browser page's code.
bool read_tape(const char* path, std::string& text, std::string& error) {
    const std::filesystem::path file(std::u8string(path, path + std::strlen(path)));
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (ec) return error = ec.message(), false;
    if (std::filesystem::is_directory(status)) return error = "it is a folder", false;
    if (!std::filesystem::is_regular_file(status)) return error = "it is not a regular file", false;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path, "rb"), std::fclose);
    if (!in) return error = std::strerror(errno), false;
    text.clear();
    char block[4096];
    while (const size_t n = std::fread(block, 1, sizeof block, in.get())) text.append(block, n);
    if (std::ferror(in.get())) return error = "it could not be read to its end", false;
    return true;
}

// Record the graphics window's frames, up to its closing.
void record_graphics(platform::HeadlessBackend& backend, GifRecording& recording) {
    backend.set_frame_handler([&backend, &recording](const platform::HeadlessBackend::Frame& f) {
        if (backend.find(GRAPHICS_TITLE) != f.window) return;
        recording.add_frame(*f.pixels, f.changed, f.now);
        if (f.closing) recording.end(f.now);
    });
}

}  // namespace

HeadlessRun run_headless(std::vector<TapeAction> actions, const HeadlessOptions& options, MorluEntry entry) {
    platform::HeadlessBackend backend(options.screen);
    TapeDriver driver(backend, std::move(actions),
                      {options.program, GRAPHICS_TITLE, TEXT_TITLE, log_stored_lines, options.tape});
    backend.set_idle_handler([&driver] { return driver.step(); });
    GifFile gif;
    if (!options.gif.empty()) record_graphics(backend, gif.recording());
    // Nobody looks at a screen during a tape run: a fatal line never waits for a click.
    platform::report_without_desktop();
    if (options.watch_quit)
        platform::quit_watch_start({options.program, EXIT_WOULD_NOT_END, platform::Millis{1000},
                                    [&backend] { backend.ask_to_close(); }});
    runtime_start(backend);
    HeadlessRun run;
    run.status = entry(1, 0, options.command_line.c_str(), platform::SW_SHOWNORMAL);
    platform::quit_watch_stop();
    runtime_stop();
    run.failures = driver.failures();
    std::string error;
    gif.recording().end(backend.now());
    if (!options.gif.empty() && !gif.write(options.gif, error)) {
        std::fprintf(stderr, "%s: %s\n", options.program.c_str(), error.c_str());
        ++run.failures;
    }
    run.unperformed = driver.report_unperformed();
    run.expectations = driver.expectations();
    run.expectations_failed = driver.expectations_failed();
    if (run.expectations_failed > 0)
        std::fprintf(stderr, "%s: %d of %d expectations of %s did not hold\n", options.program.c_str(),
                     run.expectations_failed, run.expectations, options.tape.c_str());
    // A program's own failure stands; a run it thinks went well may still have
    // lost an output, stopped early or missed an expectation.
    if (run.status == 0 && run.failures > 0) run.status = EXIT_CANNOT_WRITE;
    if (run.status == 0 && run.unperformed > 0) run.status = EXIT_ENDED_EARLY;
    if (run.status == 0 && run.expectations_failed > 0) run.status = EXIT_EXPECTATION;
    return run;
}

int run_tape_file(const char* path, const HeadlessOptions& options, MorluEntry entry) {
    std::string text, error;
    if (!read_tape(path, text, error)) {
        std::fprintf(stderr, "%s: cannot read the tape %s: %s\n", options.program.c_str(), path,
                     error.c_str());
        return EXIT_NO_TAPE;
    }
    auto actions = parse_tape(text, error);
    if (!actions) {
        std::fprintf(stderr, "%s: %s: %s\n", options.program.c_str(), path, error.c_str());
        return EXIT_BAD_TAPE;
    }
    HeadlessOptions named = options;
    named.tape = path;
    return run_headless(std::move(*actions), named, entry).status;
}

}  // namespace morlu
