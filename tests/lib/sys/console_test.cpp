#include "sys/console.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

// Each test picks its own character-type locale and puts the old one back.
class EncodeForConsole : public ::testing::Test {
protected:
    void SetUp() override { saved_ = std::setlocale(LC_CTYPE, nullptr); }
    void TearDown() override { std::setlocale(LC_CTYPE, saved_.c_str()); }

private:
    std::string saved_;
};

// ASCII, kanji, the full-width solidus, a pair and a lone surrogate.
const std::u16string kText = u"Result: 漢／\xD83D\xDE00\xDC00\n";
const std::string kUtf8 =
    "Result: \xE6\xBC\xA2\xEF\xBC\x8F\xF0\x9F\x98\x80\xEF\xBF\xBD\n";

TEST_F(EncodeForConsole, FallsBackToUtf8WhereTheCLocaleCannotEncode) {
    ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
    EXPECT_EQ(sys::EncodeForConsole(kText), kUtf8);
}

TEST_F(EncodeForConsole, GivesTheSameBytesUnderAUtf8Locale) {
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
    EXPECT_EQ(sys::EncodeForConsole(kText), kUtf8);
}

#ifdef _WIN32
// Output to a file or a pipe: the user's code page only where it holds every
// character exactly, else all of it in UTF-8, never a mixture.
TEST(EncodeForRedirectedOutput, UsesTheCodePageOnlyWhenItHoldsEverything) {
    const std::u16string grade = u"Grade 3／小学三年生\n";
    const std::string grade_utf8 = "Grade 3\xEF\xBC\x8F\xE5\xB0\x8F\xE5\xAD\xA6\xE4\xB8\x89"
                                   "\xE5\xB9\xB4\xE7\x94\x9F\n";
    const struct {
        std::u16string text;
        unsigned code_page;
        std::string bytes;
    } rows[] = {
        {grade, 932, "Grade 3\x81\x5E\x8F\xAC\x8A\x77\x8E\x4F\x94\x4E\x90\xB6\n"},
        {grade, 1252, grade_utf8},  // a best fit would make "／" a "/"
        {grade, 65001, grade_utf8},
        {u"caf\u00E9\n", 1252, "caf\xE9\n"},
        {kText, 932, kUtf8},        // a character beyond the code page, a lone surrogate
    };
    for (const auto& row : rows) {
        EXPECT_EQ(sys::EncodeForRedirectedOutput(row.text, row.code_page), row.bytes)
            << row.code_page;
    }
}
#endif

}  // namespace
