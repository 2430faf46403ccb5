#include "sys/cmdline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

#ifndef _WIN32
TEST(CommandLineWords, DecodesEveryArgumentIncludingTheProgram) {
    char program[] = "./dorvik";
    char kanji[] = "\xE6\xBC\xA2\xE5\xAD\x97";
    char broken[] = "\xFF";
    char empty[] = "";
    char* argv[] = {program, kanji, broken, empty, nullptr};
    const std::vector<std::u16string> expected = {u"./dorvik", u"漢字", u"\uFFFD", u""};
    EXPECT_EQ(sys::CommandLineWords(4, argv), expected);
}
#endif

}  // namespace
