#include <gtest/gtest.h>

#include <string>

#include "support/character_files.h"
#include "zep/character_lookup.h"

namespace {

namespace fs = std::filesystem;
using player_test::ScratchDir;

// Two data folders; the first one's set lacks 口, which only the second has.
class CharacterLookup : public ::testing::Test {
protected:
    ScratchDir dir;
    std::vector<fs::path> folders{dir.path() / "home", dir.path() / "system"};
    void SetUp() override {
        dir.Write("x.zep", "");
        fs::create_directories(dir.path() / "home" / "kanji");
        fs::create_directories(dir.path() / "system" / "kanji");
        dir.Write("home/kanji/右.zep", "");
        dir.Write("system/kanji/右.zep", "");
        dir.Write("system/kanji/口.zep", "");
    }
    fs::path In(const char* folder, const char* name) const {
        return dir.path() / folder / "kanji" / fs::path(reinterpret_cast<const char8_t*>(name));
    }
};

TEST_F(CharacterLookup, FindsTheFirstFolderThatHoldsTheCharacter) {
    EXPECT_EQ(player::FindCharacterScript(u"右", folders), In("home", "右.zep"));
    EXPECT_EQ(player::FindCharacterScript(u" 口\n", folders), In("system", "口.zep"));
    for (const char16_t* text : {u"左", u"右口", u"", u"x", u"..", u"\xD800"}) {
        EXPECT_FALSE(player::FindCharacterScript(text, folders)) << std::u16string(text).size();
    }
}

// A file of the name always wins; a word that names nothing stays as it is.
TEST_F(CharacterLookup, ResolvesAFileFirst) {
    const fs::path file = dir.path() / "x.zep";
    EXPECT_EQ(player::ResolveScriptArgument(file, folders), file);
    EXPECT_EQ(player::ResolveScriptArgument(fs::path(u8"右"), folders), In("home", "右.zep"));
    EXPECT_EQ(player::ResolveScriptArgument("nothing.zep", folders), fs::path("nothing.zep"));
}

}  // namespace
