// Recording what the graphics window shows during a tape run, as an animated GIF
// in virtual time: the same tape always gives the same bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/gif_encoder.h"
#include "platform/raster/surface.h"
#include "platform/window/backend.h"

namespace morlu {

// Frames in, GIF images out as soon as each frame's time on screen is known:
// only the frame still showing is kept as pixels.
class GifRecording {
public:
    // Where finished frames go: the picture's size once, before the first
    // image, then the images in order.
    struct Sink {
        std::function<void(raster::Size)> start;
        std::function<void(platform::GifImage&&)> image;
    };
    explicit GifRecording(Sink sink) : sink_(std::move(sink)) {
    }

    // The window shows `shown` from `now` on; every pixel that differs from what
    // it showed before lies inside `changed`. Only the box of the pixels that
    // really differ is kept. A frame that replaces another within the same
    // hundredth of a second takes that one's place: a frame nobody could see
    // for any time is left out. The first frame is the whole picture.
    void add_frame(const raster::Surface& shown, const raster::PixelBox& changed, platform::Millis now);
    // The window closed, or the run ended, at `now`: the last frame is shown
    // until then, and for at least a second, so that it can be seen before the
    // animation starts again. Frames after this are left out.
    void end(platform::Millis now);
    bool empty() const {
        return !started_;
    }

private:
    struct Frame {
        uint64_t start_cs = 0;  // when it was first shown, in hundredths of a second
        raster::PixelBox box;   // the part it changed
        std::vector<uint32_t> pixels;
    };
    // The smallest box inside `within` where `shown` differs from last_, if any.
    std::optional<raster::PixelBox> differing_box(const raster::Surface& shown,
                                                  const raster::PixelBox& within) const;
    void keep_box(Frame& frame, const raster::Surface& shown, const raster::PixelBox& box);
    // The frame's images (split when it has more than 256 colours, gif_palette.h),
    // shown for `shown_cs`; a delay longer than a GIF holds (655.35 s) goes on
    // in extra one-pixel images.
    void finish(const Frame& frame, uint64_t shown_cs);

    Sink sink_;
    raster::Surface last_;          // what the window showed after the latest frame
    std::optional<Frame> showing_;  // the latest frame, whose time on screen is not known yet
    bool started_ = false;
    bool ended_ = false;
};

// A recording encoded as it goes, then written to a file.
class GifFile {
public:
    GifFile();
    GifFile(const GifFile&) = delete;
    GifFile& operator=(const GifFile&) = delete;

    GifRecording& recording() {
        return recording_;
    }
    // Write the GIF (end the recording first); false, with `error` naming the
    // file, when nothing was shown or the file cannot be encoded or written.
    bool write(const std::string& path, std::string& error);

private:
    std::optional<platform::GifWriter> writer_;
    bool encoded_ = true;  // every image fitted
    GifRecording recording_;
};

}  // namespace morlu
