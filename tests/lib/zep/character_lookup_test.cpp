#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "support/character_files.h"
#include "zep/character_lookup.h"
#include "zep/character_store.h"

namespace {

namespace fs = std::filesystem;
using player_test::ScratchDir;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Three data folders: a broken set first; then a script file of 右 beside a
// set of 右 and 左; last a script file of 口 and a set of 左 and 山.
class CharacterLookup : public ::testing::Test {
protected:
    ScratchDir dir;
    std::vector<fs::path> folders{dir.path() / "broken", dir.path() / "home",
                                  dir.path() / "system"};
    void SetUp() override {
        dir.Write("x.zep", "");
        for (const char* folder : {"broken", "home/kanji", "system/kanji"}) {
            fs::create_directories(dir.path() / folder);
        }
        dir.Write("broken/kanji.sqlite", "not a set");
        dir.Write("home/kanji/右.zep", "file");
        dir.Write("system/kanji/口.zep", "file");
        Store("home", {{"右", "home set", {"r"}, {}, {}}, {"左", "home set", {"l"}, {}, {}}});
        Store("system", {{"左", "system set", {}, {}, {}}, {"山", "system set", {"m"}, {}, {}}});
    }
    void Store(const char* folder, const std::vector<player::StoredCharacter>& characters) {
        std::string error;
        ASSERT_TRUE(player::WriteCharacterStore(dir.path() / folder / player::kCharacterStoreName,
                                                characters, error))
            << error;
    }
    // The script's path and its bytes, which tell where it came from.
    std::pair<fs::path, std::string> Found(std::u16string_view text) const {
        std::string error;
        const auto script = player::FindCharacterScript(text, folders, error);
        if (!script) return {};
        return {*script, ReadBytes(*script)};
    }
};

// In each folder a script file wins over the set beside it; the first folder
// that has the character gives it; a broken set hides nothing.
TEST_F(CharacterLookup, TakesTheFirstFolderAndInItAFileBeforeTheSet) {
    EXPECT_EQ(Found(u"右").first, dir.path() / "home" / "kanji" / fs::path(u8"右.zep"));
    EXPECT_EQ(Found(u" 口\n").first, dir.path() / "system" / "kanji" / fs::path(u8"口.zep"));
    EXPECT_EQ(Found(u"左").second, "home set");
    EXPECT_EQ(Found(u"山").second, "system set");
    const auto [mountain, script] = Found(u"山");
    fs::path region = mountain;
    region.replace_filename(u8"山-00.rgn");
    EXPECT_EQ(ReadBytes(region), "m");
    for (const char16_t* text : {u"木", u"右口", u"", u"x", u"..", u"\xD800"}) {
        EXPECT_FALSE(player::HoldsCharacter(text, folders)) << std::u16string(text).size();
        EXPECT_EQ(Found(text).first, fs::path()) << std::u16string(text).size();
    }
    for (const char16_t* text : {u"右", u"口", u"左", u"山"}) {
        EXPECT_TRUE(player::HoldsCharacter(text, folders));
    }
    std::string error;
    EXPECT_FALSE(player::FindCharacterScript(u"木", folders, error));
    EXPECT_NE(error.find("broken"), std::string::npos) << error;
}

// A file of the name always wins; a word that names nothing is said so.
TEST_F(CharacterLookup, ResolvesAFileFirst) {
    const fs::path file = dir.path() / "x.zep";
    std::string error;
    EXPECT_EQ(player::ResolveScriptArgument(file, folders, error), file);
    EXPECT_EQ(player::ResolveScriptArgument(fs::path(u8"右"), folders, error),
              dir.path() / "home" / "kanji" / fs::path(u8"右.zep"));
    EXPECT_FALSE(player::ResolveScriptArgument("nothing.zep", folders, error));
    EXPECT_NE(error.find("no script or imported character named 'nothing.zep'"),
              std::string::npos)
        << error;
}

}  // namespace
