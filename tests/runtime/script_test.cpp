#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "script_file.h"
#include "script_fixture.h"

namespace morlu::testing {
namespace {

using Lines = std::vector<std::string>;

TEST_F(Script, RecordingRunLengthCodesTicksAndWritesEachLineAtOnce) {
    canvas_set_animation(ANIMATE_RUN);
    command(CMD_RECORD);
    then_wait(300);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(await(), MORLU_PERIODIC);
    then_click(310, 270);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(script(), "MORLU_PERIODIC(3);\nMORLU_MOUSE(10, -20);\n");  // on disk before the file is closed
    then_wait(200);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(await(), MORLU_PERIODIC);
    command(CMD_RECORD);
    EXPECT_EQ(script(), "MORLU_PERIODIC(3);\nMORLU_MOUSE(10, -20);\nMORLU_PERIODIC(2);\n");
    EXPECT_EQ(runtime.script.script_file, nullptr);
}

TEST_F(Script, CharactersAreWrittenAsSignedBytesAndPlayBackTheSame) {
    command(CMD_RECORD);
    then([this] {
        inject_key('A', 'A', MOD_SHIFT);
        inject_key(VK_OEM_PUNCT, 0xE9);
    });
    await();
    await();
    command(CMD_RECORD);
    EXPECT_EQ(script(), "MORLU_KBD(65);\nMORLU_KBD(-23);\n");
    EXPECT_EQ(play_all(), (Lines{"K 65", "K -23"}));  // -23 is the byte 233 again
}

TEST_F(Script, AnEmptyRecordingLeavesTheFileAloneAndAQuitLeavesItEmpty) {
    write_script("MORLU_KBD(1);\n");
    command(CMD_RECORD);
    command(CMD_RECORD);
    EXPECT_EQ(script(), "MORLU_KBD(1);\n");
    command(CMD_RECORD);
    post_quit_message(0);
    EXPECT_EQ(await(), MORLU_QUIT);
    EXPECT_EQ(script(), "");
}

TEST_F(Script, PeriodicLinesDeliverTheirCountAndZeroCountsAsOne) {
    write_script("MORLU_PERIODIC(4);\nMORLU_PERIODIC(1);\nMORLU_PERIODIC(0);\nMORLU_MOUSE(-120, 45);\n");
    EXPECT_EQ(play_all(), (Lines{"P", "P", "P", "P", "P", "P", "M -120 45"}));
    EXPECT_EQ(last_log(), "EOF encountered in script file MORLU.SCR");
    EXPECT_EQ(runtime.script.script_file, nullptr);
}

TEST_F(Script, OnlyTheSeventhCharacterSelectsTheKind) {
    write_script("MORLU_MAUSE(3, 4);\n\nPREFIXK(7);\nMORLU_XYZ(1);\nMORLU_KBD(9);\n");
    EXPECT_EQ(play_all(), (Lines{"M 3 4", "K 7"}));  // the blank line is skipped; XYZ stops the play
    EXPECT_EQ(last_log(), "");                       // ... without a message
    EXPECT_NE(runtime.script.script_file, nullptr);  // and the file stays open after that line
    EXPECT_EQ(play_all(), (Lines{"K 9"}));
}

TEST_F(Script, NumbersAreScannedAsTheReaderSays) {
    write_script(
        "MORLU_MOUSE(12-3, -4);\n"            // a minus inside a run ends the number: 12
        "MORLU_MOUSE(, );\n"                  // no numbers at all read as 0
        "MORLU_KBD(300);\n"                   // the character is the low 8 bits: 44
        "MORLU_PERIODIC(-2);\n"               // the minus is skipped: 2
        "MORLU_MOUSE(123456789012345, 1);\n"  // cut to 11 characters
        " \n"                                 // too short to have a kind: stops the play
        "MORLU_KBD(5);\n");
    EXPECT_EQ(play_all(), (Lines{"M 12 -4", "M 0 0", "K 44", "P", "P", "M 2147483647 1"}));
}

TEST_F(Script, LinesEndingInCarriageReturnsReadAsPlainLines) {
    write_script("MORLU_KBD(1);\r\n\r\nMORLU_PERIODIC(2);\r\nMORLU_KBD(2);\r\n");
    EXPECT_EQ(play_all(), (Lines{"K 1", "P", "P", "K 2"}));
}

// Windows editors and shells save text with a byte-order mark, or as UTF-16.
TEST_F(Script, AUtf8MarkIsSkippedAndUtf16TextIsRefusedWithALine) {
    write_script("\xEF\xBB\xBFMORLU_KBD(1);\nMORLU_KBD(2);\n");
    EXPECT_EQ(play_all(), (Lines{"K 1", "K 2"}));
    for (const std::string& utf16 : {std::string("\xFF\xFEM\0O\0R\0", 8), std::string("M\0O\0R\0L\0", 8)}) {
        write_script(utf16);
        EXPECT_EQ(play_all(), Lines{});
        EXPECT_EQ(last_log(), "Script file MORLU.SCR is UTF-16 text; save it as UTF-8");
        EXPECT_EQ(runtime.script.script_file, nullptr);
    }
}

TEST_F(Script, ALastLineWithoutANewlineIsNotPlayed) {
    write_script("MORLU_KBD(1);\nMORLU_KBD(2);");
    EXPECT_EQ(play_all(), (Lines{"K 1"}));
    EXPECT_EQ(last_log(), "EOF encountered in script file MORLU.SCR");
}

TEST_F(Script, ALongLineIsReadInPieces) {
    write_script(std::string(511, 'x') + "MORLU_KBD(3);\n");
    // The first 511 characters are one unrecognised piece; the rest is the next line.
    EXPECT_EQ(play_all(), Lines{});
    EXPECT_EQ(play_all(), (Lines{"K 3"}));
}

TEST_F(Script, PlaybackRunsAtOnceAndStartsOverAfterTheEnd) {
    write_script("MORLU_PERIODIC(2);\nMORLU_KBD(5);\n");
    canvas_set_animation(ANIMATE_RUN);
    command(CMD_PLAYBACK);
    EXPECT_EQ(runtime.events.running, 0);  // playback halts the animation
    EXPECT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(await(), MORLU_KBD);
    EXPECT_EQ(now_ms(), 0);          // no tick was waited for
    EXPECT_EQ(await(), MORLU_QUIT);  // the end: halted, and the test has no more input
    EXPECT_EQ(runtime.script.playback, 0);
    EXPECT_EQ(check_menu_item(runtime.menu.run_menu, CMD_PLAYBACK, MF_UNCHECKED),
              static_cast<int>(MF_UNCHECKED));
    command(CMD_PLAYBACK);
    EXPECT_EQ(await(), MORLU_PERIODIC);  // from the first line again
}

TEST_F(Script, PlayOneTakesThreeCommandsThroughAPeriodicLineOfThree) {
    write_script("MORLU_PERIODIC(3);\nMORLU_KBD(1);\n");
    for (int i = 0; i < 3; ++i) {
        command(CMD_PLAY_ONE);
        EXPECT_EQ(await(), MORLU_PERIODIC);
    }
    command(CMD_PLAY_ONE);
    EXPECT_EQ(await(), MORLU_KBD);
}

TEST_F(Script, AMissingFileIsReportedAndEndsPlayback) {
    command(CMD_PLAYBACK);
    EXPECT_EQ(await(), MORLU_QUIT);
    EXPECT_EQ(last_log(), "Cannot open script file MORLU.SCR for reading");
    EXPECT_EQ(runtime.script.playback, 0);
}

TEST_F(Script, AnUnwritableFolderIsReportedAndTheProgramGoesOn) {
    std::filesystem::create_directory("MORLU.SCR");  // a folder where the file should be
    command(CMD_RECORD);
    then_click(300, 250);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(last_log(), "Cannot open script file MORLU.SCR for writing");
    EXPECT_EQ(runtime.script.recording, 1);
    std::filesystem::remove("MORLU.SCR");
}

TEST_F(Script, RecordingAndPlaybackNeverShareTheFile) {
    write_script("MORLU_PERIODIC(5);\nMORLU_KBD(1);\n");
    command(CMD_PLAY_ONE);
    EXPECT_EQ(await(), MORLU_PERIODIC);  // four more are owed, and the file is open for reading
    command(CMD_RECORD);
    then_click(300, 250);
    EXPECT_EQ(await(), MORLU_MOUSE);
    command(CMD_PLAYBACK);  // ends the recording first, with a line saying so
    EXPECT_EQ(log_stored_lines().back(), "Recording to MORLU.SCR stopped for playback");
    EXPECT_EQ(script(), "MORLU_MOUSE(0, 0);\n");
    EXPECT_EQ(await(), MORLU_MOUSE);  // the new file from its start: nothing owed leaked in
    command(CMD_RECORD);              // and recording ends playback
    EXPECT_EQ(log_stored_lines().back(), "Playback of MORLU.SCR stopped for recording");
    EXPECT_EQ(runtime.script.playback, 0);
    EXPECT_EQ(runtime.script.periodic_owed, 0);
}

TEST_F(Script, ALongRunOfBlankLinesLetsTheWindowLive) {
    write_script(std::string(100000, '\n') + "MORLU_KBD(1);\n");
    command(CMD_PLAYBACK);
    EXPECT_EQ(await(), MORLU_KBD);  // a run of blank lines is still only skipped
    command(CMD_PLAYBACK);
    command(CMD_PLAYBACK);
    // A close must not wait for the reader to get through the run.
    backend.inject({.kind = NativeEvent::Kind::close, .window = static_cast<uint32_t>(graphics())});
    EXPECT_EQ(await(), MORLU_QUIT);
}

// Another program holds the file: it records into it, or plays it. A second
// opening here stands for it, as the system keeps files apart per opening.
TEST_F(Script, AFileAnotherProgramRecordsIntoIsNeitherRecordedNorPlayed) {
    write_script("MORLU_KBD(1);\n");
    ScriptRefusal why{};
    std::FILE* other = script_file_open_write("MORLU.SCR", why);
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(script_file_write_at(other, 0, "MORLU_KBD(1);\n"), 0);
    command(CMD_RECORD);
    then_click(300, 250);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(last_log(), "Script file MORLU.SCR is in use by another program");
    EXPECT_EQ(runtime.script.recording, 0);
    EXPECT_EQ(check_menu_item(runtime.menu.run_menu, CMD_RECORD, MF_UNCHECKED),
              static_cast<int>(MF_UNCHECKED));
    command(CMD_PLAYBACK);
    EXPECT_EQ(await(), MORLU_QUIT);
    EXPECT_EQ(last_log(), "Script file MORLU.SCR is in use by another program");
    script_file_close(other);
    EXPECT_EQ(script(), "MORLU_KBD(1);\n");  // not emptied: the file is taken before it is cut
}

TEST_F(Script, AFileAnotherProgramPlaysIsNotRecordedButMayBePlayed) {
    write_script("MORLU_KBD(1);\n");
    ScriptRefusal why{};
    std::FILE* other = script_file_open_read("MORLU.SCR", why);
    ASSERT_NE(other, nullptr);
    command(CMD_RECORD);
    then_click(300, 250);
    EXPECT_EQ(await(), MORLU_MOUSE);
    EXPECT_EQ(last_log(), "Script file MORLU.SCR is in use by another program");
    command(CMD_PLAYBACK);
    EXPECT_EQ(await(), MORLU_KBD);
    script_file_close(other);
    EXPECT_EQ(script(), "MORLU_KBD(1);\n");
}

TEST_F(Script, AFolderIsNotPlayed) {
    std::filesystem::create_directory("MORLU.SCR");
    command(CMD_PLAYBACK);
    EXPECT_EQ(await(), MORLU_QUIT);
    EXPECT_EQ(last_log(), "Script file MORLU.SCR is a folder, not a regular file");
    EXPECT_EQ(runtime.script.playback, 0);
    std::filesystem::remove("MORLU.SCR");
}

TEST_F(Script, TheRunOfTicksIsOnTheDiskAsItGrows) {
    canvas_set_animation(ANIMATE_RUN);
    command(CMD_RECORD);
    then_wait(1000);
    for (int i = 0; i < 9; ++i) ASSERT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(script(), "MORLU_PERIODIC(9);\n");  // a kill now loses no tick
    ASSERT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(script(), "MORLU_PERIODIC(10);\n");
    then_click(310, 270);
    EXPECT_EQ(await(), MORLU_MOUSE);
    then_wait(100);
    EXPECT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(script(), "MORLU_PERIODIC(10);\nMORLU_MOUSE(10, -20);\nMORLU_PERIODIC(1);\n");
    command(CMD_RECORD);
    EXPECT_EQ(script(), "MORLU_PERIODIC(10);\nMORLU_MOUSE(10, -20);\nMORLU_PERIODIC(1);\n");
}

class Keyboard : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        open();
    }
};

