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
constexpr uint64_t MAX_DELAY_CS = 65535;
// The last frame stays at least this long before the animation starts again.
constexpr uint64_t LAST_FRAME_CS = 100;

// 64 bits: a tape's waits add up to far more hundredths than 32 bits hold.
uint64_t to_cs(platform::Millis t) {
    return static_cast<uint64_t>(std::max<int64_t>(0, t.count())) / 10;
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
    if (ended_) return;
    const uint64_t start = to_cs(now);
    if (!started_) {
        // The first frame is the whole picture, whose size the animation keeps.
        started_ = true;
        sink_.start(shown.size());
        last_ = Surface(shown.size(), 0);
        showing_ = Frame{start, {}, {}};
        keep_box(*showing_, shown, shown.bounds());
        return;
    }
    const auto box = differing_box(shown, changed);
    if (!box) return;
    if (showing_->start_cs == start) {
        // Never seen: the new pixels take its place, over both boxes.
        keep_box(*showing_, shown, unite(showing_->box, *box));
        return;
    }
    finish(*showing_, start - showing_->start_cs);
    showing_ = Frame{start, {}, {}};
    keep_box(*showing_, shown, *box);
}

void GifRecording::end(platform::Millis now) {
    if (ended_ || !showing_) return;
    ended_ = true;
    finish(*showing_, std::max(to_cs(now) - std::min(to_cs(now), showing_->start_cs), LAST_FRAME_CS));
    showing_.reset();
}

void GifRecording::finish(const Frame& frame, uint64_t shown_cs) {
    const int32_t width = frame.box.x1 - frame.box.x0;
    const PixelBlock block{frame.box.x0,
                           frame.box.y0,
                           width,
                           frame.box.y1 - frame.box.y0,
                           frame.pixels.data(),
                           static_cast<size_t>(width)};
    std::vector<platform::GifImage> images;
    append_gif_images(block, static_cast<uint16_t>(std::min(shown_cs, MAX_DELAY_CS)), images);
    // The rest of a long delay: the frame's first pixel drawn again, unchanged.
    for (shown_cs -= std::min(shown_cs, MAX_DELAY_CS); shown_cs > 0;) {
        const uint64_t part = std::min(shown_cs, MAX_DELAY_CS);
        const PixelBlock one{frame.box.x0, frame.box.y0, 1, 1, frame.pixels.data(), 1};
        append_gif_images(one, static_cast<uint16_t>(part), images);
        shown_cs -= part;
    }
    for (platform::GifImage& image : images) sink_.image(std::move(image));
}

GifFile::GifFile()
    : recording_({[this](raster::Size size) { writer_.emplace(size.w, size.h); },
                  [this](platform::GifImage&& image) { encoded_ = writer_->add(image) && encoded_; }}) {
}

bool GifFile::write(const std::string& path, std::string& error) {
    if (!writer_) {
        error = "cannot write " + path + ": the graphics window showed nothing";
        return false;
    }
    const std::vector<uint8_t> bytes = encoded_ ? writer_->finish() : std::vector<uint8_t>{};
    if (bytes.empty()) {
        error = "cannot write " + path + ": the GIF could not be encoded";
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
