// Recording what the graphics window shows during a tape run, as an animated GIF
// in virtual time: the same tape always gives the same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/gif_encoder.h"
#include "platform/raster/surface.h"
#include "platform/window/backend.h"

namespace morlu {

class GifRecording {
public:
    // The window shows `shown` from `now` on; every pixel that differs from what
    // it showed before lies inside `changed`. Only the box of the pixels that
    // really differ is kept. A frame that replaces another within the same
    // hundredth of a second takes that one's place: a frame nobody could see
    // for any time is left out.
    void add_frame(const raster::Surface& shown, const raster::PixelBox& changed, platform::Millis now);
    // The window closed, or the run ended, at `now`: the last frame is shown
    // until then, and for at least a second, so that it can be seen before the
    // animation starts again.
    void end(platform::Millis now);
    bool empty() const {
        return frames_.empty();
    }
    // The frames as GIF images: each frame's box (split when it has more than
    // 256 colours, gif_palette.h), shown until the next frame; a delay longer
    // than a GIF can hold (655.35 s) goes on in extra one-pixel images.
    platform::GifAnimation animation() const;

private:
    struct Frame {
        uint32_t start_cs = 0;  // when it was first shown, in hundredths of a second
        raster::PixelBox box;   // the part it changed
        std::vector<uint32_t> pixels;
    };
    // The smallest box inside `within` where `shown` differs from last_, if any.
    std::optional<raster::PixelBox> differing_box(const raster::Surface& shown,
                                                  const raster::PixelBox& within) const;
    void keep_box(Frame& frame, const raster::Surface& shown, const raster::PixelBox& box);
    void append_frame_images(const Frame& frame, uint32_t shown_cs, platform::GifAnimation& out) const;

    raster::Surface last_;  // what the window showed after the latest frame
    std::vector<Frame> frames_;
    uint32_t end_cs_ = 0;
};

// Write the recording's GIF to `path`; false, with `error` naming the file,
// when it cannot be encoded or written.
bool write_gif(const std::string& path, const GifRecording& recording, std::string& error);

}  // namespace morlu
