#include "gif_recording.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "gif_palette.h"

namespace morlu {

using raster::PixelBox;
using raster::Surface;

namespace {

// The longest delay one GIF image holds, in hundredths of a second.
constexpr uint32_t MAX_DELAY_CS = 65535;
// The last frame stays at least this long before the animation starts again.
constexpr uint32_t LAST_FRAME_CS = 100;

uint32_t to_cs(platform::Millis t) {
    return static_cast<uint32_t>(std::max<int64_t>(0, t.count()) / 10);
}

// Whether row y of two same-sized surfaces differs between columns x0 and x1-1.
bool row_differs(const Surface& a, const Surface& b, int32_t y, int32_t x0, int32_t x1) {
    return !std::equal(a.row(y) + x0, a.row(y) + x1, b.row(y) + x0);
}

}  // namespace

std::optional<PixelBox> GifRecording::differing_box(const Surface& shown, const PixelBox& within) const {
    // The window keeps its size; were it to change, only the common part is compared.
    const auto common = intersect(shown.bounds(), last_.bounds());
    const auto box = common ? intersect(within, *common) : std::nullopt;
    if (!box) return std::nullopt;
    int32_t y0 = box->y0, y1 = box->y1;
    while (y0 < y1 && !row_differs(shown, last_, y0, box->x0, box->x1)) ++y0;
    if (y0 == y1) return std::nullopt;
    while (!row_differs(shown, last_, y1 - 1, box->x0, box->x1)) --y1;
    int32_t x0 = box->x1, x1 = box->x0;
    for (int32_t y = y0; y < y1; ++y) {
        const uint32_t* a = shown.row(y);
        const uint32_t* b = last_.row(y);
        int32_t left = box->x0, right = box->x1;
        while (left < right && a[left] == b[left]) ++left;
        while (right > left && a[right - 1] == b[right - 1]) --right;
        if (left < right) x0 = std::min(x0, left), x1 = std::max(x1, right);
    }
    return PixelBox{x0, y0, x1, y1};
}

void GifRecording::keep_box(Frame& frame, const Surface& shown, const PixelBox& box) {
    frame.box = box;
    frame.pixels.clear();
    frame.pixels.reserve(static_cast<size_t>(box.x1 - box.x0) * static_cast<size_t>(box.y1 - box.y0));
    for (int32_t y = box.y0; y < box.y1; ++y)
        frame.pixels.insert(frame.pixels.end(), shown.row(y) + box.x0, shown.row(y) + box.x1);
    copy_box(last_, shown, box);
}

void GifRecording::add_frame(const Surface& shown, const PixelBox& changed, platform::Millis now) {
    const uint32_t start = to_cs(now);
    if (frames_.empty()) {
        // The first frame is the whole picture, whose size the animation keeps.
        last_ = Surface(shown.size(), 0);
        frames_.push_back({start, {}, {}});
        keep_box(frames_.back(), shown, shown.bounds());
        return;
    }
    const auto box = differing_box(shown, changed);
    if (!box) return;
    if (frames_.back().start_cs == start) {
        // Never seen: the new pixels take its place, over both boxes.
        keep_box(frames_.back(), shown, unite(frames_.back().box, *box));
        return;
    }
    frames_.push_back({start, {}, {}});
    keep_box(frames_.back(), shown, *box);
}

void GifRecording::end(platform::Millis now) {
    end_cs_ = std::max(end_cs_, to_cs(now));
}

void GifRecording::append_frame_images(const Frame& frame,
                                       uint32_t shown_cs,
                                       platform::GifAnimation& out) const {
    const int32_t width = frame.box.x1 - frame.box.x0;
    const PixelBlock block{frame.box.x0,
                           frame.box.y0,
                           width,
                           frame.box.y1 - frame.box.y0,
                           frame.pixels.data(),
                           static_cast<size_t>(width)};
    append_gif_images(block, static_cast<uint16_t>(std::min(shown_cs, MAX_DELAY_CS)), out.images);
    // The rest of a long delay: the frame's first pixel drawn again, unchanged.
    for (shown_cs -= std::min(shown_cs, MAX_DELAY_CS); shown_cs > 0;) {
        const uint32_t part = std::min(shown_cs, MAX_DELAY_CS);
        const PixelBlock one{frame.box.x0, frame.box.y0, 1, 1, frame.pixels.data(), 1};
        append_gif_images(one, static_cast<uint16_t>(part), out.images);
        shown_cs -= part;
    }
}

platform::GifAnimation GifRecording::animation() const {
    platform::GifAnimation out;
    if (frames_.empty()) return out;
    out.width = frames_.front().box.x1;
    out.height = frames_.front().box.y1;
    for (size_t i = 0; i < frames_.size(); ++i) {
        const bool last = i + 1 == frames_.size();
        const uint32_t until =
            last ? std::max(end_cs_, frames_[i].start_cs + LAST_FRAME_CS) : frames_[i + 1].start_cs;
        append_frame_images(frames_[i], until - frames_[i].start_cs, out);
    }
    return out;
}

bool write_gif(const std::string& path, const GifRecording& recording, std::string& error) {
    const std::vector<uint8_t> bytes =
        recording.empty() ? std::vector<uint8_t>{} : platform::encode_gif(recording.animation());
    if (bytes.empty()) {
        error =
            "cannot write " + path +
            (recording.empty() ? ": the graphics window showed nothing" : ": the GIF could not be encoded");
        return false;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fclose(file.release()) != 0) {
        error = "cannot write " + path + ": the GIF could not be stored";
        return false;
    }
    return true;
}

}  // namespace morlu