TEST_F(Keyboard, CtrlLettersRunTheirCommandsWithOrWithoutShiftOrCapsLock) {
    then([this] {
        inject_native(NativeEvent::Kind::key_down, graphics(), VK_CONTROL, -1, 0);
        inject_native(NativeEvent::Kind::key_down, graphics(), VK_SHIFT, -1, MOD_CONTROL);
        inject_native(NativeEvent::Kind::key_down, graphics(), 'A', 'A', MOD_CONTROL | MOD_SHIFT);
        inject_native(NativeEvent::Kind::key_up, graphics(), VK_CONTROL, -1, MOD_CONTROL | MOD_SHIFT);
        backend.let_time_pass(Millis{100});
    });
    EXPECT_EQ(await(), MORLU_PERIODIC);  // Ctrl+Shift+A animates, and types nothing
    send_message(graphics(), WM_COMMAND, CMD_HALT, 0);
    then_ctrl('L');
    then_ctrl('L');
    then([this] { inject_key('A', 'a'); });
    EXPECT_EQ(await(), MORLU_KBD);  // a plain a is a character
    EXPECT_EQ(key, 'a');
    EXPECT_EQ(runtime.log.logging, 1);  // Ctrl+L twice: off and on again
    then([this] {
        inject_native(NativeEvent::Kind::key_down, graphics(), VK_CONTROL, -1, 0);
        inject_native(NativeEvent::Kind::key_down, graphics(), 'H', 'H', MOD_CONTROL | MOD_CAPS_LOCK);
        inject_key('B', 'b');  // no Ctrl key-up came: characters are dropped
        backend.let_time_pass(Millis{1000});
    });
    EXPECT_EQ(await(), MORLU_QUIT);  // halted, and nothing typed got through
    EXPECT_EQ(runtime.events.running, 0);
}

