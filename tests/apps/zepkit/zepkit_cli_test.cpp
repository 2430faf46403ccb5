// The zepkit program as a user runs it: which files it takes, where it finds
// the imported set, what it says about what it cannot do, and its exit code.
// It runs as a copy in a tree of its own, so that only that tree's sets (and
// not the build's) are found beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/character_files.h"
#include "support/child_process.h"
#include "support/environment.h"
#include "support/platform.h"

namespace {

namespace fs = std::filesystem;

constexpr char kBar[] = R"({"strokes": ["M100,400 L900,400 L900,460 L100,460 Z"],
                            "medians": [[[120,430],[880,430]]]})";
constexpr char kTwoBars[] = R"({"strokes": ["M100,600 L900,600 L900,660 L100,660 Z",
                                            "M100,200 L900,200 L900,260 L100,260 Z"],
                                "medians": [[[120,630],[880,630]], [[120,230],[880,230]]]})";

struct Outcome {
    int exit_code;
    std::string output;  // standard output and standard error
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string Utf8(const fs::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

// The folder without "." or ".." in it, nor a separator at its end, which
// Windows would take for an escape of the quote around an argument.
fs::path Folder(const fs::path& path) {
    const fs::path normal = path.lexically_normal();
    return normal.has_filename() ? normal : normal.parent_path();
}

class ZepkitProgram : public ::testing::Test {
protected:
    player_test::ScratchDir dir;
    fs::path program = dir.path() / "bin" / fs::path(ZEPKIT_PATH).filename();
    fs::path beside = Folder(dir.path() / "bin" / testsupport::kDataBesideProgram);
    fs::path home = dir.path() / "home" / "zepplayer";

    void SetUp() override {
        fs::create_directories(dir.path() / "bin");
        fs::copy_file(ZEPKIT_PATH, program);
        // Only this tree is searched, whatever the user running the test has imported.
        const std::string home_root = (dir.path() / "home").string();
        testsupport::SetEnvironment("XDG_DATA_HOME", home_root);
        testsupport::SetEnvironment("XDG_DATA_DIRS", "/nowhere");
        testsupport::SetEnvironment("LOCALAPPDATA", home_root);
    }
    Outcome Zepkit(const std::vector<std::string>& args) const {
        const testsupport::ChildRun run =
            testsupport::RunChild(program, args, {}, testsupport::ErrorOutput::WithOutput);
        return {run.exit_code, run.output};
    }
    // A package of one character, 一, from the given stroke data.
    std::string Package(const std::string& name, const std::string& data) const {
        fs::create_directories(dir.path() / name);
        dir.Write(name + "/一.json", data);
        return (dir.path() / name).string();
    }
    fs::path In(const std::string& folder, const char* file) const {
        return dir.path() / folder / fs::path(reinterpret_cast<const char8_t*>(file));
    }
};

// Every one-character file of the package is imported into the set, other
// files are not character data, a bad file is named and ends the run with 1;
// the set gives back the character's files.
TEST_F(ZepkitProgram, ImportsEveryCharacterAndUnpacksThem) {
    const std::string pkg = Package("pkg", kBar);
    dir.Write("pkg/二.json", "{\"strokes\": 3}");
    dir.Write("pkg/package.json", "{}");
    const Outcome all = Zepkit({"import", pkg, beside.string()});
    EXPECT_EQ(all.exit_code, 1);
    EXPECT_NE(all.output.find("二.json"), std::string::npos) << all.output;
    EXPECT_EQ(all.output.find("package.json"), std::string::npos) << all.output;
    EXPECT_EQ(Zepkit({"import", pkg, beside.string(), "一"}).exit_code, 0);

    const std::string out = (dir.path() / "out").string();
    EXPECT_EQ(Zepkit({"unpack", "一", out}).exit_code, 0);
    EXPECT_FALSE(ReadBytes(In("out", "一.zep")).empty());
    EXPECT_FALSE(ReadBytes(In("out", "一-00.rgn")).empty());
    EXPECT_FALSE(fs::exists(In("out", "一-01.rgn")));
    EXPECT_EQ(Zepkit({"import"}).exit_code, 2);
    EXPECT_EQ(Zepkit({"export", "a", "b"}).exit_code, 2);
}

// The set beside the program comes first, then the user's data folder.
TEST_F(ZepkitProgram, FindsTheSetBesideItselfFirst) {
    ASSERT_EQ(Zepkit({"import", Package("one", kBar), beside.string()}).exit_code, 0);
    ASSERT_EQ(Zepkit({"import", Package("two", kTwoBars), home.string()}).exit_code, 0);
    const std::string out = (dir.path() / "out").string();
    ASSERT_EQ(Zepkit({"unpack", "一", out}).exit_code, 0);
    EXPECT_FALSE(fs::exists(In("out", "一-01.rgn")));
    fs::remove(beside / "kanji.sqlite");
    ASSERT_EQ(Zepkit({"unpack", "一", out}).exit_code, 0);
    EXPECT_TRUE(fs::exists(In("out", "一-01.rgn")));
    EXPECT_EQ(Zepkit({"gif", "一", (dir.path() / "one.gif").string(), "--once"}).exit_code, 0);
    EXPECT_EQ(ReadBytes(dir.path() / "one.gif").substr(0, 6), "GIF89a");
}

// What cannot be done is said in one line that names what failed, the exit
// code is 1 and nothing is written.
TEST_F(ZepkitProgram, SaysWhatFailedAndWritesNothing) {
    ASSERT_EQ(Zepkit({"import", Package("pkg", kBar), beside.string()}).exit_code, 0);
    dir.Write("notes.txt", "L 0 0 0 0");
    dir.Write("blank.zep", "W;");
    fs::create_directories(dir.path() / "taken" / "kanji.sqlite");
    const std::string out = (dir.path() / "out").string();
    const std::string text = (dir.path() / "notes.txt").string();
    const std::string blank = (dir.path() / "blank.zep").string();
    const std::string pkg = (dir.path() / "pkg").string();
    const std::string taken = (dir.path() / "taken").string();
    const std::string nowhere = (dir.path() / "nowhere" / "x.gif").string();
    const struct {
        std::vector<std::string> args;
        std::string said;
        std::string written;  // the file that must not be there
    } cases[] = {
        {{"gif", "none.zep", out}, "no script or imported character named 'none.zep'", out},
        {{"sheet", "山", out}, "no script or imported character named '山'", out},
        {{"unpack", "山", out}, "no imported character named '山'", out},
        {{"gif", text, out}, "not a ZEP script", out},
        {{"gif", blank, out}, "no GIF of '" + blank + "': it has no strokes", out},
        {{"sheet", blank, out}, "no sheet of '" + blank + "'", out},
        {{"gif", "一", nowhere}, "cannot write '" + nowhere + "'", nowhere},
        {{"import", pkg, taken}, "cannot write '" + Utf8(fs::path(taken) / "kanji.sqlite"), ""},
    };
    for (const auto& c : cases) {
        const Outcome refused = Zepkit(c.args);
        EXPECT_EQ(refused.exit_code, 1) << c.args[0] << " " << c.args[1];
        EXPECT_EQ(std::count(refused.output.begin(), refused.output.end(), '\n'), 1)
            << refused.output;
        EXPECT_NE(refused.output.find(c.said), std::string::npos) << refused.output;
        if (!c.written.empty()) {
            EXPECT_FALSE(fs::exists(c.written)) << c.written;
        }
    }
    EXPECT_TRUE(fs::is_directory(dir.path() / "taken" / "kanji.sqlite"));
}

// With --order, a character whose strokes the reference writes the other
// way round is imported in the reference's order and named in the report; a
// reference that cannot be read stops the import before anything is written.
TEST_F(ZepkitProgram, ImportFollowsTheReferenceOrder) {
    fs::create_directories(dir.path() / "pkg");
    dir.Write("pkg/十.json", R"({"strokes": ["M480,100 L540,100 L540,800 L480,800 Z",
                                            "M100,420 L900,420 L900,480 L100,480 Z"],
                                "medians": [[[510,780],[510,120]], [[120,450],[880,450]]]})");
    const std::string reference =
        dir.Write("kanjivg.json", R"({"2": {"十": [[20, 120, 230, 120], [125, 20, 125, 230]]}})")
            .string();
    const std::string pkg = (dir.path() / "pkg").string();
    const Outcome imported = Zepkit({"import", pkg, beside.string(), "--order", reference});
    EXPECT_EQ(imported.exit_code, 0) << imported.output;
    EXPECT_NE(imported.output.find("- 十: order 2 1\n"), std::string::npos) << imported.output;
    ASSERT_EQ(Zepkit({"unpack", "十", (dir.path() / "ordered").string()}).exit_code, 0);
    ASSERT_EQ(Zepkit({"import", pkg, beside.string()}).exit_code, 0);
    ASSERT_EQ(Zepkit({"unpack", "十", (dir.path() / "as-read").string()}).exit_code, 0);
    EXPECT_EQ(ReadBytes(In("ordered", "十-00.rgn")), ReadBytes(In("as-read", "十-01.rgn")));

