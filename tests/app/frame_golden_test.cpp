// Whole frames against golden pictures: the scene, the panel, each bug figure
// and the magnified bug, each drawn alone on a cleared window and compared
// pixel for pixel. The pictures come from our own renderer once its shapes
// matched the platform's (tests/raster/golden); they guard against
// regressions. MORLU_UPDATE_GOLDEN=1 rewrites them instead of comparing
// (tools/gdi-reference.sh does).
#include <functional>
#include <string>

#include "bug_app.h"
#include "raster/golden_png.h"
#include "runtime/runtime_fixture.h"

namespace morlu::testing {
namespace {

using raster::testing::golden_dir;
using raster::testing::matches_golden;

class FrameGolden : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        open();
        canvas_set_logging(0);
        init_bug_table(x, height, color, size, movement, speed, moving, steps);
    }

    // Draw on a cleared window and compare what it shows with the picture.
    void expect_frame(const std::string& name, const std::function<void()>& draw) {
        canvas_clear();
        draw();
        pump_one_message();  // the copy to the screen
        const Surface& shown = *window_surface(graphics());
        EXPECT_TRUE(matches_golden(golden_dir() / "frames" / (name + ".png"), shown)) << name;
    }

    BugColumn x{}, height{}, color{}, size{}, movement{}, speed{}, moving{}, steps{};
};

TEST_F(FrameGolden, SceneWithTheSunHigh) {
    expect_frame("scene", [] { draw_scene(-40); });
}

TEST_F(FrameGolden, Panel) {
    expect_frame("panel", [] { panel_draw(); });
}

// The table's first three slots hold the three sizes, 20, 10 and 16; the
// second figure of size 20 is the selected one, with its yellow tip.
TEST_F(FrameGolden, EachBugFigure) {
    for (int32_t slot = 0; slot < 3; ++slot) {
        BugColumn one_x{}, one_height{}, one_size{}, one_color{};
        one_x[0] = 100 - 60 * slot;
        one_height[0] = 30 * slot;
        one_size[0] = size[slot];
        one_color[0] = color[slot];
        expect_frame("bug-size-" + std::to_string(size[slot]),
                     [&] { draw_bugs(one_x, one_height, one_size, one_color, -1, 0, 0, 1); });
    }
    expect_frame("bug-selected", [&] { draw_bugs(x, height, size, color, 0, 1, 0, 1); });
}

TEST_F(FrameGolden, MagnifiedBug) {
    x[0] = 0;  // the middle of the picture
    height[0] = 20;
    expect_frame("magnified-bug", [&] { draw_debug_bug(x, height, color, 0); });
}

// Every label of the panel ends left of its box's right edge, with the
// platform's text metrics.
TEST_F(FrameGolden, PanelLabelsFitTheirBoxes) {
    canvas_clear();
    panel_draw();
    pump_one_message();
    const Surface& shown = *window_surface(graphics());
    const int32_t border = runtime.window.origin_x + PANEL_RIGHT;
    for (int32_t y = runtime.window.origin_y - PANEL_TOP + 1; y < runtime.window.origin_y - PANEL_BOTTOM - 1;
         ++y) {
        if (shown.at(border - 1, y) != 0xFFFFFFu && shown.at(border - 2, y) != 0xFFFFFFu) {
            const bool is_box_edge = shown.at(border - 20, y) == 0;
            EXPECT_TRUE(is_box_edge) << "text reaches the right edge of a box on row " << y;
        }
    }
}

}  // namespace
}  // namespace morlu::testing
