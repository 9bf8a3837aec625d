// Performs a tape's actions on the headless backend, one each time the program
// waits with nothing to do.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "tape.h"

namespace morlu {

class TapeDriver {
public:
    struct Setup {
        std::string program;         // names the program in the driver's messages
        std::string graphics_title;  // how the driver finds the two windows
        std::string text_title;
        // The log's stored lines, oldest first, for the `log` action.
        std::function<std::vector<std::string>()> log_lines;
        std::string tape;  // names the tape in failed expectations' messages
    };

    TapeDriver(platform::HeadlessBackend& backend, std::vector<TapeAction> actions, Setup setup);

    // The backend's idle handler: perform the next action. At the end of the tape
    // the graphics window is closed as a user would; after that there is nothing
    // more to do and it returns false.
    bool step();
    // Called once the program has ended: report the first action it never got
    // to, if any, and return how many there were.
    int report_unperformed() const;
    // Outputs (snapshots, logs) that could not be written, each reported on stderr.
    int failures() const {
        return failures_;
    }
    // Expectations performed, and those that did not hold (each reported on stderr).
    int expectations() const {
        return expectations_;
    }
    int expectations_failed() const {
        return expectations_failed_;
    }

private:
    void perform(const TapeAction& a);
    void click(int32_t x, int32_t y);
    void press(const TapeKey& key, int32_t codepoint, bool down);
    void type_text(const std::string& text);
    void press_combo(const std::vector<TapeKey>& keys);
    void snapshot(const std::string& title, const std::string& file);
    void write_log(const std::string& file);
    void close(const std::string& title);
    void choose_menu(const TapeAction& a);
    void expect_pixel(const TapeAction& a);
    void expect_log(const TapeAction& a);
    // Count an expectation; when `failure` is not empty it did not hold, and is reported.
    void check(const TapeAction& a, const std::string& failure);
    platform::WindowId keyboard_window() const;
    // An output that could not be written: reported, and counted as a failure.
    void note(int line, const std::string& message);
    // An action that has no effect on a desktop either: reported only.
    void warn(const std::string& message) const;

    platform::HeadlessBackend& backend_;
    std::vector<TapeAction> actions_;
    Setup setup_;
    size_t next_ = 0;
    bool closed_at_end_ = false;
    bool text_focus_ = false;
    uint32_t held_mods_ = 0;
    int failures_ = 0;
    int expectations_ = 0;
    int expectations_failed_ = 0;
    int line_ = 0;
};

}  // namespace morlu
