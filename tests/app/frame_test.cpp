#include <fstream>
#include <string>
#include <vector>

#include "bug_app.h"
#include "headless_run.h"
#include "runtime/runtime_fixture.h"

namespace morlu::testing {
namespace {

class Frame : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        open();
        canvas_clear();
        init_bug_table(x, height, color, size, movement, speed, moving, steps);
    }
    // The newest n lines of the log (it keeps 25).
    static std::vector<std::string> last(size_t n) {
        const auto all = log_stored_lines();
        return {all.end() - static_cast<long>(std::min(n, all.size())), all.end()};
    }
    // A whole frame's descriptions: the scene's and then the bugs', each taken
    // from the log right after it was drawn.
    std::vector<std::string> frame_lines(int32_t sun_x, size_t scene_lines) {
        draw_scene(sun_x);
        auto lines = last(scene_lines);
        panel_draw();
        draw_bugs(x, height, size, color, -1, 0, 0, 1);
        for (const auto& line : last(15)) lines.push_back(line);
        return lines;
    }
    BugColumn x{}, height{}, color{}, size{}, movement{}, speed{}, moving{}, steps{};
};

const std::vector<std::string> LAND = {
    "olive rectangle with bounding box (-300,0) to (300,-250), filled",
    "brown triangle at (-325,0), (-50,0), (-200,170)",
    "brown triangle at (325,0), (50,0), (225,170)",
    "white triangle at (-146,110), (-246,110), (-200,170)",
    "white triangle at (261,110), (162,110), (225,170)",
    "white rectangle with bounding box (-300,5) to (300,-5), filled",
    "white circle at (100,195), radius 30",
    "white circle at (-20,195), radius 30",
    "white circle at (60,195), radius 50",
    "white circle at (20,195), radius 50",
    "black text at (-285,-180), \"Click a button to control the bug.\"",
    "black text at (-285,-200), \"Click 'Select Bug' to select a single but to control\"",
    "black text at (-285,-220), \"Click 'Select Bug' again to control all the bugs.\"",
    "black text at (-285,-240), \"The 'DEBUB button only works for individually selected bugs.\"",
};

// The red size-20 bug of slot 0 at x 275, height 0.
const std::vector<std::string> FIRST_BUG = {
    "red circle at (275,90), radius 20",
    "black line from (275,110) to (275,123), width 2",
    "black circle at (275,123), radius 5",
    "white circle at (265,95), radius 6",
    "black circle at (268,94), radius 5",
    "red rectangle with bounding box (270,73) to (280,65), filled",
    "red circle at (275,52), radius 15",
    "black line from (275,39) to (265,25), width 2",
    "black line from (265,25) to (280,5), width 2",
    "black circle at (280,5), radius 3",
    "black line from (280,39) to (270,25), width 2",
    "black line from (270,25) to (285,5), width 2",
    "black circle at (285,5), radius 3",
    "black line from (275,59) to (249,50), width 2",
    "black circle at (249,50), radius 3",
};

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(Frame, AtNoonTheSkyIsIceBlueAndTheSunStandsHighest) {
    const auto want = joined(joined({"ice blue rectangle with bounding box (-300,250) to (300,-250), filled",
                                     "yellow circle at (0,220), radius 25"},
                                    LAND),
                             FIRST_BUG);
    EXPECT_EQ(frame_lines(0, 16), want);
}

TEST_F(Frame, AtTheEdgesTheSkyIsOrangeAndNoSunIsDrawn) {
    const auto want = joined(
        joined({"orange rectangle with bounding box (-300,250) to (300,-250), filled"}, LAND), FIRST_BUG);
    EXPECT_EQ(frame_lines(-270, 15), want);
    draw_scene(200);
    EXPECT_EQ(last(16).front(), "orange rectangle with bounding box (-300,250) to (300,-250), filled");
    EXPECT_EQ(last(15).front(), "yellow circle at (200,91), radius 25");
    draw_scene(-195);
    EXPECT_EQ(last(16).front(), "ice blue rectangle with bounding box (-300,250) to (300,-250), filled");
}

TEST_F(Frame, TheSelectedBugHasAYellowTipOnlyWhileSelectingOne) {
    draw_bugs(x, height, size, color, 0, 1, 0, 1);
    EXPECT_EQ(log_stored_lines()[log_stored_lines().size() - 13], "yellow circle at (275,123), radius 10");
    draw_bugs(x, height, size, color, 0, 0, 0, 1);
    EXPECT_EQ(log_stored_lines()[log_stored_lines().size() - 13], "black circle at (275,123), radius 5");
    log_printf("mark\n");
    draw_bugs(x, height, size, color, 0, 1, 1, 1);  // the debug view shows it instead
    EXPECT_EQ(last(1).front(), "mark");
}

