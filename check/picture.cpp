// PNG reading and writing through libpng's simplified interface.
#include "picture.h"

#include <png.h>

#include "safe_read.h"

namespace morlu::check {
namespace {

constexpr int MAX_SIDE = 4096;
constexpr size_t MAX_FILE = 64 << 20;

}  // namespace

std::optional<Picture> read_png(const std::filesystem::path& file) {
    const auto bytes = read_plain_file(file, MAX_FILE);
    if (!bytes) return std::nullopt;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes->data(), bytes->size())) return std::nullopt;
    if (image.width == 0 || image.height == 0 || image.width > MAX_SIDE || image.height > MAX_SIDE) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGB;
    Picture p;
    p.width = static_cast<int>(image.width);
    p.height = static_cast<int>(image.height);
    p.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return p;
}

bool write_png(const std::filesystem::path& file, const Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, file.c_str(), 0, picture.rgb.data(), 0, nullptr) != 0;
}

}  // namespace morlu::check
