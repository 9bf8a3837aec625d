#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "bug_app.h"
#include "runtime/runtime_fixture.h"

namespace morlu::testing {
namespace {

constexpr int32_t MAX = std::numeric_limits<int32_t>::max();
constexpr int32_t MIN = std::numeric_limits<int32_t>::min();

// A row's name, for readable calls; row 9 has no label.
enum Row {
    GO,
    STOP,
    FASTER,
    SLOWER,
    CNG_MVMNT,
    ADD_BUG,
    DELETE_BUG,
    NEW_COLOR,
    SIZE,
    UNLABELLED,
    DEBUG,
    SELECT_BUG,
    SELECT_ALL
};

// The starting table with three live bugs; the runtime is open and describes
// every shape in the log, so the panel's drawing and its error text show there.
class Panel : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        open();
        init_bug_table(x, height, color, size, movement, speed, moving, steps);
        start = table();
    }
    void click_at(int32_t px, int32_t py) {
        panel_command(px, py, moving, movement, color, speed, selection_mode, size, selected_bug,
                      debug_active, bug_count);
    }
    // The middle of the row's box.
    void click(Row row) {
        click_at(-257, 233 - 25 * row);
    }
    std::vector<BugColumn> table() const {
        return {x, height, color, size, movement, speed, moving, steps};
    }
    std::string newest_log_line() const {
        const auto lines = log_stored_lines();
        return lines.empty() ? "" : lines.back();
    }

    BugColumn x{}, height{}, color{}, size{}, movement{}, speed{}, moving{}, steps{};
    int32_t selection_mode = 0, selected_bug = -1, debug_active = 0, bug_count = 3;
    std::vector<BugColumn> start;
};

const std::string INTERNAL_ERROR = "red text at (0,0), \"INTERNAL ERROR!\"";

TEST(PanelHit, TheOutlineIsOutsideAndEverythingWithinIsInside) {
    EXPECT_EQ(panel_hit(-294, 244), 1);
    EXPECT_EQ(panel_hit(-221, -79), 1);
    EXPECT_EQ(panel_hit(-257, 220), 1);  // an inner edge
    EXPECT_EQ(panel_hit(-295, 100), 0);
    EXPECT_EQ(panel_hit(-220, 100), 0);
    EXPECT_EQ(panel_hit(-257, 245), 0);
    EXPECT_EQ(panel_hit(-257, -80), 0);
    EXPECT_EQ(panel_hit(MIN, MIN), 0);
    EXPECT_EQ(panel_hit(MAX, MAX), 0);
}

// (245 - y) / 25, truncating: a shared edge belongs to the lower box.
TEST_F(Panel, AnInnerEdgeBelongsToTheLowerRow) {
    click_at(-257, 220);  // the edge between "Go" and "Stop"
    EXPECT_EQ(moving[0], 0);
    click_at(-257, 221);
    EXPECT_EQ(moving[0], 1);
    click_at(-257, -79);  // the last row inside the column
    click_at(-257, -55);  // its top edge: still "Select All"
    EXPECT_EQ(selection_mode, 0);
    click_at(-257, -54);  // "Select Bug"
    EXPECT_EQ(selection_mode, 1);
    EXPECT_EQ(selected_bug, 0);
}

// Only a direct call can bring such points here; none of them changes anything.
TEST_F(Panel, PointsBesideOrBeyondTheRowsOnlyReportAnInternalError) {
    for (const auto& [px, py] : std::vector<std::pair<int32_t, int32_t>>{
             {-296, 233}, {-219, 233}, {-257, 270}, {-257, -80}, {-257, MIN}, {MIN, 0}}) {
        log_printf("mark\n");
        click_at(px, py);
        EXPECT_EQ(newest_log_line(), INTERNAL_ERROR) << px << ", " << py;
    }
    EXPECT_EQ(table(), start);
    EXPECT_EQ(bug_count, 3);
    EXPECT_EQ(selection_mode, 0);
    EXPECT_EQ(selected_bug, -1);
    // A point just above the top truncates to row 0, and the outline columns
    // pass the column test: both are "Go".
    click(STOP);
    click_at(-295, 246);
    EXPECT_EQ(moving[0], 1);
}

TEST_F(Panel, TheUnlabelledRowChangesNothing) {
    click(UNLABELLED);
    EXPECT_EQ(newest_log_line(), INTERNAL_ERROR);
    EXPECT_EQ(table(), start);
    EXPECT_EQ(bug_count, 3);
}

// In selection mode 0 each bug row changes slots 0..2, the live ones, and no other.
TEST_F(Panel, BugRowsChangeEveryLiveBugInModeZero) {
    click(STOP);
    click(FASTER);
    click(CNG_MVMNT);
    click(NEW_COLOR);
    click(SIZE);
    EXPECT_EQ((std::vector<int32_t>{moving[0], moving[1], moving[2], moving[3]}),
              (std::vector<int32_t>{0, 0, 0, 1}));
    EXPECT_EQ((std::vector<int32_t>{speed[0], speed[1], speed[2], speed[3]}),
              (std::vector<int32_t>{11, 16, 21, 25}));
    EXPECT_EQ((std::vector<int32_t>{movement[0], movement[1], movement[2], movement[3]}),
              (std::vector<int32_t>{MOVE_HOP, MOVE_FLY, MOVE_WALK, MOVE_WALK}));
    EXPECT_EQ((std::vector<int32_t>{color[0], color[1], color[2], color[3]}),
              (std::vector<int32_t>{3, 4, 5, 5}));
    EXPECT_EQ((std::vector<int32_t>{size[0], size[1], size[2], size[3]}),
              (std::vector<int32_t>{10, 16, 20, 20}));
    click(GO);
    click(SLOWER);
    click(SLOWER);
    EXPECT_EQ((std::vector<int32_t>{moving[0], moving[1], moving[2]}), (std::vector<int32_t>{1, 1, 1}));
    EXPECT_EQ((std::vector<int32_t>{speed[0], speed[1], speed[2], speed[3]}),
              (std::vector<int32_t>{9, 14, 19, 25}));
    for (int i = 3; i < MAX_BUGS; ++i) {
        EXPECT_EQ(moving[i], 1);
        EXPECT_EQ(color[i], i + 2);
        EXPECT_EQ(speed[i], start[5][static_cast<size_t>(i)]);
    }
}