TEST_F(Frame, TheWindowShowsTheLandscapeAndTheBug) {
    draw_scene(0);
    panel_draw();
    draw_bugs(x, height, size, color, -1, 0, 0, 1);
    pump_one_message();  // the copy to the screen
    const Surface& shown = *window_surface(graphics());
    auto at = [&](int lx, int ly) {
        return shown.at(runtime.window.origin_x + lx, runtime.window.origin_y - ly);
    };
    EXPECT_EQ(at(-150, 240), 0x99FFFFu);  // ice blue sky
    EXPECT_EQ(at(-20, 230), 0xFFFF00u);   // the sun at the top of its arc, beside a cloud
    EXPECT_EQ(at(0, -100), 0x999933u);    // olive ground
    EXPECT_EQ(at(-200, 60), 0x996633u);   // brown mountain
    EXPECT_EQ(at(-200, 150), 0xFFFFFFu);  // its snow cap
    EXPECT_EQ(at(0, 0), 0xFFFFFFu);       // the horizon band
    EXPECT_EQ(at(100, 195), 0xFFFFFFu);   // a cloud
    EXPECT_EQ(at(275, 90), 0xFF0000u);    // the red bug's head, on the right
    EXPECT_EQ(at(275, 52), 0xFF0000u);    // and its body, above the horizon
    int dark = 0;                         // the first help line, just above y -180
    for (int ly = -179; ly < -160; ++ly)
        for (int lx = -285; lx < -150; ++lx) dark += at(lx, ly) < 0x303030u;
    EXPECT_GT(dark, 30);
}

// Heights saturate at the 32-bit limits; a bug that far out is drawn at 2^30,
// off the picture, so no coordinate of its figure overflows.
TEST_F(Frame, BugsAtTheHeightLimitsAreDrawnOffThePictureWithoutOverflow) {
    height[0] = INT32_MAX;
    draw_bugs(x, height, size, color, -1, 0, 0, 1);
    EXPECT_EQ(last(15).front(), "red circle at (275,1073741914), radius 20");
    height[0] = INT32_MIN;
    draw_debug_bug(x, height, color, 0);
    EXPECT_EQ(last(17).front(), "red circle at (275,-1073741724), radius 170");
}

// The main loop, run by the headless driver: logging switched on with Ctrl+L, ten
// ticks and a click. The log keeps the last 25 lines of the last frame: the
// panel's last ten labels, then the red bug, which walked 10 a tick from 275.
TEST(MainLoop, EveryTickMovesTheBugAndEveryEventRedrawsTheWholePicture) {
    const std::string log_file = ::testing::TempDir() + "main_loop_log.txt";
    std::string error;
    auto tape = parse_tape("key ctrl+l\nwait 1000\nclick 590 10\nlog " + log_file + "\n", error);
    ASSERT_TRUE(tape) << error;
    EXPECT_EQ(run_headless(*tape).status, 0);
    std::ifstream in(log_file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const std::vector<std::string> want = {
        "black text at (-285,177), \"Faster\"",
        "black text at (-285,152), \"Slower\"",
        "black text at (-285,127), \"Cng Mvmnt\"",
        "black text at (-285,102), \"Add Bug\"",
        "black text at (-285,77), \"Delete Bug\"",
        "black text at (-285,52), \"New Color\"",
        "black text at (-285,27), \"Size\"",
        "black text at (-285,-23), \"DEBUG\"",
        "black text at (-285,-48), \"Select Bug\"",
        "black text at (-285,-73), \"Select All\"",
        "red circle at (175,90), radius 20",
        "black line from (175,110) to (175,123), width 2",
        "black circle at (175,123), radius 5",
        "white circle at (165,95), radius 6",
        "black circle at (168,94), radius 5",
        "red rectangle with bounding box (170,73) to (180,65), filled",
        "red circle at (175,52), radius 15",
        "black line from (175,39) to (165,25), width 2",
        "black line from (165,25) to (180,5), width 2",
        "black circle at (180,5), radius 3",
        "black line from (180,39) to (170,25), width 2",
        "black line from (170,25) to (185,5), width 2",
        "black circle at (185,5), radius 3",
        "black line from (175,59) to (149,50), width 2",
        "black circle at (149,50), radius 3",
    };
    EXPECT_EQ(lines, want);
}

}  // namespace
}  // namespace morlu::testing
