// Judging one run of a submission against the reference's run of the same
// tape: how the run ended, then its snapshots, its logs and its expectations.
// A tape earns its points only when all of them agree.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "batch.h"
#include "entry/exit_status.h"

namespace morlu::check {

// How a run ended, in words, when that alone fails it ("timed out",
// "crashed (segmentation fault)"); empty when it ended by itself with status
// `expected_status` or another status that the comparison judges.
std::string run_problem(const Batch& batch, const RunOutcome& o, int expected_status);

TapeResult grade_tape(const Batch& batch,
                      size_t tape,
                      const RunOutcome& o,
                      const std::filesystem::path& run,
                      const std::filesystem::path& student_out);

// Every tape at no points, saying why nothing ran.
std::vector<TapeResult> not_built(const Batch& batch, const StudentResult& r);

// Copy the reference's snapshots and GIF of tape `i` to OUT/reference.
void keep_reference_outputs(const Batch& batch, size_t i, const std::filesystem::path& run);

}  // namespace morlu::check
