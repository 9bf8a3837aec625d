// Folder making, ownership and copies for the batch's work.
#include "folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "sandbox.h"

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

void change_owner(const fs::path& path, uid_t uid) {
    ::lchown(path.c_str(), uid, uid);
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(path, ec))) return;
    for (auto it = fs::recursive_directory_iterator(path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        ::lchown(it->path().c_str(), uid, uid);
    }
}

}  // namespace

fs::path make_work_folder() {
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    std::string pattern = ((ec ? fs::path("/tmp") : temp) / "morlu-check.XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return {};
    ::chmod(pattern.c_str(), 0711);
    return pattern;
}

bool make_fresh_folder(const fs::path& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    if (::mkdir(path.c_str(), 0711) != 0) return false;
    ::chmod(path.c_str(), 0711);  // the umask may have taken bits away
    return true;
}

void hand_over(const fs::path& path, int slot) {
    if (::geteuid() != 0) return;
    change_owner(path, worker_uid(slot));
    ::chmod(path.c_str(), 0700);
}

void take_back(const fs::path& path) {
    if (::geteuid() != 0) return;
    change_owner(path, 0);
    ::chmod(path.c_str(), 0700);
}

bool copy_file_to(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    return !ec;
}

std::string folder_name_for(const std::string& student) {
    // The names of OUT's own files and folders are taken.
    static const char* const TAKEN[] = {"reference", "batch.toml", "report.html", "grades.csv"};
    bool taken = student.empty() || student.starts_with('.') || student.starts_with('_');
    for (const char* name : TAKEN) taken = taken || student == name;
    return taken ? "_" + student : student;
}

}  // namespace morlu::check
