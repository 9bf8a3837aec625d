// Faults around the script file and the windows, met by the whole program: a
// script folder that cannot be written, a script file deleted or changed while it
// plays, a window closed while a script records or plays.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/tape_run.h"
#include "runtime/runtime_fixture.h"

namespace morlu {
namespace {

using testing::file_text;
using testing::run_tape;

std::vector<std::string> lines_of(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool holds_line(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// "Add Bug", "Faster" and typing, recorded; then a picture.
constexpr const char* RECORDED_SESSION =
    "key ctrl+r\n"
    "wait 500\n"
    "click 43 142\n"
    "click 43 67\n"
    "type ok\n"
    "wait 300\n"
    "key ctrl+r\n"
    "snapshot picture.png\n"
    "log log.txt\n";

// Root may write anywhere the permission bits forbid, so the unwritable script is
// a folder named MORLU.SCR: no one can open that for writing.
TEST(UnwritableScriptFolder, EachEventIsReportedAndTheProgramRunsAsIfItRecorded) {
    const testing::ScratchFolder here;
    ASSERT_EQ(run_tape(RECORDED_SESSION), 0);
    const std::string normal_picture = file_text("picture.png");
    ASSERT_FALSE(normal_picture.empty());
    std::filesystem::remove("MORLU.SCR");

    std::filesystem::create_directory("MORLU.SCR");
    EXPECT_EQ(run_tape(RECORDED_SESSION), 0);
    const auto log = lines_of("log.txt");
    // Two clicks, two characters and two lines of ticks: six tries to open, each one reported.
    EXPECT_EQ(std::count(log.begin(), log.end(), "Cannot open script file MORLU.SCR for writing"), 6)
        << file_text("log.txt");
    EXPECT_TRUE(file_text("picture.png") == normal_picture) << "the program did not go on as it would have";
    EXPECT_TRUE(std::filesystem::is_directory("MORLU.SCR"));
}

TEST(UnwritableScriptFolder, PlayingAFolderEndsPlaybackWithALogLine) {
    const testing::ScratchFolder here;
    std::filesystem::create_directory("MORLU.SCR");
    EXPECT_EQ(run_tape("key ctrl+p\nclick 43 142\nwait 200\nlog log.txt\nsnapshot picture.png\n"), 0);
    // The cause, not the end of a file that never was one.
    const auto log = lines_of("log.txt");
    EXPECT_TRUE(holds_line(log, "Script file MORLU.SCR is a folder, not a regular file"))
        << file_text("log.txt");
    EXPECT_FALSE(holds_line(log, "EOF encountered in script file MORLU.SCR"));
}

// Every way the program can end, while it records, leaves the whole recording:
// the ticks counted since the last line are written as the program ends.
TEST(EndingWhileRecording, EveryWayToEndLeavesTheWholeRecording) {
    const testing::ScratchFolder here;
    const std::string recorded =
        "MORLU_PERIODIC(10);\nMORLU_MOUSE(-257, 108);\nMORLU_KBD(97);\nMORLU_KBD(98);\nMORLU_PERIODIC(7);\n";
    for (const char* ending : {"close\n", "key ctrl+q\n", "menu 8\n", ""}) {
        std::filesystem::remove("MORLU.SCR");
        EXPECT_EQ(run_tape(std::string("key ctrl+r\nwait 1000\nclick 43 142\ntype ab\nwait 700\n") + ending),
                  0)
            << "ending: " << ending;
        EXPECT_EQ(file_text("MORLU.SCR"), recorded) << "ending: " << ending;
    }
}

TEST(EndingWhilePlaying, ClosingAfterPlayOneEndsTheProgramAndLeavesTheScript) {
    const testing::ScratchFolder here;
    const std::string script = "MORLU_PERIODIC(50);\nMORLU_MOUSE(-257, 108);\n";
    std::ofstream("MORLU.SCR") << script;
    EXPECT_EQ(run_tape("key ctrl+o\nkey ctrl+o\nclose\n"), 0);
    EXPECT_EQ(file_text("MORLU.SCR"), script);
}

TEST(ClosedConsole, TheLogRingKeepsTakingLines) {
    const testing::ScratchFolder here;
    EXPECT_EQ(run_tape("close-text\n"
                       "key ctrl+l\n"
                       "wait 300\n"
                       "log before.txt\n"
                       "click 43 142\n"  // "Add Bug": the green bug of slot 1, drawn last
                       "wait 300\n"
                       "log after.txt\n"
                       "key ctrl+q\n"),
              0);
    const auto before = lines_of("before.txt"), after = lines_of("after.txt");
    const auto describes_green = [](const std::vector<std::string>& lines) {
        return std::any_of(lines.begin(), lines.end(),
                           [](const std::string& l) { return l.starts_with("green circle at"); });
    };
    EXPECT_EQ(before.size(), 25u);
    EXPECT_EQ(after.size(), 25u);
    EXPECT_FALSE(describes_green(before)) << file_text("before.txt");
    EXPECT_TRUE(describes_green(after)) << "no new frames reached the ring after the console closed";
}

// A file system that takes no more: the write fails with EFBIG past a file size
// limit, as it would with ENOSPC on a full disk.
TEST(FullFileSystem, RecordingStopsWithALineAndTheFileEndsInAWholeLine) {
    const testing::ScratchFolder here;
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 200;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string tape = "key ctrl+r\n";
    for (int i = 0; i < 40; ++i) tape += "click 43 142\nwait 100\n";
    const int status = run_tape(tape + "log log.txt\n");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(status, 0);
    const std::string script = file_text("MORLU.SCR");
    ASSERT_FALSE(script.empty());
    EXPECT_EQ(script.back(), '\n') << script;
    EXPECT_LE(script.size(), 200u);
    const auto log = lines_of("log.txt");
    EXPECT_EQ(std::count(log.begin(), log.end(),
                         "Cannot write script file MORLU.SCR (File too large); recording stopped"),
              1)
        << file_text("log.txt");
}

// The script changes under the reader while playback runs, between two events.
class ChangedScript : public testing::RuntimeTest {
protected:
    static constexpr int LINES = 3000;  // far more than one read of the stream's buffer

    void SetUp() override {
        RuntimeTest::SetUp();
        open();
        canvas_set_logging(0);
        std::ofstream out("MORLU.SCR");
        for (int i = 0; i < LINES; ++i) out << "MORLU_MOUSE(" << i << ", " << -i << ");\n";
    }
    // Start playback and take `count` events, each the line of its number.
    void play_first(int count) {
        then_ctrl('P');
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(await(), MORLU_MOUSE);
            ASSERT_EQ(x, i);
            ASSERT_EQ(y, -i);
        }
    }
    // Take events until the program waits for the user again, at most `limit`.
    std::vector<int> play_rest(int limit) {
        std::vector<int> kinds;
        for (int kind = await(); kind != MORLU_QUIT && static_cast<int>(kinds.size()) < limit; kind = await())
            kinds.push_back(kind);
        return kinds;
    }
    void inject_close() {
        backend.inject(
            {.kind = platform::NativeEvent::Kind::close, .window = static_cast<uint32_t>(graphics())});
    }
    void command_record_off() {
        platform::send_message(graphics(), platform::WM_COMMAND, CMD_RECORD, 0);
    }
    bool logged(const std::string& line) const {
        return holds_line(log_stored_lines(), line);
    }
};

TEST_F(ChangedScript, ADeletedFilePlaysOnFromTheOpenStreamToItsEnd) {
    play_first(10);
    std::filesystem::remove("MORLU.SCR");
    int next = 10;
    for (int kind = await(); kind == MORLU_MOUSE && next < LINES + 5; kind = await(), ++next)
        ASSERT_EQ(x, next);
    EXPECT_EQ(next, LINES);
    EXPECT_TRUE(logged("EOF encountered in script file MORLU.SCR"));
    EXPECT_EQ(runtime.script.playback, 0);
    EXPECT_EQ(runtime.script.script_file, nullptr);
}

TEST_F(ChangedScript, ATruncatedFileEndsPlaybackAfterWhatWasAlreadyRead) {
    play_first(10);
    std::filesystem::resize_file("MORLU.SCR", 0);
    int next = 10;
    for (int kind = await(); kind == MORLU_MOUSE && next < LINES + 5; kind = await(), ++next)
        ASSERT_EQ(x, next) << "a line that was not in the file";
    EXPECT_LT(next, LINES);
    EXPECT_TRUE(logged("EOF encountered in script file MORLU.SCR"));
    EXPECT_EQ(runtime.script.playback, 0);
    EXPECT_EQ(runtime.script.script_file, nullptr);
}

TEST_F(ChangedScript, ARewrittenFileIsReadOnWithoutHarmAndTheProgramGoesOn) {
    play_first(10);
    {
        std::ofstream out("MORLU.SCR", std::ios::trunc);  // in place, the same file
        for (int i = 0; i < LINES; ++i) out << "MORLU_KBD(7);\n";
    }
    // The stream reads on at its old offset: old lines it had buffered, then the
    // new text from wherever that offset falls, perhaps inside a line.
    const auto kinds = play_rest(2 * LINES);
    EXPECT_LT(kinds.size(), static_cast<size_t>(2 * LINES)) << "playback did not end";
    EXPECT_EQ(runtime.script.playback, 0);
    // The runtime takes the user's input again, and records it.
    script_close();
    std::filesystem::remove("MORLU.SCR");
    then_ctrl('R');
    then_click(310, 240);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 10);
    command_record_off();
    EXPECT_EQ(file_text("MORLU.SCR"), "MORLU_MOUSE(10, 10);\n");
}

TEST_F(ChangedScript, ClosingTheWindowEndsTheWaitWithQuitAndLeavesTheScript) {
    const std::string script = file_text("MORLU.SCR");
    play_first(10);
    inject_close();
    int awaits = 0;
    while (await() != MORLU_QUIT && awaits < 10) ++awaits;
    EXPECT_LT(awaits, 10) << "the close did not end the playback";
    canvas_close();
    EXPECT_EQ(runtime.script.script_file, nullptr);
    EXPECT_EQ(file_text("MORLU.SCR"), script);
}

}  // namespace
}  // namespace morlu
