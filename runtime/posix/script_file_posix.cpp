// The script file on a POSIX system: descriptors opened without blocking,
// advisory locks for one recorder per file, positioned writes.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "../script_file.h"

namespace {

// Close `fd`, keeping the errno that explains why it is being given up.
std::FILE* give_up(int fd, ScriptRefusal reason, ScriptRefusal& why) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    why = reason;
    return nullptr;
}

// Check what was opened and take the lock. A FIFO or a device must not be read
// or written; a lock held by another program means the file is in use.
ScriptRefusal take(int fd, int lock) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return ScriptRefusal::cannot_open;
    if (!S_ISREG(st.st_mode)) return ScriptRefusal::not_regular;
    if (::flock(fd, lock | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? ScriptRefusal::in_use : ScriptRefusal::cannot_open;
    // Opened without blocking so that a FIFO cannot hang the open; a regular file
    // is read and written as usual from here on.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) return ScriptRefusal::cannot_open;
    return ScriptRefusal::none;
}

std::FILE* open_stream(int fd, int lock, bool empty_it, const char* mode, ScriptRefusal& why) {
    const ScriptRefusal refusal = take(fd, lock);
    if (refusal != ScriptRefusal::none) return give_up(fd, refusal, why);
    // Emptied only now that the lock is ours: a second recorder must not cut the
    // file that the first one is writing.
    if (empty_it && ::ftruncate(fd, 0) != 0) return give_up(fd, ScriptRefusal::cannot_open, why);
    std::FILE* f = ::fdopen(fd, mode);
    if (!f) return give_up(fd, ScriptRefusal::cannot_open, why);
    why = ScriptRefusal::none;
    return f;
}

}  // namespace

std::FILE* script_file_open_read(const char* name, ScriptRefusal& why) {
    const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = ScriptRefusal::cannot_open;
        return nullptr;
    }
    return open_stream(fd, LOCK_SH, false, "r", why);
}

std::FILE* script_file_open_write(const char* name, ScriptRefusal& why) {
    // No O_TRUNC: the file is emptied once it is known to be ours alone.
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        why = errno == ELOOP ? ScriptRefusal::symbolic_link : ScriptRefusal::cannot_open;
        return nullptr;
    }
    return open_stream(fd, LOCK_EX, true, "w", why);
}

const char* script_file_kind(const char* name) {
    struct stat st {};
    if (::stat(name, &st) != 0) return "missing";
    if (S_ISDIR(st.st_mode)) return "a folder";
    if (S_ISFIFO(st.st_mode)) return "a FIFO";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "a device";
    if (S_ISSOCK(st.st_mode)) return "a socket";
    return "not a plain file";
}

int script_file_write_at(std::FILE* f, int64_t offset, std::string_view text) {
    const int fd = ::fileno(f);
    while (!text.empty()) {
        const ssize_t n = ::pwrite(fd, text.data(), text.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0 ? ENOSPC : errno;
        text.remove_prefix(static_cast<size_t>(n));
        offset += n;
    }
    return 0;
}

int script_file_cut(std::FILE* f, int64_t length) {
    return ::ftruncate(::fileno(f), static_cast<off_t>(length)) == 0 ? 0 : errno;
}

bool script_file_still_named(std::FILE* f, const char* name) {
    struct stat open_file {};
    struct stat named {};
    if (::fstat(::fileno(f), &open_file) != 0 || open_file.st_nlink == 0) return false;
    if (::stat(name, &named) != 0) return false;
    return named.st_dev == open_file.st_dev && named.st_ino == open_file.st_ino;
}

int script_file_close(std::FILE* f) {
    return std::fclose(f) == 0 ? 0 : errno;
}
