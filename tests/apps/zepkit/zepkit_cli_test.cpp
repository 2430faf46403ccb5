// The zepkit program as a user runs it: which files it takes, what it says
// about a bad one, and its exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/character_files.h"
#include "support/child_process.h"
#include "support/environment.h"

namespace {

namespace fs = std::filesystem;

constexpr char kBar[] = R"({"strokes": ["M100,400 L900,400 L900,460 L100,460 Z"],
                            "medians": [[[120,430],[880,430]]]})";

struct Outcome {
    int exit_code;
    std::string output;  // standard output and standard error
};

std::string FileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

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

// With --order, a character whose strokes the reference writes the other
// way round is imported in the reference's order and named in the report; a
// reference that cannot be read stops the import before anything is written.
TEST(ZepkitProgram, ImportFollowsTheReferenceOrder) {
    const player_test::ScratchDir dir;
    fs::create_directories(dir.path() / "pkg");
    dir.Write("pkg/十.json", R"({"strokes": ["M480,100 L540,100 L540,800 L480,800 Z",
                                            "M100,420 L900,420 L900,480 L100,480 Z"],
                                "medians": [[[510,780],[510,120]], [[120,450],[880,450]]]})");
    const std::string reference =
        dir.Write("kanjivg.json", R"({"2": {"十": [[20, 120, 230, 120], [125, 20, 125, 230]]}})")
            .string();
    const std::string out = (dir.path() / "out").string();
    const std::string pkg = (dir.path() / "pkg").string();
    const Outcome imported = Zepkit({"import", pkg, out, "--order", reference});
    EXPECT_EQ(imported.exit_code, 0) << imported.output;
    EXPECT_NE(imported.output.find("- 十: order 2 1\n"), std::string::npos) << imported.output;
    const std::string as_read = (dir.path() / "as-read").string();
    EXPECT_EQ(Zepkit({"import", pkg, as_read}).exit_code, 0);
    EXPECT_EQ(FileBytes(dir.path() / "out" / fs::path(u8"十-00.rgn")),
              FileBytes(dir.path() / "as-read" / fs::path(u8"十-01.rgn")));

    const std::string elsewhere = (dir.path() / "elsewhere").string();
    const Outcome refused = Zepkit({"import", pkg, elsewhere, "--order", pkg});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_NE(refused.output.find(pkg), std::string::npos) << refused.output;
    EXPECT_FALSE(fs::exists(elsewhere));
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
    const std::string share = (dir.path() / "share").string();
    testsupport::SetEnvironment("XDG_DATA_HOME", share);
    testsupport::SetEnvironment("XDG_DATA_DIRS", "/nowhere");
    testsupport::SetEnvironment("LOCALAPPDATA", share);
    const std::string out = (dir.path() / "out").string();
    const std::string missing = (dir.path() / "none.zep").string();
    const std::string text = (dir.path() / "notes.txt").string();
    const std::vector<std::vector<std::string>> refusals{
        {"gif", missing, out}, {"sheet", missing, out}, {"gif", text, out},
        {"sheet", "山", out, "--columns", "2"}};
    for (const std::vector<std::string>& args : refusals) {
        const Outcome refused = Zepkit(args);
        EXPECT_EQ(refused.exit_code, 1) << args[0] << " " << args[1];
        EXPECT_EQ(std::count(refused.output.begin(), refused.output.end(), '\n'), 1)
            << refused.output;
        EXPECT_FALSE(fs::exists(out)) << args[0] << " " << args[1];
    }
    EXPECT_EQ(Zepkit({"gif", "川", out, "--once"}).exit_code, 0);
    std::ifstream gif(out, std::ios::binary);
    std::string magic(6, '\0');
    gif.read(magic.data(), 6);
    EXPECT_EQ(magic, "GIF89a");
    EXPECT_EQ(Zepkit({"sheet", "川", out, "--columns", "0"}).exit_code, 2);
}

// Sessions are judged line by line, in order; a line that is not a session
// is named and nothing is written; an empty input gives no lines.
TEST(ZepkitProgram, JudgesPracticeSessions) {
    const player_test::ScratchDir dir;
    dir.Write("bar.zep", "W;L,0;");
    dir.Write("bar-00.rgn",
              player_test::RegionFileBytes(gfx::Region::FromRect({30, 120, 220, 132})));
    const std::string script = (dir.path() / "bar.zep").string();
    const std::string good =
        dir.Write("good.jsonl",
                  "{\"strokes\": [[[35, 126], [120, 126.5], [215, 126]]]}\n"
                  "\n"
                  "{\"mode\": \"recall\", \"strokes\": [[[215, 126], [35, 126]], [[50, 126]]]}\n")
            .string();
    const testsupport::ChildRun judged =
        testsupport::RunChild(ZEPKIT_PATH, {"judge", script, good});
    EXPECT_EQ(judged.exit_code, 0);
    EXPECT_EQ(judged.output,
              "{\"results\":[{\"verdict\":\"correct\",\"expected\":0,\"reason\":null,"
              "\"matches\":0}],\"complete\":true,\"mistakes\":0}\n"
              "{\"results\":[{\"verdict\":\"mistake\",\"expected\":0,\"reason\":\"backwards\","
              "\"matches\":0},{\"verdict\":\"ignored\",\"expected\":0,\"reason\":null,"
              "\"matches\":null}],\"complete\":false,\"mistakes\":1}\n");

    const std::vector<std::string> bad_lines{
        "[1, 2]", "{\"strokes\": [[[1, 2, 3]]]}", "{\"strokes\": [], \"mode\": \"free\"}",
        "{\"strokes\": [[[1, \"2\"]]]}", "{\"strokes\": [[[1, 2]]"};
    for (const std::string& line : bad_lines) {
        const std::string file =
            dir.Write("bad.jsonl", "{\"strokes\": []}\n" + line + "\n").string();
        const Outcome refused = Zepkit({"judge", script, file});
        EXPECT_EQ(refused.exit_code, 1) << line;
        EXPECT_EQ(refused.output, "zepkit: line 2 is not a practice session\n") << line;
    }
    const std::string empty = dir.Write("empty.jsonl", "").string();
    EXPECT_EQ(Zepkit({"judge", script, "--leniency", "1.5", empty}).output, "");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"judge"},
                                               {"judge", script, "--leniency", "0", good},
                                               {"judge", script, "--leniency", "x"},
                                               {"judge", script, good, good}}) {
        EXPECT_EQ(Zepkit(args).exit_code, 2) << args.size();
    }
    EXPECT_EQ(Zepkit({"judge", (dir.path() / "none.zep").string(), good}).exit_code, 1);
}

}  // namespace
