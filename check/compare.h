// Comparing a submission's outputs with the reference's: snapshots with a
// per-channel tolerance and a count of pixels allowed to differ, logs line by
// line.
#pragma once

#include <string>
#include <vector>

#include "picture.h"

namespace morlu::check {

struct PictureDifference {
    bool same_size = true;
    long long differing = 0;  // pixels with a channel off by more than the tolerance
    int first_x = -1, first_y = -1;
    Picture marked;  // the reference, faded, with each differing pixel in red and ringed
};

PictureDifference compare_pictures(const Picture& reference,
                                   const Picture& submission,
                                   int channel_tolerance);

// The lines that differ, one report line each ("line 3: expected ..., got ..."),
// at most `limit` of them and then how many more; empty when the logs agree.
std::vector<std::string> compare_logs(const std::string& reference,
                                      const std::string& submission,
                                      size_t limit);

}  // namespace morlu::check
