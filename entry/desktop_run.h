// Running a program on the desktop backend this build has.
#pragma once

#include "entry_options.h"
#include "morlu/canvas.h"

namespace morlu {

// Open the desktop, run `entry` and return its status; 1, with one line on
// stderr, when there is no desktop to open.
int run_desktop(const EntryOptions& options, MorluEntry entry);

}  // namespace morlu
