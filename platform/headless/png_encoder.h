// The PNG seam: each edition encodes pictures with its own imaging library
// (libpng on Linux, the platform's imaging component in the Windows edition).
// Writing the file and reporting its failures are shared (png_writer.h).
#pragma once

#include <cstdint>
#include <vector>

#include "pixel_rows.h"

namespace morlu::platform {

// The bytes of an 8-bit RGB PNG file showing `rows`, which hold at least one
// pixel; empty when the encoder fails.
std::vector<uint8_t> encode_png(const PixelRows& rows);

}  // namespace morlu::platform
