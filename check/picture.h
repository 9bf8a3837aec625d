// Pictures as the checker compares them: 8-bit RGB, read from and written to
// PNG with libpng. A submission writes its own snapshots, so reading never
// trusts the file: a size limit, and a failure is a value.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace morlu::check {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // rows top to bottom, 3 bytes a pixel
    const uint8_t* at(int x, int y) const {
        return &rgb[(static_cast<size_t>(y) * width + x) * 3];
    }
    uint8_t* at(int x, int y) {
        return &rgb[(static_cast<size_t>(y) * width + x) * 3];
    }
};

// The PNG at `file`, or nothing when it is missing, not a regular file, a
// link, larger than 4096 x 4096, or not a PNG.
std::optional<Picture> read_png(const std::filesystem::path& file);
bool write_png(const std::filesystem::path& file, const Picture& picture);

}  // namespace morlu::check
