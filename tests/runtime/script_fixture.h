// The fixture of the script tests, which read and write MORLU.SCR in the
// test's scratch folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime_fixture.h"

namespace morlu::testing {

class Script : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        open();
        canvas_set_logging(0);
    }
    static void write_script(const std::string& text) {
        std::ofstream("MORLU.SCR", std::ios::binary) << text;
    }
    static std::string script() {
        return file_text("MORLU.SCR");
    }
    void command(uint32_t id) {
        send_message(graphics(), WM_COMMAND, id, 0);
    }
    // Events played one command at a time, until the script has no more.
    std::vector<std::string> play_all() {
        std::vector<std::string> got;
        for (int i = 0; i < 100; ++i) {
            command(CMD_PLAY_ONE);
            const int kind = await();
            if (kind == MORLU_QUIT) break;
            got.push_back(kind == MORLU_MOUSE ? "M " + std::to_string(x) + " " + std::to_string(y)
                          : kind == MORLU_KBD ? "K " + std::to_string(static_cast<int>(key))
                                              : "P");
        }
        return got;
    }
    std::string last_log() {
        const auto lines = log_stored_lines();
        return lines.empty() ? "" : lines.back();
    }
};

}  // namespace morlu::testing
