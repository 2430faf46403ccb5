#include "sys/cmdline.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#include <string_view>
#else
#include "sys/utf.h"
#endif

namespace sys {

#ifdef _WIN32

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
    std::vector<std::u16string> words;
    // wchar_t is a UTF-16 unit here.
    const std::wstring terminated(line.begin(), line.end());
    int count = 0;
    LPWSTR* split = CommandLineToArgvW(terminated.c_str(), &count);
    if (split == nullptr) return words;
    for (int i = 0; i < count; ++i) {
        const std::wstring_view word(split[i]);
        words.emplace_back(word.begin(), word.end());
    }
    LocalFree(split);
    return words;
}

std::u16string JoinCommandLine(const std::vector<std::u16string>& words) {
    std::u16string line;
    for (const std::u16string& word : words) {
        if (!line.empty()) line += u' ';
        if (!word.empty() && word.find_first_of(u" \t\n\v\"") == std::u16string::npos) {
            line += word;
            continue;
        }
        line += u'"';
        size_t backslashes = 0;
        for (const char16_t c : word) {
            if (c == u'\\') {
                ++backslashes;
                continue;
            }
            line.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
            line += c;
            backslashes = 0;
        }
        line.append(backslashes * 2, u'\\');
        line += u'"';
    }
    return line;
}

std::vector<std::u16string> CommandLineWords(int, char**) {
    const std::wstring_view line(GetCommandLineW());
    return SplitCommandLine(std::u16string(line.begin(), line.end()));
}

#else

std::vector<std::u16string> CommandLineWords(int argc, char** argv) {
    std::vector<std::u16string> words;
    for (int i = 0; i < argc; ++i) words.push_back(Utf8ToUtf16(argv[i]));
    return words;
}

#endif

}  // namespace sys
