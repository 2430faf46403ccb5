// The zepkit program as a user runs it: which files it takes, what it says
// about a bad one, and its exit code.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "player_test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr char kBar[] = R"({"strokes": ["M100,400 L900,400 L900,460 L100,460 Z"],
                            "medians": [[[120,430],[880,430]]]})";

struct Outcome {
    int exit_code;
    std::string output;  // standard output and standard error
};

Outcome Zepkit(const std::string& arguments) {
    const std::string command = std::string(ZEPKIT_PATH) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("popen");
    Outcome outcome{-1, {}};
    char buffer[256];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        outcome.output.append(buffer, got);
    }
    const int status = pclose(pipe);
    outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
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
    const Outcome all = Zepkit("import '" + (dir.path() / "pkg").string() + "' '" + out + "'");
    EXPECT_EQ(all.exit_code, 1);
    EXPECT_NE(all.output.find("二.json"), std::string::npos) << all.output;
    EXPECT_EQ(all.output.find("package.json"), std::string::npos) << all.output;
    EXPECT_TRUE(fs::exists(dir.path() / "out" / fs::path(u8"一-00.rgn")));
    EXPECT_TRUE(fs::exists(dir.path() / "out" / fs::path(u8"一.zep")));

    const Outcome one = Zepkit("import '" + (dir.path() / "pkg").string() + "' '" + out + "' 一");
    EXPECT_EQ(one.exit_code, 0) << one.output;
    EXPECT_EQ(Zepkit("import").exit_code, 2);
    EXPECT_EQ(Zepkit("export a b").exit_code, 2);
}

}  // namespace
