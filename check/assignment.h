// An assignment: what assignment.toml says, with every default filled in and
// every value checked, so the rest of the checker never meets a bad value.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace morlu::check {

// What one tape writes that is compared with the reference's.
struct TapeOutputs {
    std::vector<std::string> snapshots;  // PNG files, plain names
    std::vector<std::string> logs;       // the log's lines, plain names
    int expectations = 0;                // expect lines the program itself checks
};

// What a run's copy of the program is called: its messages begin with it.
constexpr const char* PROGRAM_NAME = "program";

struct Tape {
    std::filesystem::path file;  // absolute
    std::string name;            // the file's name, as shown in the report
    double points = 1;
    TapeOutputs outputs;
};

struct Limits {
    int seconds = 10;          // wall time per run
    int cpu_seconds = 0;       // 0: the same as seconds
    int memory_mb = 256;       // address space per process
    int compile_seconds = 60;  // per submission, all its files
    int output_kb = 256;       // standard output and error, together, per run
    int disk_mb = 64;          // bytes a run may leave in its folder
    int processes = 32;        // processes and threads of a run at once
};

struct Compare {
    int channel_tolerance = 0;     // per channel, 0..255
    int max_differing_pixels = 0;  // per snapshot
};

struct Assignment {
    std::filesystem::path folder;  // absolute
    std::string title;
    std::vector<std::string> sources = {"*.c", "*.cpp"};  // globs, relative to a submission's folder
    Limits limits;
    Compare compare;
    std::vector<Tape> tapes;
    double total_points() const;
};

// Read FOLDER/assignment.toml and the tapes it names. Returns false with
// `error` set to one line naming the file, the key and what is wrong.
bool read_assignment(const std::filesystem::path& folder, Assignment& out, std::string& error);

}  // namespace morlu::check