TEST_F(Keyboard, AdvanceFrameWhileRunningLetsTheMadeTickThroughThenOneMore) {
    canvas_set_animation(ANIMATE_RUN);
    then_ctrl('F');
    then_wait(1000);
    EXPECT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(now_ms(), 200);
    EXPECT_EQ(await(), MORLU_QUIT);  // then halted
    EXPECT_EQ(now_ms(), 1000);
}

TEST_F(Keyboard, CtrlReleasedElsewhereStaysDown) {
    then([this] { inject_native(NativeEvent::Kind::key_down, graphics(), VK_CONTROL, -1, 0); });
    then([this] { inject_key('A', 'a', MOD_CONTROL); });  // the key-up of Ctrl went to another program
    then_wait(100);
    EXPECT_EQ(await(), MORLU_PERIODIC);
    EXPECT_EQ(runtime.menu.ctrl_down, 1);
}

TEST_F(Keyboard, CommandIdsOutsideTheMenuChangeNothing) {
    for (WParam id : {0u, 9u, 10u, 1000u}) send_message(graphics(), WM_COMMAND, id, 0);
    EXPECT_EQ(runtime.events.running + runtime.events.single_step + runtime.script.recording +
                  runtime.script.playback + runtime.script.play_one,
              0);
    EXPECT_EQ(runtime.log.logging, 1);
}

TEST_F(Keyboard, TheLoggingItemIsCheckedWhileLoggingIsOn) {
    const auto logging_checked = [this] {
        for (const MenuEntry& e : backend.shown(static_cast<uint32_t>(graphics()))->menu.popups.at(0).entries)
            if (e.text.starts_with("&Logging")) return e.checked;
        return false;
    };
    EXPECT_TRUE(logging_checked());
    canvas_set_logging(0);
    EXPECT_FALSE(logging_checked());
}

}  // namespace
}  // namespace morlu::testing
