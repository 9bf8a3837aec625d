#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "driver/tape_run.h"
#include "scratch_folder.h"

namespace morlu {
namespace {

using testing::file_text;
using testing::run_tape;

// A session recorded with Ctrl+R, then played back with Ctrl+P by a new run of
// the program, ends on the same picture, pixel for pixel.
TEST(RecordAndReplay, ThePlaybackEndsOnTheRecordedPicture) {
    const testing::ScratchFolder here;
    EXPECT_EQ(run_tape("key ctrl+r\n"
                       "wait 700\n"
                       "click 35 60\n"
                       "click 35 160\n"
                       "type bugs!\n"
                       "wait 1250\n"
                       "click 35 285\n"
                       "click 35 335\n"
                       "wait 400\n"
                       "key ctrl+r\n"
                       "snapshot recorded.png\n"),
              0);
    const std::string recorded = file_text("MORLU.SCR");
    EXPECT_NE(recorded.find("MORLU_PERIODIC(7);\nMORLU_MOUSE(-265, 190);\n"), std::string::npos) << recorded;
    EXPECT_EQ(run_tape("key ctrl+p\nsnapshot replayed.png\n"), 0);
    const std::string a = file_text("recorded.png"), b = file_text("replayed.png");
    EXPECT_FALSE(a.empty());
    EXPECT_TRUE(a == b) << "the replayed picture differs from the recorded one";
    EXPECT_EQ(file_text("MORLU.SCR"), recorded);  // playing never writes
}

}  // namespace
}  // namespace morlu
