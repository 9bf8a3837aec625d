// The script file in the browser edition: the page's storage (script_store.js)
// holds it under its name, byte for byte as a desktop holds the file. Playback
// reads a copy of it; recording keeps the file's bytes here and stores them
// whole after every write, so a page closed at any moment keeps whole lines.
#include <cerrno>
#include <cstdlib>
#include <map>
#include <string>

#include "../script_file.h"

// The page's side: the stored bytes of `name` in a buffer the caller frees (its
// length in `length`), or null when nothing is stored; storing replaces them
// and returns 0, or an error number when the page's storage refuses (full).
extern "C" {
uint8_t* morlu_web_store_get(const char* name, int32_t* length);
int32_t morlu_web_store_put(const char* name, const uint8_t* bytes, int32_t length);
}

namespace {

// A file being recorded: its name and the bytes written so far.
struct Recording {
    std::string name;
    std::string bytes;
};
std::map<std::FILE*, Recording> recordings;

// A stream of its own for each open script, in the module's memory: the
// reader reads it as any file; a recording only needs it as its handle.
std::FILE* scratch_stream(const std::string& bytes) {
    std::FILE* f = std::tmpfile();
    if (!f) return nullptr;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        std::fclose(f);
        return nullptr;
    }
    std::rewind(f);
    return f;
}

bool load(const char* name, std::string& bytes) {
    int32_t length = 0;
    uint8_t* stored = morlu_web_store_get(name, &length);
    if (!stored) return false;
    bytes.assign(reinterpret_cast<const char*>(stored), static_cast<size_t>(length));
    std::free(stored);
    return true;
}

int store(const Recording& r) {
    return morlu_web_store_put(r.name.c_str(), reinterpret_cast<const uint8_t*>(r.bytes.data()),
                               static_cast<int32_t>(r.bytes.size()));
}

}  // namespace

std::FILE* script_file_open_read(const char* name, ScriptRefusal& why) {
    std::string bytes;
    std::FILE* f = load(name, bytes) ? scratch_stream(bytes) : nullptr;
    why = f ? ScriptRefusal::none : ScriptRefusal::cannot_open;
    return f;
}

std::FILE* script_file_open_write(const char* name, ScriptRefusal& why) {
    std::FILE* f = scratch_stream({});
    Recording r{name, {}};
    if (!f || store(r) != 0) {
        if (f) std::fclose(f);
        why = ScriptRefusal::cannot_open;
        return nullptr;
    }
    recordings[f] = std::move(r);
    why = ScriptRefusal::none;
    return f;
}

// The page's storage holds nothing but plain entries.
const char* script_file_kind(const char*) {
    return "not a plain file";
}

int script_file_write_at(std::FILE* f, int64_t offset, std::string_view text) {
    const auto it = recordings.find(f);
    if (it == recordings.end() || offset < 0) return EBADF;
    std::string& bytes = it->second.bytes;
    const auto at = static_cast<size_t>(offset);
    if (bytes.size() < at + text.size()) bytes.resize(at + text.size());
    bytes.replace(at, text.size(), text);
    return store(it->second);
}

int script_file_cut(std::FILE* f, int64_t length) {
    const auto it = recordings.find(f);
    if (it == recordings.end() || length < 0) return EBADF;
    if (static_cast<size_t>(length) < it->second.bytes.size())
        it->second.bytes.resize(static_cast<size_t>(length));
    return store(it->second);
}

// Gone when the page's storage no longer holds it (cleared by the user).
bool script_file_still_named(std::FILE* f, const char* name) {
    const auto it = recordings.find(f);
    if (it == recordings.end()) return true;
    int32_t length = 0;
    uint8_t* stored = morlu_web_store_get(name, &length);
    std::free(stored);
    return stored != nullptr;
}

int script_file_close(std::FILE* f) {
    recordings.erase(f);
    return std::fclose(f) == 0 ? 0 : EIO;
}
