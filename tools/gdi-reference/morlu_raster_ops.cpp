// The reference renderer's twin: draws the same list of operations with our
// rasteriser and writes the pixels in the same form ("picture NAME W H", then
// W * H little-endian 0x00RRGGBB pixels), so a script can compare the two.
#include <cstdio>
#include <iostream>

#include "tests/raster/golden_ops.h"

int main() {
    for (const auto& p : morlu::raster::testing::draw_ops(std::cin)) {
        for (const auto& line : p.extents) std::printf("%s\n", line.c_str());
        const auto size = p.pixels.size();
        std::printf("picture %s %d %d\n", p.name.c_str(), size.w, size.h);
        for (int32_t y = 0; y < size.h; ++y)
            std::fwrite(p.pixels.row(y), sizeof(uint32_t), static_cast<size_t>(size.w), stdout);
    }
    return 0;
}
