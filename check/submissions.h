// The class's submissions: one folder or one .zip per student, named for the
// student. Unpacking copies a submission's sources, and nothing else, into a
// fresh folder of the checker's, so the sandbox never sees the original.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace morlu::check {

struct Submission {
    std::string student;  // the folder's or the zip's name, without ".zip"
    std::filesystem::path source;
    bool zipped = false;
};

// Every submission under `folder`, sorted by student, each student's name
// once ("alice" and "alice.zip" become "alice" and "alice (2)"). Other files,
// hidden ones and the folder `out` are skipped.
std::vector<Submission> find_submissions(const std::filesystem::path& folder,
                                         const std::filesystem::path& out);

// Limits on what one submission may bring.
constexpr size_t MAX_FILES = 200;
constexpr long long MAX_FILE_BYTES = 1 << 20;
constexpr long long MAX_TOTAL_BYTES = 8 << 20;

// Copy the files of `s` that match `globs` into `into` (which exists and is
// empty): regular files only, no links, no path leaving the folder, within
// the limits above. A zip whose files all sit in one top folder is taken from
// inside it, as archive tools make them. Returns false with `error` set.
bool unpack_sources(const Submission& s,
                    const std::vector<std::string>& globs,
                    const std::filesystem::path& into,
                    std::string& error);

}  // namespace morlu::check
