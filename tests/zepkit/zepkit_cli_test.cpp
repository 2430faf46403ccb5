// The zepkit program as a user runs it: which files it takes, what it says
// about a bad one, and its exit code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player_test_support.h"
#include "support/child_process.h"

namespace {

namespace fs = std::filesystem;

constexpr char kBar[] = R"({"strokes": ["M100,400 L900,400 L900,460 L100,460 Z"],
                            "medians": [[[120,430],[880,430]]]})";

struct Outcome {
    int exit_code;
    std::string output;  // standard output and standard error
};

Outcome Zepkit(const std::vector<std::string>& args) {
    const testsupport::ChildRun run =
        testsupport::RunChild(ZEPKIT_PATH, args, {}, testsupport::ErrorOutput::WithOutput);
    return {run.exit_code, run.output};
}

// Every one-character file of the package is imported, other files are not
// character data, a bad file is named and ends the run with 1.
TEST(ZepkitProgram, ImportsEveryCharacterAndNamesTheBadOnes) {
    const player_test::ScratchDir dir;
    fs::create_directories(dir.path() / "pkg");
    dir.Write("pkg/一.json", kBar);
    dir.Write("pkg/二.json", "{\"strokes\": 3}");
    dir.Write("pkg/package.json", "{}");
    const std::string out = (dir.path() / "out").string();
    const std::string pkg = (dir.path() / "pkg").string();
    const Outcome all = Zepkit({"import", pkg, out});
    EXPECT_EQ(all.exit_code, 1);
    EXPECT_NE(all.output.find("二.json"), std::string::npos) << all.output;
    EXPECT_EQ(all.output.find("package.json"), std::string::npos) << all.output;
    EXPECT_TRUE(fs::exists(dir.path() / "out" / fs::path(u8"一-00.rgn")));
    EXPECT_TRUE(fs::exists(dir.path() / "out" / fs::path(u8"一.zep")));

    const Outcome one = Zepkit({"import", pkg, out, "一"});
    EXPECT_EQ(one.exit_code, 0) << one.output;
    EXPECT_EQ(Zepkit({"import"}).exit_code, 2);
    EXPECT_EQ(Zepkit({"export", "a", "b"}).exit_code, 2);
}

}  // namespace
