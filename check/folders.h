// The checker's own folders. Work happens in a private folder outside OUT and
// outside SUBMISSIONS; a run's folder belongs, while it runs, to the user of
// its worker (when the checker is root), and is taken back after.
#pragma once

#include <filesystem>
#include <string>

namespace morlu::check {

// A fresh private folder for a batch's work, under TMPDIR; empty on failure.
std::filesystem::path make_work_folder();
// A fresh empty folder `path`, reachable but not listable by other users.
bool make_fresh_folder(const std::filesystem::path& path);
// Give `path` and all in it to worker `slot`'s user, or take it back.
void hand_over(const std::filesystem::path& path, int slot);
void take_back(const std::filesystem::path& path);
// Copy a file the checker trusts (a program it built, a tape).
bool copy_file_to(const std::filesystem::path& from, const std::filesystem::path& to);
// A student's name as a folder name in OUT: never "reference", never hidden.
std::string folder_name_for(const std::string& student);

}  // namespace morlu::check
