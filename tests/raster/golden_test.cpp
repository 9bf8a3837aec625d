// Our rasteriser against the platform's pixels: every case of
// golden/cases.txt drawn and compared at zero tolerance with the picture the
// reference renderer made (tools/gdi-reference.sh regenerates them).
#include <gtest/gtest.h>

#include <fstream>

#include "golden_ops.h"
#include "golden_png.h"

namespace morlu::raster::testing {
namespace {

TEST(GoldenShapes, EveryCaseMatchesThePlatformPixelForPixel) {
    std::ifstream cases(golden_dir() / "cases.txt");
    ASSERT_TRUE(cases) << "no case list in " << golden_dir();
    const std::vector<OpsPicture> drawn = draw_ops(cases);
    EXPECT_GE(drawn.size(), 100u);
    for (const OpsPicture& p : drawn) {
        EXPECT_TRUE(matches_golden(golden_dir() / (p.name + ".png"), p.pixels, Update::never));
    }
}

}  // namespace
}  // namespace morlu::raster::testing
