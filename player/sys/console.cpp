#include "sys/console.h"

#include <climits>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cwchar>

#include "sys/utf.h"

namespace sys {

void UseUserLocale() {
    std::setlocale(LC_CTYPE, "");
}

std::string EncodeForConsole(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    char bytes[MB_LEN_MAX];
    for (const char32_t cp : Utf16ToCodePoints(text)) {
        // A code point that does not fit one wchar_t (above U+FFFF where
        // wchar_t holds UTF-16 units) goes the UTF-8 way as well.
        if (cp <= static_cast<char32_t>(WCHAR_MAX)) {
            std::mbstate_t state{};
            const size_t n = std::wcrtomb(bytes, static_cast<wchar_t>(cp), &state);
            if (n != static_cast<size_t>(-1)) {
                out.append(bytes, n);
                continue;
            }
        }
        AppendUtf8(out, cp);
    }
    return out;
}

void WriteText(std::u16string_view text) {
    const std::string bytes = EncodeForConsole(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void WriteNarrowLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

void FlushOutput() {
    std::fflush(stdout);
}

void IgnoreBrokenPipe() {
#ifndef _WIN32
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

}  // namespace sys
