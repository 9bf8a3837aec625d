// The runtime as its hosts see it: the programs' entry, the benchmarks and the
// tools start and stop it on a backend, find its two windows by their titles
// and read its log. Everything else of the runtime is private to it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morlu::platform {
class Backend;
}

constexpr const char* GRAPHICS_TITLE = "MORLU Graphics";
constexpr const char* TEXT_TITLE = "MORLU Text";

// Forget every runtime and platform record of an earlier run (closing its script
// file), then start the platform layer on `backend`, which must outlive the run.
void runtime_start(morlu::platform::Backend& backend);
// Close the script file, destroy the windows and forget everything, so that a
// later runtime_start begins as a fresh process would.
void runtime_stop();

// The log console's stored lines, oldest first, without their trailing newline.
std::vector<std::string> log_stored_lines();

// The device pixel of the graphics window's logical origin (0, 0 before canvas_open).
struct RuntimeOrigin {
    int x = 0;
    int y = 0;
};
RuntimeOrigin runtime_origin();

// Copy the back buffer to the graphics window, as an event-loop pass does.
void copy_to_screen();

// The back buffer's pixels, every row written, for a host that reads the frame
// the program drew (nullptr before canvas_open). Valid until the next drawing call.
const uint32_t* back_buffer_pixels();
