// Storing an encoded picture in a file, with the failure named for the user.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace morlu::platform {

struct FileCloser {
    void operator()(std::FILE* f) const {
        std::fclose(f);
    }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

// Open `path` for writing, or nothing with `error` naming the file and the system's reason.
OpenFile open_picture_file(const std::string& path, std::string& error);

// Write `bytes` and close the file. False, with `error` naming the file and the
// `format` ("PNG"), when `bytes` is empty (the encoder failed) or the file cannot be stored.
bool store_picture(OpenFile file,
                   const std::vector<uint8_t>& bytes,
                   const char* format,
                   const std::string& path,
                   std::string& error);

}  // namespace morlu::platform