// In selection mode 1 the same rows change the selected slot alone, even one
// that "Delete Bug" has taken out of the live range.
TEST_F(Panel, BugRowsChangeOnlyTheSelectedBugInModeOne) {
    click(SELECT_BUG);
    click(SELECT_BUG);
    click(SELECT_BUG);  // slot 2
    click(DELETE_BUG);
    EXPECT_EQ(bug_count, 2);
    EXPECT_EQ(selected_bug, 2);
    for (Row row : {STOP, FASTER, CNG_MVMNT, NEW_COLOR, SIZE}) click(row);
    auto want = start;
    want[6][2] = 0;          // moving
    want[5][2] = 21;         // speed
    want[4][2] = MOVE_WALK;  // movement, from fly
    want[2][2] = 5;          // colour
    want[3][2] = 20;         // size, from 16
    EXPECT_EQ(table(), want);
    click(SLOWER);
    click(GO);
    want[5][2] = 20;
    want[6][2] = 1;
    EXPECT_EQ(table(), want);
    click(SELECT_BUG);  // slot 2 is past the last live slot: back to 0
    EXPECT_EQ(selected_bug, 0);
}

TEST_F(Panel, ValuesStayWithinTheirRangesAtTheEnds) {
    click(SELECT_BUG);  // slot 0
    color[0] = 23;
    click(NEW_COLOR);
    EXPECT_EQ(color[0], 0);
    speed[0] = 0;
    click(SLOWER);
    EXPECT_EQ(speed[0], 0);
    speed[0] = MAX - 1;
    click(FASTER);
    click(FASTER);
    EXPECT_EQ(speed[0], MAX);
    for (int n = 0; n < 20; ++n) click(ADD_BUG);
    EXPECT_EQ(bug_count, MAX_BUGS);
    for (int n = 0; n < 20; ++n) click(DELETE_BUG);
    EXPECT_EQ(bug_count, 1);
    EXPECT_EQ(selected_bug, 0);
}

TEST_F(Panel, SelectBugCyclesThroughTheLiveSlots) {
    std::vector<int32_t> seen;
    for (int n = 0; n < 4; ++n) {
        click(SELECT_BUG);
        seen.push_back(selected_bug);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 2, 0}));
    EXPECT_EQ(selection_mode, 1);
    click(SELECT_ALL);
    EXPECT_EQ(selection_mode, 0);
    click(SELECT_BUG);  // goes on from the kept selection
    EXPECT_EQ(selected_bug, 1);
    bug_count = 1;
    selected_bug = -1;
    click(SELECT_BUG);
    click(SELECT_BUG);
    EXPECT_EQ(selected_bug, 0);
}

TEST_F(Panel, DebugNeedsASingleSelectedBugAndSelectAllEndsIt) {
    click(DEBUG);
    EXPECT_EQ(debug_active, 0);
    click(SELECT_BUG);
    moving[0] = 0;  // a stopped bug is shown and falls all the same
    click(DEBUG);
    EXPECT_EQ(debug_active, 1);
    click(SELECT_BUG);  // the view stays and shows the next bug
    EXPECT_EQ(debug_active, 1);
    EXPECT_EQ(selected_bug, 1);
    height[1] = -230;
    x[1] = 120;
    click(SELECT_ALL);
    EXPECT_EQ(debug_active, 0);
    EXPECT_EQ(selected_bug, 1);
    EXPECT_EQ(height[1], -230);  // released where it had fallen to
    EXPECT_EQ(x[1], 120);
}

// On screen: the outline is black and the box's inside is left as it was.
TEST_F(Panel, TheBoxesAreOutlinedNotFilled) {
    canvas_rectangle(11, -300, -250, 300, 250, 0);  // ice blue behind the panel
    panel_draw();
    pump_one_message();
    const Surface& shown = *window_surface(graphics());
    auto at = [&](int lx, int ly) {
        return shown.at(runtime.window.origin_x + lx, runtime.window.origin_y - ly);
    };
    EXPECT_EQ(at(-295, 240), 0x000000u);  // left edge
    EXPECT_EQ(at(-220, 240), 0x000000u);  // right edge
    EXPECT_EQ(at(-250, 170), 0x000000u);  // the edge between "Faster" and "Slower"
    EXPECT_EQ(at(-230, 10), 0x99FFFFu);   // inside the unlabelled box
    EXPECT_EQ(at(-296, 10), 0x99FFFFu);   // left of the column
    EXPECT_EQ(at(-250, -81), 0x99FFFFu);  // below it
}

}  // namespace
}  // namespace morlu::testing
