// A folder of the test's own, made the current one for as long as the object
// lives, and removed with what the test left in it. The runtime reads and
// writes MORLU.SCR in the current folder: with one folder per test, tests run
// side by side (ctest -j) without reading each other's recordings.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace morlu::testing {

class ScratchFolder {
public:
    ScratchFolder() : home_(std::filesystem::current_path()) {
        // create_directory is false when the name exists: another test has it.
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        for (int attempt = 0;; ++attempt) {
            folder_ = std::filesystem::temp_directory_path() /
                      ("morlu-test-" + std::to_string(stamp) + "-" + std::to_string(attempt));
            if (std::filesystem::create_directory(folder_)) break;
        }
        std::filesystem::current_path(folder_);
    }
    ~ScratchFolder() {
        std::error_code ignored;  // a test that made a file read-only must not stop the rest
        std::filesystem::current_path(home_, ignored);
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(folder_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const {
        return folder_;
    }

private:
    std::filesystem::path home_, folder_;
};

// The whole of a file the test wrote or had written, as bytes ("" when missing).
inline std::string file_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace morlu::testing
