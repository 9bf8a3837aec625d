// A tape given as text, run in the current folder: the demo's by default, as
// morlu-bugs --tape runs it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "headless_run.h"

namespace morlu::testing {

inline HeadlessRun run_tape_text(const std::string& text,
                                 const HeadlessOptions& options = {},
                                 MorluEntry entry = app_main) {
    std::string error;
    auto tape = parse_tape(text, error);
    EXPECT_TRUE(tape) << error;
    return tape ? run_headless(std::move(*tape), options, entry) : HeadlessRun{.status = -1};
}

// The exit status of the demo's run.
inline int run_tape(const std::string& text) {
    return run_tape_text(text).status;
}

}  // namespace morlu::testing
