// The script file as the operating system holds it: opening it safely for one
// direction, writing whole lines at known places, and noticing that it is gone.
// Everything system-specific about the file lives behind these few calls.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

// Why the script file was not opened.
enum class ScriptRefusal {
    none,
    cannot_open,    // missing, not permitted, or the system refused it
    symbolic_link,  // recording never writes through a link
    not_regular,    // a folder, FIFO, device or socket
    in_use,         // another program records into it, or plays it while we would record
    utf16_text,     // playback: the file is UTF-16 text, whose lines cannot be read
};

// Open `name` for playback. Never blocks, even on a FIFO; only a regular file
// that no other program records into is taken. Returns nullptr and sets `why`
// otherwise. The file stays marked as being read until script_file_close.
std::FILE* script_file_open_read(const char* name, ScriptRefusal& why);

// Open `name` for recording: no symbolic link is followed, only a regular file is
// taken, and it is emptied only once this program holds it alone. Returns
// nullptr and sets `why` otherwise; an existing file is then left as it was.
std::FILE* script_file_open_write(const char* name, ScriptRefusal& why);

// What `name` is when it is not a regular file, for a log line: "a folder", ...
const char* script_file_kind(const char* name);

// Write all of `text` at byte `offset` of a file opened for recording, through
// no buffer. Returns 0 when done, or the system's error number.
int script_file_write_at(std::FILE* f, int64_t offset, std::string_view text);

// Cut the file back to its first `length` bytes. Returns 0 or the error number.
int script_file_cut(std::FILE* f, int64_t length);

// False once the open file is no longer the one `name` names: deleted, its
// folder removed, or another file put in its place.
bool script_file_still_named(std::FILE* f, const char* name);

// Close the file. Returns 0, or the error number when the system reports that
// what was written may not be stored.
int script_file_close(std::FILE* f);
