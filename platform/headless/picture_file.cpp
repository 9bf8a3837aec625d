// Encoded pictures stored in files, for every encoder and edition.
#include "picture_file.h"

#include <cerrno>
#include <cstring>

namespace morlu::platform {

OpenFile open_picture_file(const std::string& path, std::string& error) {
    OpenFile file(std::fopen(path.c_str(), "wb"));
    if (!file) error = "cannot write " + path + ": " + std::strerror(errno);
    return file;
}

bool store_picture(OpenFile file,
                   const std::vector<uint8_t>& bytes,
                   const char* format,
                   const std::string& path,
                   std::string& error) {
    if (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fclose(file.release()) != 0) {
        error = "cannot write " + path + ": the " + format + " could not be encoded or stored";
        return false;
    }
    return true;
}

}  // namespace morlu::platform
