// Snapshots as PNG files, through the edition's PNG encoder.
#include "png_writer.h"

#include "picture_file.h"
#include "png_encoder.h"

namespace morlu::platform {

bool write_png(const std::string& path, const raster::Surface& pixels, std::string& error) {
    if (pixels.size().w <= 0 || pixels.size().h <= 0) {
        error = "cannot write " + path + ": the window has no pixels";
        return false;
    }
    OpenFile file = open_picture_file(path, error);
    if (!file) return false;
    const PixelRows rows{pixels.pixels(), pixels.size().w, pixels.size().h,
                         static_cast<size_t>(pixels.size().w)};
    return store_picture(std::move(file), encode_png(rows), "PNG", path, error);
}

}  // namespace morlu::platform
