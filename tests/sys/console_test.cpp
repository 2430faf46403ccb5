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

}  // namespace
