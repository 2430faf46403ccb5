// dorvik: grades the Japanese text on its command line and exits with the
// grade, 0 to 7; 999 after the usage text or the version.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dorvik/grading.h"
#include "sys/cmdline.h"
#include "sys/console.h"

namespace {

constexpr int kExitNoGrade = 999;  // a POSIX parent sees 231

// Byte for byte as it has always been, bracket left open, because scripts
// may match it.
constexpr std::u16string_view kUsage =
    u"使用例: dorvik [オプション <漢字>\n"
    u"\n"
    u"オプション:\n"
    u" -v, --verbose    詳細表示。\n"
    u" --help           このメッセージを表示。\n"
    u" --version        バージョン表示。\n";

// words[0] is the program. Options apply wherever they stand, so the text is
// graded only after the last word; every other word is text, joined as is.
int RunGradeCommand(std::span<const std::u16string> words) {
    sys::UseUserLocale();
    if (words.size() <= 1) {
        sys::WriteText(kUsage);
        return kExitNoGrade;
    }
    bool verbose = false;
    std::u16string text;
    for (const std::u16string& word : words.subspan(1)) {
        if (word == u"--help") {
            sys::WriteText(kUsage);
            return kExitNoGrade;
        }
        if (word == u"--version") {
            sys::WriteNarrowLine("0.0");
            return kExitNoGrade;
        }
        if (word == u"--verbose" || word == u"-v") {
            verbose = true;
        } else {
            text += word;
        }
    }
    return grade::GradeText(text, verbose, sys::WriteText);
}

}  // namespace

int main(int argc, char** argv) {
    // Output errors change neither the grade nor the exit code, not even a
    // reader that leaves early ("dorvik -v TEXT | head -1").
    sys::IgnoreBrokenPipe();
    const std::vector<std::u16string> words = sys::CommandLineWords(argc, argv);
    const int code = RunGradeCommand(words);
    sys::FlushOutput();
    return code;
}
