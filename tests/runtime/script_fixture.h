// The fixture of the script tests: each test works in a folder of its own,
// where MORLU.SCR is read and written.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime_fixture.h"

namespace morlu::testing {

class Script : public RuntimeTest {
protected:
    void SetUp() override {
        home = std::filesystem::current_path();
        folder = std::filesystem::temp_directory_path() / ("morlu-script-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        std::filesystem::remove("MORLU.SCR");
        RuntimeTest::SetUp();
        open();
        canvas_set_logging(0);
    }
    void TearDown() override {
        RuntimeTest::TearDown();
        std::filesystem::current_path(home);
        std::filesystem::remove_all(folder);
    }
    static void write_script(const std::string& text) {
        std::ofstream("MORLU.SCR", std::ios::binary) << text;
    }
    static std::string script() {
        std::ifstream in("MORLU.SCR", std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
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
    std::filesystem::path home, folder;
};

}  // namespace morlu::testing
