#include "gif_palette.h"

#include <array>

namespace morlu {
namespace {

constexpr size_t MAX_COLOURS = 256;

// The palette being gathered for one image: each colour's index in the order
// the colours came, found by open addressing in a table four times the
// palette's size, so a lookup takes one or two probes.
class ColourIndex {
public:
    ColourIndex() {
        keys_.fill(EMPTY);
    }
    // The colour's index, adding it when new; -1 when it is new and the palette is full.
    int index_of(uint32_t colour) {
        size_t slot = (colour * 2654435761u) >> 22;
        for (;; slot = (slot + 1) % SLOTS) {
            if (keys_[slot] == colour) return values_[slot];
            if (keys_[slot] != EMPTY) continue;
            if (colours_.size() == MAX_COLOURS) return -1;
            keys_[slot] = colour;
            values_[slot] = static_cast<uint16_t>(colours_.size());
            colours_.push_back(colour);
            return values_[slot];
        }
    }
    size_t size() const {
        return colours_.size();
    }
    // Keep only the first `count` colours.
    void keep(size_t count) {
        std::vector<uint32_t> kept(colours_.begin(), colours_.begin() + static_cast<std::ptrdiff_t>(count));
        clear();
        for (const uint32_t c : kept) index_of(c);
    }
    void clear() {
        keys_.fill(EMPTY);
        colours_.clear();
    }
    const std::vector<uint32_t>& colours() const {
        return colours_;
    }

private:
    static constexpr size_t SLOTS = 1024;           // 10 bits of the hash
    static constexpr uint32_t EMPTY = 0xFFFFFFFFu;  // no pixel has a top byte
    std::array<uint32_t, SLOTS> keys_{};
    std::array<uint16_t, SLOTS> values_{};
    std::vector<uint32_t> colours_;
};

// Index `count` pixels into `out`; false as soon as one does not fit the palette,
// with the number indexed before it in `done`. Runs of one colour, the common
// case, cost one lookup.
bool index_pixels(ColourIndex& table, const uint32_t* px, int32_t count, uint8_t* out, int32_t& done) {
    uint32_t last = 0xFFFFFFFFu;
    int index = 0;
    for (done = 0; done < count; ++done) {
        const uint32_t c = px[done] & 0xFFFFFFu;
        if (c != last) {
            index = table.index_of(c);
            if (index < 0) return false;
            last = c;
        }
        out[done] = static_cast<uint8_t>(index);
    }
    return true;
}

// Builds the images of one block, band by band.
class Splitter {
public:
    Splitter(const PixelBlock& block, std::vector<platform::GifImage>& out) : block_(block), out_(out) {
        start(0);
    }
    void add_row(int32_t y) {
        const size_t kept = table_.size();
        const size_t at = band_.indices.size();
        band_.indices.resize(at + static_cast<size_t>(block_.width));
        int32_t done = 0;
        if (index_pixels(table_, block_.row(y), block_.width, band_.indices.data() + at, done)) {
            ++band_.height;
            return;
        }
        band_.indices.resize(at);
        table_.keep(kept);
        if (band_.height > 0) {
            finish();
            start(y);
            return add_row(y);
        }
        split_row(y);
        start(y + 1);
    }
    void finish() {
        if (band_.height == 0) return;
        band_.palette = table_.colours();
        out_.push_back(std::move(band_));
    }

private:
    void start(int32_t y) {
        band_ = {.left = block_.left, .top = block_.top + y, .width = block_.width, .height = 0};
        table_.clear();
    }
    // A row with more than 256 colours: runs of it, each with at most 256.
    void split_row(int32_t y) {
        const uint32_t* px = block_.row(y);
        for (int32_t x = 0; x < block_.width;) {
            std::vector<uint8_t> indices(static_cast<size_t>(block_.width - x));
            int32_t done = 0;
            table_.clear();
            index_pixels(table_, px + x, block_.width - x, indices.data(), done);
            indices.resize(static_cast<size_t>(done));
            out_.push_back({.left = block_.left + x,
                            .top = block_.top + y,
                            .width = done,
                            .height = 1,
                            .palette = table_.colours(),
                            .indices = std::move(indices)});
            x += done;
        }
    }

    const PixelBlock& block_;
    std::vector<platform::GifImage>& out_;
    platform::GifImage band_;
    ColourIndex table_;
};

}  // namespace

void append_gif_images(const PixelBlock& block, uint16_t delay_cs, std::vector<platform::GifImage>& out) {
    if (block.width <= 0 || block.height <= 0) return;
    const size_t first = out.size();
    Splitter splitter(block, out);
    for (int32_t y = 0; y < block.height; ++y) splitter.add_row(y);
    splitter.finish();
    for (size_t i = first; i < out.size(); ++i) out[i].delay_cs = i + 1 == out.size() ? delay_cs : 0;
}

}  // namespace morlu
