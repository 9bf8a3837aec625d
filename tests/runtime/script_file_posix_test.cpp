// The script file's POSIX rules: FIFOs and symbolic links are refused, and a
// deleted file stops a recording.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "script_fixture.h"

namespace morlu::testing {
namespace {

// Only a regular file of its own is ever read or written; anything else is
// refused at once with a line that names it, and the program carries on.
TEST_F(Script, OnlyARegularFileIsPlayedOrRecorded) {
    ASSERT_EQ(::mkfifo("MORLU.SCR", 0600), 0);
    command(CMD_PLAYBACK);  // a FIFO with no writer would hang a blocking open for good
    EXPECT_EQ(await(), MORLU_QUIT);
    EXPECT_EQ(last_log(), "Script file MORLU.SCR is a FIFO, not a regular file");
    EXPECT_EQ(runtime.script.playback, 0);
    std::filesystem::remove("MORLU.SCR");

    std::ofstream("precious.txt") << "keep me\n";
    std::filesystem::create_symlink("precious.txt", "MORLU.SCR");
    command(CMD_RECORD);
    then_click(300, 250);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(last_log(), "Script file MORLU.SCR is a symbolic link, not a regular file");
    EXPECT_EQ(script(), "keep me\n");  // read through the link: the target is untouched
    std::filesystem::remove("MORLU.SCR");
    std::filesystem::create_symlink("made-through-a-link", "MORLU.SCR");
    then_click(300, 250);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_FALSE(std::filesystem::exists("made-through-a-link"));
    EXPECT_EQ(runtime.script.recording, 1);  // as when the file cannot be opened: the next event tries again
}
TEST_F(Script, ARecordingWhoseFileIsDeletedStopsAndSaysSo) {
    command(CMD_RECORD);
    then_click(300, 250);
    EXPECT_EQ(await(), MORLU_MOUSE);
    std::filesystem::remove("MORLU.SCR");
    then_click(300, 250);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(last_log(), "Script file MORLU.SCR was deleted or replaced; recording stopped");
    EXPECT_EQ(runtime.script.recording, 0);
    EXPECT_EQ(runtime.script.script_file, nullptr);
}

}  // namespace
}  // namespace morlu::testing
