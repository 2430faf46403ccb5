// The zepkit program as a user runs it: which files it takes, what it says
// about a bad one, and its exit code.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
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

// Runs zepkit with arguments, or the whole command line as it stands.
Outcome Zepkit(const std::string& arguments, bool add_program = true) {
    const std::string command =
        (add_program ? std::string(ZEPKIT_PATH) + " " : std::string()) + arguments + " 2>&1";
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

// A source that is not a readable script is named once and ends the run
// with 1, before any file is made; a character of the imported set is found.
TEST(ZepkitProgram, ExportsRefuseWhatIsNotAScriptAndFindCharacters) {
    const player_test::ScratchDir dir;
    dir.Write("notes.txt", "L 0 0 0 0");
    const fs::path kanji = dir.path() / "share" / "zepplayer" / "kanji";
    fs::create_directories(kanji);
    dir.Write("share/zepplayer/kanji/川.zep", "L 0 0 0 0");
    dir.Write("share/zepplayer/kanji/川-00.rgn",
              player_test::RegionFileBytes(gfx::Region::FromRect({100, 20, 140, 230})));
    // Only this set is searched, whatever the user running the test has imported.
    const std::string env = "XDG_DATA_HOME='" + (dir.path() / "share").string() +
                            "' XDG_DATA_DIRS=/nowhere " ZEPKIT_PATH " ";
    const fs::path out = dir.path() / "out";
    const std::string missing = "'" + (dir.path() / "none.zep").string() + "'";
    const std::string text = "'" + (dir.path() / "notes.txt").string() + "'";
    const std::string not_imported = "sheet 山 --columns 2";
    for (const std::string& command :
         {"gif " + missing, "sheet " + missing, "gif " + text, not_imported}) {
        const Outcome refused = Zepkit(env + command + " '" + out.string() + "'", false);
        EXPECT_EQ(refused.exit_code, 1) << command;
        EXPECT_EQ(std::count(refused.output.begin(), refused.output.end(), '\n'), 1)
            << refused.output;
        EXPECT_FALSE(fs::exists(out)) << command;
    }
    EXPECT_EQ(Zepkit(env + "gif 川 '" + out.string() + "' --once", false).exit_code,
              0);
    std::ifstream gif(out, std::ios::binary);
    std::string magic(6, '\0');
    gif.read(magic.data(), 6);
    EXPECT_EQ(magic, "GIF89a");
    EXPECT_EQ(Zepkit("sheet 川 '" + out.string() + "' --columns 0").exit_code, 2);
}

}  // namespace
