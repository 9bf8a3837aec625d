// One open with O_NOFOLLOW, one fstat, reads up to the limit.
#include "safe_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morlu::check {

std::optional<std::string> read_plain_file(const std::filesystem::path& file, size_t limit) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<std::string> out;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<size_t>(st.st_size) <= limit) {
        std::string bytes(static_cast<size_t>(st.st_size), '\0');
        size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        bytes.resize(got);
        out = std::move(bytes);
    }
    ::close(fd);
    return out;
}

}  // namespace morlu::check
