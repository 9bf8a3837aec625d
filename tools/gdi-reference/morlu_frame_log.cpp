// The shapes of a landscape frame as the runtime logs them, for the pixel
// agreement script: the scene with the sun up, the panel, five bugs and the
// magnified one, each line as "shape DESCRIPTION", after a line giving the
// picture's size and the device pixel of the logical origin.
#include <cstdio>
#include <string>
#include <vector>

#include "bug_app.h"
#include "platform/headless/headless_backend.h"
#include "platform/window/win_types.h"
#include "runtime_session.h"

namespace {

// The newest n lines of the log (it keeps 25, enough for any one part).
void print_last(size_t n) {
    const std::vector<std::string> all = log_stored_lines();
    for (size_t i = all.size() > n ? all.size() - n : 0; i < all.size(); ++i)
        std::printf("shape %s\n", all[i].c_str());
}

}  // namespace

int main() {
    morlu::platform::HeadlessBackend backend;
    runtime_start(backend);
    canvas_open(1, 0, "", morlu::platform::SW_SHOW);
    canvas_set_logging(1);
    const RuntimeOrigin origin = runtime_origin();
    std::printf("frame %d %d origin %d %d\n", 2 * origin.x + 1, 2 * origin.y + 1, origin.x, origin.y);
    draw_scene(-40);
    print_last(16);
    panel_draw();
    print_last(25);
    BugColumn x{}, height{}, color{}, size{}, movement{}, speed{}, moving{}, steps{};
    init_bug_table(x, height, color, size, movement, speed, moving, steps);
    for (int32_t i = 0; i < 5; ++i) {
        BugColumn one_x{}, one_height{}, one_size{}, one_color{};
        one_x[0] = 250 - 110 * i;
        one_height[0] = 25 * (i % 3);
        one_size[0] = size[i];
        one_color[0] = color[i];
        draw_bugs(one_x, one_height, one_size, one_color, -1, 0, 0, 1);
        print_last(15);
    }
    x[0] = -60;
    draw_debug_bug(x, height, color, 0);
    print_last(17);
    runtime_stop();
    return 0;
}
