#include "gif_lzw.h"

#include <cstddef>

namespace morlu::platform {
namespace {

constexpr int MAX_CODE_SIZE = 12;
constexpr uint32_t TABLE_CODES = 1u << MAX_CODE_SIZE;  // 4096

// Codes of variable width packed into bytes, lowest bit first.
class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {
    }
    void put(uint32_t code, int width) {
        bits_ |= code << held_;
        held_ += width;
        for (; held_ >= 8; held_ -= 8, bits_ >>= 8) out_.push_back(static_cast<uint8_t>(bits_));
    }
    void flush() {
        if (held_ > 0) out_.push_back(static_cast<uint8_t>(bits_));
        bits_ = 0;
        held_ = 0;
    }

private:
    std::vector<uint8_t>& out_;
    uint32_t bits_ = 0;
    int held_ = 0;
};

// The string table: the code of (prefix code, next index), valid only in the
// generation it was made in, so a clear is one increment instead of wiping
// a megabyte.
class StringTable {
public:
    StringTable() : entries_(TABLE_CODES * 256) {
    }
    void clear() {
        if (++generation_ == 0) {  // wrapped: the old stamps could match again
            entries_.assign(entries_.size(), {});
            generation_ = 1;
        }
    }
    // The code of prefix + index, or 0 when there is none (no string has code 0
    // as its own: codes below the clear code are single indices).
    uint16_t find(uint32_t prefix, uint8_t index) const {
        const Entry& e = entries_[prefix << 8 | index];
        return e.generation == generation_ ? e.code : 0;
    }
    void add(uint32_t prefix, uint8_t index, uint32_t code) {
        entries_[prefix << 8 | index] = {static_cast<uint16_t>(code), generation_};
    }

private:
    struct Entry {
        uint16_t code = 0;
        uint16_t generation = 0;
    };
    std::vector<Entry> entries_;
    uint16_t generation_ = 1;
};

}  // namespace

// The decoder adds each string one code later than the encoder, so the width
// grows when the newest code no longer fits the width: a decoder reading the
// next code has just made its table that large too.
std::vector<uint8_t> lzw_compress(const std::vector<uint8_t>& indices, int min_code_size) {
    std::vector<uint8_t> out;
    BitWriter bits(out);
    // One table for every image a thread compresses: made once, cleared by a stamp.
    static thread_local StringTable table;
    table.clear();
    const uint32_t clear_code = 1u << min_code_size;
    const uint32_t end_code = clear_code + 1;
    int width = min_code_size + 1;
    uint32_t newest = end_code;  // the highest code in the table
    bits.put(clear_code, width);
    if (indices.empty()) {
        bits.put(end_code, width);
        bits.flush();
        return out;
    }
    uint32_t prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const uint8_t index = indices[i];
        if (const uint16_t code = table.find(prefix, index)) {
            prefix = code;
            continue;
        }
        bits.put(prefix, width);
        table.add(prefix, index, ++newest);
        if (newest >= (1u << width) && width < MAX_CODE_SIZE) ++width;
        if (newest == TABLE_CODES - 1) {
            bits.put(clear_code, width);
            table.clear();
            width = min_code_size + 1;
            newest = end_code;
        }
        prefix = index;
    }
    bits.put(prefix, width);
    // The decoder adds one more string on reading the last code.
    if (newest + 1 == (1u << width) && width < MAX_CODE_SIZE) ++width;
    bits.put(end_code, width);
    bits.flush();
    return out;
}

}  // namespace morlu::platform
