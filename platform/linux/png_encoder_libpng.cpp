// PNG pictures encoded by libpng into memory: the Linux edition's PNG encoder.
#include <png.h>

#include <new>

#include "../headless/png_encoder.h"

namespace morlu::platform {
namespace {

// Where libpng's output goes. libpng calls back from C frames, so a failure to
// grow the buffer is noted rather than thrown, and the picture is given up.
struct Sink {
    std::vector<uint8_t> bytes;
    bool failed = false;
};

void append(png_structp png, png_bytep data, size_t length) {
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    if (sink->failed) return;
    try {
        sink->bytes.insert(sink->bytes.end(), data, data + length);
    } catch (const std::bad_alloc&) {
        sink->failed = true;
    }
}

void flush(png_structp) {
}

std::vector<png_byte> rgb_row(const PixelRows& rows, int32_t y) {
    std::vector<png_byte> row(static_cast<size_t>(rows.width) * 3);
    const uint32_t* px = rows.row(y);
    for (int32_t x = 0; x < rows.width; ++x) {
        row[static_cast<size_t>(x) * 3 + 0] = static_cast<png_byte>(px[x] >> 16);
        row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(px[x] >> 8);
        row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(px[x]);
    }
    return row;
}

// libpng reports errors by longjmp; keep every C++ object out of this frame.
bool encode(Sink& sink, const PixelRows& pixels, const std::vector<std::vector<png_byte>>& rows) {
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
    png_set_write_fn(png, &sink, append, flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (const auto& row : rows) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::vector<uint8_t> encode_png(const PixelRows& pixels) {
    std::vector<std::vector<png_byte>> rows;
    for (int32_t y = 0; y < pixels.height; ++y) rows.push_back(rgb_row(pixels, y));
    Sink sink;
    if (!encode(sink, pixels, rows) || sink.failed) return {};
    return std::move(sink.bytes);
}

}  // namespace morlu::platform
