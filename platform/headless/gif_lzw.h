// The LZW compression of GIF image data.
#pragma once

#include <cstdint>
#include <vector>

namespace morlu::platform {

// The compressed codes of `indices` (each below 1 << min_code_size, which is
// 2..8), as the bytes of a GIF image's data before they are cut into
// sub-blocks: a clear code first, the end-of-information code last, codes packed
// from the lowest bit, and a clear code whenever the 4096-entry table is full.
std::vector<uint8_t> lzw_compress(const std::vector<uint8_t>& indices, int min_code_size);

}  // namespace morlu::platform
