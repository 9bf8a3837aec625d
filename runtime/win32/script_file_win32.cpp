// The script file on Windows: handles opened with share modes, so that one
// recorder alone writes a file and a player keeps writers out; positioned
// writes through the handle; the file's identity from its volume and index.
// Streams are binary: a Ctrl+Z byte must not end a script early.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "../script_file.h"

namespace {

// The C library's error number for the system's error, for the log lines.
int errno_of(DWORD error) {
    switch (error) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        default:
            return EIO;
    }
}

ScriptRefusal refusal_of(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? ScriptRefusal::in_use
                                                                             : ScriptRefusal::cannot_open;
}

std::FILE* give_up(HANDLE h, ScriptRefusal reason, ScriptRefusal& why) {
    CloseHandle(h);
    why = reason;
    return nullptr;
}

// A device, a pipe or a folder is never read or written as a script.
bool is_plain_file(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info)) return false;
    return (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

// Hand the handle to a C stream, which then owns it.
std::FILE* open_stream(HANDLE h, int flags, const char* mode, ScriptRefusal& why) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), flags);
    if (fd < 0) return give_up(h, ScriptRefusal::cannot_open, why);
    std::FILE* f = _fdopen(fd, mode);
    if (!f) {
        _close(fd);
        why = ScriptRefusal::cannot_open;
        return nullptr;
    }
    why = ScriptRefusal::none;
    return f;
}

HANDLE handle_of(std::FILE* f) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
}

}  // namespace

std::FILE* script_file_open_read(const char* name, ScriptRefusal& why) {
    // Others may read it too, but nobody may write it while it plays.
    const HANDLE h = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        why = error == ERROR_ACCESS_DENIED && GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES &&
                      (GetFileAttributesA(name) & FILE_ATTRIBUTE_DIRECTORY)
                  ? ScriptRefusal::not_regular
                  : refusal_of(error);
        return nullptr;
    }
    if (!is_plain_file(h)) return give_up(h, ScriptRefusal::not_regular, why);
    return open_stream(h, _O_RDONLY | _O_BINARY, "rb", why);
}

std::FILE* script_file_open_write(const char* name, ScriptRefusal& why) {
    const DWORD attributes = GetFileAttributesA(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        why = ScriptRefusal::symbolic_link;
        return nullptr;
    }
    // Others may read what is recorded, but nobody else may write it or play it
    // meanwhile. Opened without emptying it, so a file that another program
    // holds is left as it was. A folder cannot be opened for writing at all.
    const HANDLE h = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        why = refusal_of(GetLastError());
        return nullptr;
    }
    if (!is_plain_file(h)) return give_up(h, ScriptRefusal::not_regular, why);
    if (!SetEndOfFile(h)) return give_up(h, ScriptRefusal::cannot_open, why);
    return open_stream(h, _O_WRONLY | _O_BINARY, "wb", why);
}

const char* script_file_kind(const char* name) {
    const DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) return "missing";
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "a folder";
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return "a link";
    if (attributes & FILE_ATTRIBUTE_DEVICE) return "a device";
    return "not a plain file";
}

int script_file_write_at(std::FILE* f, int64_t offset, std::string_view text) {
    const HANDLE h = handle_of(f);
    while (!text.empty()) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset) & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
        const DWORD chunk = text.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(text.size());
        DWORD written = 0;
        if (!WriteFile(h, text.data(), chunk, &written, &at)) return errno_of(GetLastError());
        if (written == 0) return ENOSPC;
        text.remove_prefix(written);
        offset += written;
    }
    return 0;
}

int script_file_cut(std::FILE* f, int64_t length) {
    const HANDLE h = handle_of(f);
    LARGE_INTEGER at{};
    at.QuadPart = length;
    if (!SetFilePointerEx(h, at, nullptr, FILE_BEGIN) || !SetEndOfFile(h)) return errno_of(GetLastError());
    return 0;
}

bool script_file_still_named(std::FILE* f, const char* name) {
    BY_HANDLE_FILE_INFORMATION open_file{};
    if (!GetFileInformationByHandle(handle_of(f), &open_file) || open_file.nNumberOfLinks == 0) return false;
    // Asking for no access opens the name even while a share mode keeps others out.
    const HANDLE named = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(named, &info) != 0;
    CloseHandle(named);
    return ok && info.dwVolumeSerialNumber == open_file.dwVolumeSerialNumber &&
           info.nFileIndexHigh == open_file.nFileIndexHigh && info.nFileIndexLow == open_file.nFileIndexLow;
}

int script_file_close(std::FILE* f) {
    return std::fclose(f) == 0 ? 0 : errno;
}
