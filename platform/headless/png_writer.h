// Saving what a window shows as a PNG file.
#pragma once

#include <string>

#include "../raster/surface.h"

namespace morlu::platform {

// Write the surface as an 8-bit RGB PNG. Returns false, with `error` set to a
// message naming the file, when the file cannot be written.
bool write_png(const std::string& path, const raster::Surface& pixels, std::string& error);

}  // namespace morlu::platform
