// The commands of the control panel's rows: each changes the bug table for all
// live bugs or for the selected bug alone, or the selection and the debug view.
#include "bug_app.h"
#include "saturating.h"

namespace {

constexpr int COLOR_COUNT = 24;

// What the commands may change, as panel_command received it.
struct PanelTargets {
    BugColumn& bug_moving;
    BugColumn& bug_movement;
    BugColumn& bug_color;
    BugColumn& bug_speed;
    BugColumn& bug_size;
    int32_t& selection_mode;
    int32_t& selected_bug;
    int32_t& debug_active;
    int32_t& bug_count;
};

// Apply `change` to every live slot (mode 0) or to the selected slot alone, which
// after "Delete Bug" may be one that is no longer live. A selection outside the
// table, which no click can make, changes nothing.
template <typename Change>
void for_each_target(const PanelTargets& t, Change change) {
    if (t.selection_mode != 0) {
        if (0 <= t.selected_bug && t.selected_bug < MAX_BUGS) change(t.selected_bug);
        return;
    }
    for (int32_t i = 0; i < t.bug_count && i < MAX_BUGS; ++i) change(i);
}

void go(PanelTargets& t) {
    for_each_target(t, [&](int32_t i) { t.bug_moving[i] = 1; });
}

void stop(PanelTargets& t) {
    for_each_target(t, [&](int32_t i) { t.bug_moving[i] = 0; });
}

// "Faster" has no limit of its own; the speed stops at INT32_MAX.
void faster(PanelTargets& t) {
    for_each_target(t, [&](int32_t i) { t.bug_speed[i] = add_saturated(t.bug_speed[i], 1); });
}

void slower(PanelTargets& t) {
    for_each_target(t, [&](int32_t i) { t.bug_speed[i] = t.bug_speed[i] < 1 ? 0 : t.bug_speed[i] - 1; });
}

void change_movement(PanelTargets& t) {
    for_each_target(t, [&](int32_t i) { next_movement(t.bug_movement[i]); });
}

void add_bug(PanelTargets& t) {
    if (t.bug_count < MAX_BUGS) ++t.bug_count;
}

// The selection stays, so it may now name a slot that is not live.
void delete_bug(PanelTargets& t) {
    if (t.bug_count > 1) --t.bug_count;
}

void new_color(PanelTargets& t) {
    // Reducing first gives (colour + 1) mod 24 for every colour without an overflow.
    for_each_target(t, [&](int32_t i) { t.bug_color[i] = (t.bug_color[i] % COLOR_COUNT + 1) % COLOR_COUNT; });
}

void change_size(PanelTargets& t) {
    for_each_target(t, [&](int32_t i) { t.bug_size[i] = next_size(t.bug_size[i]); });
}

void unlabelled_row(PanelTargets&) {
    report_internal_error();
}

// Only a single selected bug can be shown magnified.
void start_debug_view(PanelTargets& t) {
    if (t.selection_mode == 1) t.debug_active = 1;
}

// The next live slot, wrapping to 0 after the last; the first press selects 0.
// A running debug view stays on and shows the newly selected bug.
void select_bug(PanelTargets& t) {
    t.selection_mode = 1;
    t.selected_bug = t.selected_bug > static_cast<int64_t>(t.bug_count) - 2 ? 0 : t.selected_bug + 1;
}

// Back to all bugs; the selected slot is kept for the next "Select Bug".
void select_all(PanelTargets& t) {
    t.selection_mode = 0;
    t.debug_active = 0;
}

using RowCommand = void (*)(PanelTargets&);

// Row r's command, from the top: "Go", "Stop", "Faster", "Slower", "Cng Mvmnt",
// "Add Bug", "Delete Bug", "New Color", "Size", no label, "DEBUG", "Select Bug",
// "Select All".
constexpr RowCommand ROW_COMMANDS[PANEL_ROWS] = {
    go,        stop,        faster,         slower,           change_movement, add_bug,    delete_bug,
    new_color, change_size, unlabelled_row, start_debug_view, select_bug,      select_all,
};

// (245 - y) / 25, truncating toward zero: a shared edge belongs to the lower box.
// Formed in 64 bits, so any y gives a row without overflow.
int64_t row_at(int32_t y) {
    return (static_cast<int64_t>(PANEL_TOP) - y) / PANEL_ROW_HEIGHT;
}

}  // namespace

void panel_command(int32_t x,
                   int32_t y,
                   BugColumn& bug_moving,
                   BugColumn& bug_movement,
                   BugColumn& bug_color,
                   BugColumn& bug_speed,
                   int32_t& selection_mode,
                   BugColumn& bug_size,
                   int32_t& selected_bug,
                   int32_t& debug_active,
                   int32_t& bug_count) {
    const int64_t row = row_at(y);
    if (x < PANEL_LEFT || x > PANEL_RIGHT || row < 0 || row >= PANEL_ROWS) {
        report_internal_error();
        return;
    }
    PanelTargets targets{bug_moving,     bug_movement, bug_color,    bug_speed, bug_size,
                         selection_mode, selected_bug, debug_active, bug_count};
    ROW_COMMANDS[row](targets);
}
