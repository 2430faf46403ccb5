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
#else
// The system's rules, as a program's arguments are split on Windows: blanks
// part words, quotes group them, backslashes escape only before a quote, and
// characters beyond U+FFFF come through as their pairs.
TEST(SplitCommandLine, SplitsByTheSystemsRules) {
    const struct {
        std::u16string line;
        std::vector<std::u16string> words;
    } rows[] = {
        {u"dorvik  -v\t漢字", {u"dorvik", u"-v", u"漢字"}},
        {u"\"C:\\My Programs\\dorvik.exe\" \"a b\" \"\"",
         {u"C:\\My Programs\\dorvik.exe", u"a b", u""}},
        {u"p a\\\"b \"c\\\\\" d\\e", {u"p", u"a\"b", u"c\\", u"d\\e"}},
        {u"p \U00020BB7\uFF0F", {u"p", u"\U00020BB7\uFF0F"}},
        {std::u16string(u"p a\0b", 5), {u"p", u"a"}},
    };
    for (const auto& row : rows) EXPECT_EQ(sys::SplitCommandLine(row.line), row.words);
}

// Blanks, quotes and backslashes before a quote or at a word's end are what
// the joining must escape.
TEST(JoinCommandLine, SplitsBackIntoTheSameWords) {
    const std::vector<std::u16string> words = {
        u"C:\\My Programs\\dorvik.exe", u"", u"a b", u"a\"b", u"c\\", u"d\\e", u"x\\\"y",
        u"\t", u"\\\\", u"e f\\", u"\U00020BB7 \uFF0F"};
    EXPECT_EQ(sys::SplitCommandLine(sys::JoinCommandLine(words)), words);
}
#endif

}  // namespace
