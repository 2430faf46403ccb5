// dorvik's command line from any bytes: the words are decoded as the program
// decodes its arguments, the options are read as it reads them, and the text
// is graded into a buffer instead of standard output, so that nothing ends
// the process. Every grade is 0 to 7 and every grading ends with its result.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "dorvik/grading.h"
#include "fuzz_targets.h"
#include "grades/tables.h"
#include "sys/cmdline.h"
#include "sys/console.h"
#include "sys/utf.h"

namespace zepfuzz {

namespace {

#ifdef _WIN32
// Windows programs split their own command line: the words, decoded and
// quoted into one line, must come back from it whole.
std::vector<std::u16string> ProgramWords(const std::vector<char*>& argv) {
    std::vector<std::u16string> decoded{u"dorvik"};
    for (size_t i = 1; i < argv.size(); ++i) decoded.push_back(sys::Utf8ToUtf16(argv[i]));
    std::vector<std::u16string> words = sys::SplitCommandLine(sys::JoinCommandLine(decoded));
    for (size_t i = 1; i < words.size() && i < argv.size(); ++i) {
        Require(words[i] == sys::Utf8ToUtf16(argv[i]), "every word comes back whole");
    }
    return words;
}
#else
std::vector<std::u16string> ProgramWords(std::vector<char*>& argv) {
    return sys::CommandLineWords(static_cast<int>(argv.size()), argv.data());
}
#endif

}  // namespace

void FuzzDorvikGrade(const uint8_t* data, size_t size) {
    // Once, as the program does at its start.
    static const bool locale_set = (sys::UseUserLocale(), true);
    (void)locale_set;

    // The words as main receives them: the program, then zero-terminated strings.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<char*> argv;
    std::string program = "dorvik";
    argv.push_back(program.data());
    std::vector<std::string> words_bytes;
    for (size_t start = 0; start < size;) {
        const size_t end = std::min(bytes.find('\0', start), size);
        words_bytes.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    for (std::string& word : words_bytes) argv.push_back(word.data());
    const std::vector<std::u16string> words = ProgramWords(argv);
    Require(words.size() == argv.size(), "every argument is one word");
    if (words.size() <= 1) return;  // the usage text

    bool verbose = false;
    std::u16string text;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::u16string& word = words[i];
        if (word == u"--help" || word == u"--version") return;
        if (word == u"--verbose" || word == u"-v") {
            verbose = true;
        } else {
            text += word;
        }
    }

    std::string out;
    size_t lines = 0;
    grade::NoteFlags notes;
    const int grade = grade::GradeTextWithNotes(text, verbose, notes, [&](std::u16string_view line) {
        out += sys::EncodeForConsole(line);
        ++lines;
    });
    Require(grade >= 0 && grade <= 7, "a grade is 0 to 7");
    const std::string result = sys::EncodeForConsole(u"\nResult: " + std::u16string(grade::GradeLabel(grade)) + u"\n");
    Require(out.size() >= result.size() && out.compare(out.size() - result.size(), result.size(), result) == 0,
            "the output ends with the result line of the grade");
    Require(verbose || lines == 1, "without verbose the result line is all");
}

}  // namespace zepfuzz
