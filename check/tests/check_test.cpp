// The checker's own rules: what an assignment says, when pictures and logs
// agree, text made safe for the report and the gradebook, and what a run is
// given of the checker's own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "check/assignment.h"
#include "check/compare.h"
#include "check/sandbox.h"
#include "check/text.h"

namespace morlu::check {
namespace {

namespace fs = std::filesystem;

// A fresh assignment folder with `toml` as its assignment.toml and one tape.
class AssignmentFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("check_test_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "reference");
        fs::create_directories(folder_ / "tapes");
    }
    void TearDown() override {
        fs::remove_all(folder_);
    }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name) << text;
    }
    bool read(Assignment& a, std::string& error) {
        return read_assignment(folder_, a, error);
    }
    fs::path folder_;
};

TEST_F(AssignmentFolder, DefaultsFillWhatIsNotSaidAndTapesNameTheirOutputs) {
    write("assignment.toml", "[[tape]]\nfile = \"tapes/a.tape\"\n");
    write(
        "tapes/a.tape",
        "# a comment\nclick 1 2  # snapshot not.png\ntype snapshot # typed.png\n"
        "snapshot one.png\nsnapshot-text text.png\nlog log.txt\nexpect pixel 1 1 FFFFFF\nexpect log x # y\n");
    Assignment a;
    std::string error;
    ASSERT_TRUE(read(a, error)) << error;
    EXPECT_EQ(a.title, folder_.filename().string());
    EXPECT_EQ(a.sources, (std::vector<std::string>{"*.c", "*.cpp"}));
    EXPECT_EQ(a.limits.cpu_seconds, a.limits.seconds);
    ASSERT_EQ(a.tapes.size(), 1u);
    EXPECT_EQ(a.tapes[0].points, 1);
    // snapshot-text and typed text are no outputs; the graphics snapshot and the log are.
    EXPECT_EQ(a.tapes[0].outputs.snapshots, std::vector<std::string>{"one.png"});
    EXPECT_EQ(a.tapes[0].outputs.logs, std::vector<std::string>{"log.txt"});
    EXPECT_EQ(a.tapes[0].outputs.expectations, 2);
}

TEST_F(AssignmentFolder, AWrongValueIsOneLineNamingItsKey) {
    write("tapes/a.tape", "snapshot a.png\n");
    const std::pair<const char*, const char*> cases[] = {
        {"[limits]\nseconds = 0\n", "[limits] seconds"},
        {"[compare]\nchannel_tolerance = 256\n", "channel_tolerance"},
        {"[build]\nsources = [\"/etc/*\"]\n", "[build] sources"},
        {"[[tape]]\nfile = \"tapes/a.tape\"\npoints = -2\n", "points"},
        {"[[tape]]\nfile = \"tapes/a.tape\"\n[[tape]]\nfile = \"tapes/a.tape\"\n", "two tapes"},
        {"title = \n", "assignment.toml:1"},
        {"", "no [[tape]]"},
    };
    for (const auto& [toml, words] : cases) {
        write("assignment.toml", toml);
        Assignment a;
        std::string error;
        EXPECT_FALSE(read(a, error)) << toml;
        EXPECT_NE(error.find(words), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST_F(AssignmentFolder, AnOutputOutsideTheRunsFolderIsRefused) {
    write("assignment.toml", "[[tape]]\nfile = \"tapes/a.tape\"\n");
    for (const char* line :
         {"snapshot ../up.png", "log /etc/passwd", "snapshot program", "log sub/log.txt"}) {
        write("tapes/a.tape", std::string(line) + "\n");
        Assignment a;
        std::string error;
        EXPECT_FALSE(read(a, error)) << line;
        EXPECT_NE(error.find("a.tape:1"), std::string::npos) << error;
    }
}

Picture blank(int w, int h, uint8_t grey) {
    return Picture{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 3, grey)};
}

TEST(ComparePictures, AChannelOffByTheToleranceAgreesOneMoreDiffers) {
    const Picture reference = blank(20, 10, 100);
    Picture submission = reference;
    submission.at(3, 4)[1] = 108;
    submission.at(15, 6)[2] = 91;
    EXPECT_EQ(compare_pictures(reference, submission, 8).differing, 1);
    const PictureDifference d = compare_pictures(reference, submission, 7);
    EXPECT_EQ(d.differing, 2);
    EXPECT_EQ(d.first_x, 3);
    EXPECT_EQ(d.first_y, 4);
    // Each differing pixel is red in the difference picture and ringed in
    // magenta 6 pixels out; the rest is the reference, faded.
    const auto colour = [&](int x, int y) {
        return std::vector<uint8_t>(d.marked.at(x, y), d.marked.at(x, y) + 3);
    };
    EXPECT_EQ(colour(3, 4), (std::vector<uint8_t>{255, 0, 0}));
    EXPECT_EQ(colour(9, 4), (std::vector<uint8_t>{255, 0, 255}));
    EXPECT_EQ(colour(12, 2), (std::vector<uint8_t>{217, 217, 217}));
}

TEST(ComparePictures, AnotherSizeDiffersEverywhere) {
    const PictureDifference d = compare_pictures(blank(4, 4, 0), blank(4, 5, 0), 255);
    EXPECT_FALSE(d.same_size);
    EXPECT_EQ(d.differing, 16);
}

TEST(CompareLogs, LinesDifferOneByOneMissingAndExtraIncluded) {
    EXPECT_TRUE(compare_logs("a\nb\n", "a\r\nb", 10).empty());
    EXPECT_EQ(compare_logs("a\nb\n", "a\nc\nd\n", 10),
              (std::vector<std::string>{"line 2: expected \"b\", got \"c\"",
                                        "line 3: expected the end, got \"d\""}));
    EXPECT_EQ(
        compare_logs("a\nb\nc\n", "", 2),
        (std::vector<std::string>{"line 1: expected \"a\", the log ends",
                                  "line 2: expected \"b\", the log ends", "... and 1 more lines differ"}));
}

TEST(Text, WhatAProgramPrintsIsMadeSafe) {
    EXPECT_EQ(clean_text("ok\tfine\n\xC3\xA9"), "ok\tfine\n\xC3\xA9");
    EXPECT_EQ(clean_text("bad \xC3( \x1B[31m \xED\xA0\x80\r"),
              "bad \xEF\xBF\xBD( \xEF\xBF\xBD[31m \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(html_escape("<a href='x'>&\"</a>"), "&lt;a href=&#39;x&#39;&gt;&amp;&quot;&lt;/a&gt;");
    EXPECT_EQ(csv_field("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csv_field("=1+1"), "\"'=1+1\"");
    EXPECT_EQ(last_lines("1\n2\n3\n", 2), "2\n3\n");
    EXPECT_EQ(last_lines("only", 5), "only");
}

// A file the checker holds open without close-on-exec, as a worker copying a
// program into its folder does, is not open in another worker's run.
TEST(Sandbox, ARunIsGivenNoFileOfTheChecker) {
    const fs::path folder = fs::temp_directory_path() / ("check_sandbox_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::all);
    const int held = ::open((folder / "held").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(held, 3);
    const RunRequest r{.folder = folder,
                       .argv = {"/bin/sh", "-c", "test ! -e /proc/self/fd/" + std::to_string(held)}};
    const RunOutcome o = run_sandboxed(r, Isolation::rlimits);
    ::close(held);
    fs::remove_all(folder);
    EXPECT_TRUE(o.started);
    EXPECT_EQ(o.exit_status, 0) << o.err.text();
}

}  // namespace
}  // namespace morlu::check
