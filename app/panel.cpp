// The control panel's picture and its click area: thirteen button boxes down the
// left edge of the picture, twelve of them labelled.
#include "bug_app.h"
#include "morlu/canvas.h"

namespace {

constexpr int LABEL_X = -285;
constexpr int LABEL_PTSIZE = 12;
constexpr int ERROR_PTSIZE = 16;

struct PanelLabel {
    int32_t row;
    const char* text;
    int color;
};

// Row 9 has no label.
constexpr PanelLabel PANEL_LABELS[] = {
    {0, "Go", FOREST_GREEN}, {1, "Stop", RED},      {2, "Faster", BLACK},      {3, "Slower", BLACK},
    {4, "Cng Mvmnt", BLACK}, {5, "Add Bug", BLACK}, {6, "Delete Bug", BLACK},  {7, "New Color", BLACK},
    {8, "Size", BLACK},      {10, "DEBUG", BLACK},  {11, "Select Bug", BLACK}, {12, "Select All", BLACK},
};

int32_t row_top(int32_t row) {
    return PANEL_TOP - PANEL_ROW_HEIGHT * row;
}

// A label's baseline sits 12 below its box's top, less half the point size:
// 227 for "Go".
int32_t label_y(int32_t row) {
    return row_top(row) - 12 - LABEL_PTSIZE / 2;
}

}  // namespace

void panel_draw() {
    for (int32_t r = 0; r < PANEL_ROWS; ++r)
        canvas_rectangle(BLACK, PANEL_LEFT, row_top(r), PANEL_RIGHT, row_top(r + 1), 1);
    for (const PanelLabel& label : PANEL_LABELS)
        canvas_printf(label.color, LABEL_X, label_y(label.row), LABEL_PTSIZE, "%s", label.text);
}

int panel_hit(int32_t x, int32_t y) {
    return PANEL_LEFT < x && x < PANEL_RIGHT && PANEL_BOTTOM < y && y < PANEL_TOP ? 1 : 0;
}

void report_internal_error() {
    canvas_printf(RED, 0, 0, ERROR_PTSIZE, "INTERNAL ERROR!");
}
