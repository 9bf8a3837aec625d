// Building a submission against the installed morlu (pkg-config morlu), in the
// sandbox, under the compile time limit; the compiler's messages are kept.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "assignment.h"
#include "sandbox.h"

namespace morlu::check {

// The installed morlu as pkg-config describes it.
struct Toolchain {
    std::vector<std::string> cflags;
    std::vector<std::string> libs;
    std::vector<std::filesystem::path> visible;  // its include and library folders
};

// Ask pkg-config; false with `error` set when morlu is not installed where it looks.
bool find_toolchain(Toolchain& out, std::string& error);

struct BuildResult {
    bool built = false;
    std::string messages;  // the compiler's, or why nothing was compiled
    std::filesystem::path program;
};

// Compile every source under `folder` that the assignment's globs match (C as
// C11, C++ as C++20) and link them with morlu into folder/.program.
BuildResult build_submission(const Assignment& assignment,
                             const Toolchain& toolchain,
                             const std::filesystem::path& folder,
                             Isolation isolation,
                             int slot);

}  // namespace morlu::check
