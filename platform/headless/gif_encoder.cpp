// The GIF89a container: screen, loop, and per image its control extension,
// descriptor, colour table and LZW data in sub-blocks.
#include "gif_encoder.h"

#include <cstddef>
#include <initializer_list>
#include <utility>

#include "gif_lzw.h"

namespace morlu::platform {
namespace {

constexpr int32_t MAX_SIDE = 65535;

void put_u16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

// One byte at a time: GCC 12 at -O3 takes an insert into the empty vector for an overflow.
void put_bytes(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
    for (const uint8_t b : bytes) out.push_back(b);
}

// The bits a colour table needs: 2^bits entries hold the palette, at least 2.
int table_bits(size_t colours) {
    int bits = 1;
    while ((size_t{1} << bits) < colours) ++bits;
    return bits;
}

// Repeat forever: the application extension browsers read the loop count from.
void put_loop_forever(std::vector<uint8_t>& out) {
    put_bytes(out, {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
}

// Each image is drawn over the ones before (disposal 1, "do not dispose"), with
// no transparent colour, then shown for its delay.
void put_control(std::vector<uint8_t>& out, uint16_t delay_cs) {
    put_bytes(out, {0x21, 0xF9, 4, 1 << 2});
    put_u16(out, delay_cs);
    put_bytes(out, {0, 0});
}

void put_image(std::vector<uint8_t>& out, const GifImage& image) {
    put_control(out, image.delay_cs);
    const int bits = table_bits(image.palette.size());
    out.push_back(0x2C);
    put_u16(out, static_cast<uint32_t>(image.left));
    put_u16(out, static_cast<uint32_t>(image.top));
    put_u16(out, static_cast<uint32_t>(image.width));
    put_u16(out, static_cast<uint32_t>(image.height));
    out.push_back(static_cast<uint8_t>(0x80 | (bits - 1)));  // a local colour table, not interlaced
    for (size_t i = 0; i < (size_t{1} << bits); ++i) {
        const uint32_t c = i < image.palette.size() ? image.palette[i] : 0;
        put_bytes(out,
                  {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
    }
    // Two bits at least: a code size of 1 is not allowed.
    const int min_code_size = bits < 2 ? 2 : bits;
    out.push_back(static_cast<uint8_t>(min_code_size));
    const std::vector<uint8_t> data = lzw_compress(image.indices, min_code_size);
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t length = data.size() - at < 255 ? data.size() - at : 255;
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    out.push_back(0);  // the end of the image's data
}

}  // namespace

GifWriter::GifWriter(int32_t width, int32_t height) : width_(width), height_(height) {
    usable_ = width >= 1 && height >= 1 && width <= MAX_SIDE && height <= MAX_SIDE;
    if (!usable_) return;
    put_bytes(bytes_, {'G', 'I', 'F', '8', '9', 'a'});
    put_u16(bytes_, static_cast<uint32_t>(width));
    put_u16(bytes_, static_cast<uint32_t>(height));
    put_bytes(bytes_, {0, 0, 0});  // no global colour table, background 0, square pixels
    put_loop_forever(bytes_);
}

bool GifWriter::fits(const GifImage& image) const {
    const size_t pixels = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    if (!usable_ || image.width < 1 || image.height < 1 || image.left < 0 || image.top < 0 ||
        image.left > width_ - image.width || image.top > height_ - image.height)
        return false;
    if (image.palette.empty() || image.palette.size() > 256 || image.indices.size() != pixels) return false;
    for (const uint8_t index : image.indices)
        if (index >= image.palette.size()) return false;
    return true;
}

bool GifWriter::add(const GifImage& image) {
    if (!fits(image)) return false;
    put_image(bytes_, image);
    return true;
}

std::vector<uint8_t> GifWriter::finish() {
    if (!usable_) return {};
    bytes_.push_back(0x3B);  // the trailer
    usable_ = false;
    return std::move(bytes_);
}

std::vector<uint8_t> encode_gif(const GifAnimation& animation) {
    GifWriter writer(animation.width, animation.height);
    for (const GifImage& image : animation.images)
        if (!writer.add(image)) return {};
    return writer.finish();
}

}  // namespace morlu::platform
