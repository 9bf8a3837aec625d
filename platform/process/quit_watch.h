// The watch over a program asked to end. A program may loop without ever
// coming back to its wait, or go on after its wait told it to quit; either way
// its windows stop answering and the user cannot end it. The watch gives it a
// grace of about a second, then ends it with one line saying why, as a desktop
// ends a program that does not respond. Everything here may be called from any
// thread; until quit_watch_start and after quit_watch_stop it does nothing.
#pragma once

#include <functional>
#include <string>

#include "../window/backend.h"

namespace morlu::platform {

struct QuitWatchSetup {
    std::string program;  // names the program in the watch's lines
    int status = 70;      // the exit status of a program ended for not ending
    Millis grace{1000};
    // A request from outside (a signal, the console's Ctrl+C) reaches the
    // program through this, as a close of its main window.
    std::function<void()> ask_to_close;
};

// Start watching: catch the system's requests to end, and run the watch's thread.
void quit_watch_start(QuitWatchSetup setup);
// Stop watching, before the process ends in order.
void quit_watch_stop();

// What the user's quit looks like in the program's windows.
struct QuitInputs {
    WindowId window = 0;        // closing this window
    uint32_t menu_command = 0;  // choosing this menu item
    uint32_t ctrl_key = 0;      // this virtual key with Ctrl held
};
void quit_watch_set_inputs(const QuitInputs& inputs);

// The window system's thread: the user did `e`, which the program may not take
// for a while. A quit starts the grace in which the program must come back to
// its wait.
void quit_watch_note_input(const NativeEvent& e);

// The program's thread: it entered, or left, its wait.
void quit_watch_enter_wait();
void quit_watch_leave_wait();
// The program's thread: its wait returned the quit. It has the grace to end.
void quit_watch_quit_delivered();

}  // namespace morlu::platform