    const std::string elsewhere = (dir.path() / "elsewhere").string();
    const Outcome refused = Zepkit({"import", pkg, elsewhere, "--order", pkg});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_NE(refused.output.find(pkg), std::string::npos) << refused.output;
    EXPECT_FALSE(fs::exists(elsewhere));
}

// Sessions are judged line by line, in order; a line that is not a session
// is named and nothing is written; an empty input gives no lines.
TEST_F(ZepkitProgram, JudgesPracticeSessions) {
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

#ifdef HANDWRITING_MODEL
// Drawings are looked up among the set's characters, one line of candidates
// per line, best first; a line that is not a drawing is named and nothing is
// written.
TEST_F(ZepkitProgram, LooksUpDrawings) {
    const std::string pkg = Package("pkg", kBar);
    dir.Write("pkg/二.json", kTwoBars);
    ASSERT_EQ(Zepkit({"import", pkg, beside.string()}).exit_code, 0);
    fs::copy_file(HANDWRITING_MODEL, beside / "handwriting-ja.model");
    const std::string drawings =
        dir.Write("drawings.jsonl",
                  "{\"strokes\": [[[35, 110], [130, 111], [220, 110]]]}\n"
                  "\n"
                  "{\"strokes\": [[[35, 160], [220, 160]], [[35, 60], [128, 60.5], [220, 60]]]}\n")
            .string();
    const testsupport::ChildRun found = testsupport::RunChild(program, {"lookup", drawings});
    EXPECT_EQ(found.exit_code, 0);
    EXPECT_EQ(found.output,
              "{\"candidates\":[\"一\",\"二\"]}\n{\"candidates\":[\"二\",\"一\"]}\n");

    for (const std::string line : {"{\"strokes\": 1}", "{\"strokes\": [[[1]]]}", "[]"}) {
        const std::string file = dir.Write("bad.jsonl", "{\"strokes\": []}\n" + line).string();
        const Outcome refused = Zepkit({"lookup", file});
        EXPECT_EQ(refused.exit_code, 1) << line;
        EXPECT_EQ(refused.output, "zepkit: line 2 is not a drawing\n") << line;
    }
    EXPECT_EQ(Zepkit({"lookup", drawings, drawings}).exit_code, 2);
}
#endif

}  // namespace
