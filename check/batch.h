// One batch: the assignment, the installed morlu, the sandbox in use, and the
// reference's runs that every submission is compared with.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "assignment.h"
#include "build.h"
#include "result.h"
#include "sandbox.h"
#include "submissions.h"

namespace morlu::check {

struct Batch {
    Assignment assignment;
    Toolchain toolchain;
    Isolation isolation = Isolation::rlimits;
    bool gifs = false;                                  // the installed morlu writes --gif
    std::filesystem::path work;                         // private, outside OUT and SUBMISSIONS
    std::filesystem::path out;                          // OUT
    std::vector<std::filesystem::path> reference_runs;  // one folder per tape
    std::vector<int> reference_status;
};

// Build the reference and run its tapes; the reference's pictures and GIFs go
// to OUT/reference. False, with one line in `error`, when the reference does
// not build or a tape of it fails: the assignment, not a student, is wrong.
bool prepare_reference(Batch& batch, std::string& error);

// Unpack, build, run and compare one submission, as worker `slot`. Writes
// OUT/STUDENT: result.toml, results.json and the pictures the report shows.
StudentResult check_submission(const Batch& batch, const Submission& submission, size_t index, int slot);

}  // namespace morlu::check
