// What a desktop edition's window system does for the shared desktop backend.
// The backend runs the toolkit on a thread of its own, so that the windows
// answer the user (close, the menu, Ctrl+Q) even while the program computes
// and does not come back to its wait; the program's thread never touches the
// toolkit. Every operation but post is called on the toolkit's thread.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "../window/backend.h"
#include "desktop_events.h"

namespace morlu::platform {

// What a window's client area shows: the program's thread copies frames in, the
// toolkit's thread paints from it and resizes it; each holds `lock` meanwhile.
struct WindowPixels {
    std::mutex lock;
    Surface pixels;
};

class Toolkit {
public:
    virtual ~Toolkit() = default;

    // Make the hidden native window for `id`, showing `pixels`. False when the
    // toolkit refuses. Undone by destroy_window.
    virtual bool create_window(WindowId id, const WindowPlan& plan, std::shared_ptr<WindowPixels> pixels) = 0;
    virtual void destroy_window(WindowId id) = 0;
    virtual void show_window(WindowId id, bool visible) = 0;
    // Paint `box` of the window's pixels again soon: the program copied a frame in.
    virtual void repaint(WindowId id, const PixelBox& box) = 0;
    virtual void set_menu_bar(WindowId id, const MenuBar& bar) = 0;
    virtual void set_menu_check(WindowId id, uint32_t command, bool checked) = 0;
    virtual Size screen_size() = 0;

    // Run the window system's loop until stop_loop is called.
    virtual void run_loop() = 0;
    // Make run_loop return once the task that calls this is done.
    virtual void stop_loop() = 0;
    // Any thread: run `task` on the toolkit's thread soon, waking its loop. Tasks
    // run in the order posted, also while a menu or a window move holds the loop.
    virtual void post(std::function<void()> task) = 0;
};

// Made on the toolkit's thread, which then runs its loop. Returns nullptr, with
// `error` set to one line naming the fix, when there is no desktop to open.
using ToolkitMaker = std::function<std::unique_ptr<Toolkit>(DesktopEvents& events, std::string& error)>;

// The desktop backend over the toolkit `make` gives, on a thread of its own.
// Returns nullptr, with `error` set, when the toolkit gives none.
std::unique_ptr<Backend> make_desktop_backend(ToolkitMaker make, std::string& error);

}  // namespace morlu::platform
