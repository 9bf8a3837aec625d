#include "png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace morlu::platform {
namespace {

struct FileCloser {
    void operator()(FILE* f) const {
        std::fclose(f);
    }
};

std::vector<png_byte> rgb_row(const raster::Surface& s, int32_t y) {
    std::vector<png_byte> row(static_cast<size_t>(s.size().w) * 3);
    const uint32_t* px = s.row(y);
    for (int32_t x = 0; x < s.size().w; ++x) {
        row[static_cast<size_t>(x) * 3 + 0] = static_cast<png_byte>(px[x] >> 16);
        row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(px[x] >> 8);
        row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(px[x]);
    }
    return row;
}

// libpng reports errors by longjmp; keep every C++ object out of this frame.
bool encode(FILE* file, const raster::Surface& s, const std::vector<std::vector<png_byte>>& rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(s.size().w), static_cast<png_uint_32>(s.size().h), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (const auto& row : rows) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool write_png(const std::string& path, const raster::Surface& pixels, std::string& error) {
    if (pixels.size().w <= 0 || pixels.size().h <= 0) {
        error = "cannot write " + path + ": the window has no pixels";
        return false;
    }
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::vector<std::vector<png_byte>> rows;
    for (int32_t y = 0; y < pixels.size().h; ++y) rows.push_back(rgb_row(pixels, y));
    if (!encode(file.get(), pixels, rows) || std::fclose(file.release()) != 0) {
        error = "cannot write " + path + ": the PNG could not be encoded or stored";
        return false;
    }
    return true;
}

}  // namespace morlu::platform
