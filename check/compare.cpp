// Pixel and line comparisons, and the difference picture.
#include "compare.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace morlu::check {
namespace {

constexpr uint8_t RED[3] = {255, 0, 0};
constexpr uint8_t RING[3] = {255, 0, 255};
constexpr int RING_RADIUS = 6;          // a single pixel is found at a glance
constexpr long long MAX_RINGED = 2000;  // beyond this the red alone shows the place

bool differs(const uint8_t* a, const uint8_t* b, int tolerance) {
    for (int c = 0; c < 3; ++c) {
        if (std::abs(int(a[c]) - int(b[c])) > tolerance) return true;
    }
    return false;
}

// The reference at a quarter of its contrast, so the marks stand out.
Picture faded(const Picture& p) {
    Picture out = p;
    for (uint8_t& v : out.rgb) v = static_cast<uint8_t>(192 + v / 4);
    return out;
}

void paint(Picture& p, int x, int y, const uint8_t* colour) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
    std::copy(colour, colour + 3, p.at(x, y));
}

void ring(Picture& p, int cx, int cy) {
    for (int d = -RING_RADIUS; d <= RING_RADIUS; ++d) {
        paint(p, cx + d, cy - RING_RADIUS, RING);
        paint(p, cx + d, cy + RING_RADIUS, RING);
        paint(p, cx - RING_RADIUS, cy + d, RING);
        paint(p, cx + RING_RADIUS, cy + d, RING);
    }
}

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

PictureDifference compare_pictures(const Picture& reference, const Picture& submission, int tolerance) {
    PictureDifference d;
    if (reference.width != submission.width || reference.height != submission.height) {
        d.same_size = false;
        d.differing = static_cast<long long>(reference.width) * reference.height;
        d.marked = faded(reference);
        return d;
    }
    d.marked = faded(reference);
    std::vector<std::pair<int, int>> places;
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            if (!differs(reference.at(x, y), submission.at(x, y), tolerance)) continue;
            if (d.differing++ == 0) d.first_x = x, d.first_y = y;
            if (d.differing <= MAX_RINGED) places.emplace_back(x, y);
        }
    }
    if (d.differing <= MAX_RINGED) {
        for (const auto& [x, y] : places) ring(d.marked, x, y);
    }
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            if (differs(reference.at(x, y), submission.at(x, y), tolerance)) paint(d.marked, x, y, RED);
        }
    }
    return d;
}

std::vector<std::string> compare_logs(const std::string& reference,
                                      const std::string& submission,
                                      size_t limit) {
    const auto want = split_lines(reference);
    const auto got = split_lines(submission);
    std::vector<std::string> out;
    size_t differing = 0;
    for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
        const bool has_want = i < want.size(), has_got = i < got.size();
        if (has_want && has_got && want[i] == got[i]) continue;
        if (++differing > limit) continue;
        std::string line = "line " + std::to_string(i + 1) + ": ";
        if (!has_got)
            line += "expected \"" + want[i] + "\", the log ends";
        else if (!has_want)
            line += "expected the end, got \"" + got[i] + "\"";
        else
            line += "expected \"" + want[i] + "\", got \"" + got[i] + "\"";
        out.push_back(line);
    }
    if (differing > limit)
        out.push_back("... and " + std::to_string(differing - limit) + " more lines differ");
    return out;
}

}  // namespace morlu::check
