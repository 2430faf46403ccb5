#include "sys/console.h"

#include <algorithm>
#include <climits>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cwchar>

#include "sys/utf.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

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

#ifndef _WIN32

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

#else

namespace {

// Output to a file or a pipe waits here for FlushOutput, so that one
// encoding is chosen for the whole of it.
std::u16string& PendingOutput() {
    static std::u16string pending;
    return pending;
}

bool OutputIsConsole() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

// A console shows every character as it is, whatever the code pages.
void WriteToConsole(std::u16string_view text) {
    const HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    while (!text.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size(), 8192));
        DWORD written = 0;
        const auto* units = reinterpret_cast<const wchar_t*>(text.data());
        if (!WriteConsoleW(console, units, chunk, &written, nullptr) || written == 0) return;
        text.remove_prefix(written);
    }
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    for (const char32_t cp : Utf16ToCodePoints(text)) AppendUtf8(out, cp);
    return out;
}

}  // namespace

std::string EncodeForRedirectedOutput(std::u16string_view text, unsigned code_page) {
    if (text.empty() || code_page == CP_UTF8) return ToUtf8(text);
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    // No best fit: "／" must not quietly become "/".
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, units, length, nullptr, 0,
                                         nullptr, &lossy);
    if (size <= 0 || lossy) return ToUtf8(text);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, units, length, out.data(), size, nullptr,
                        nullptr);
    return out;
}

void WriteText(std::u16string_view text) {
    if (OutputIsConsole()) {
        WriteToConsole(text);
    } else {
        PendingOutput() += text;
    }
}

void WriteNarrowLine(std::string_view line) {
    WriteText(Utf8ToUtf16(line) + u"\n");
}

void FlushOutput() {
    std::u16string& pending = PendingOutput();
    if (!pending.empty()) {
        const std::string bytes = EncodeForRedirectedOutput(pending, GetACP());
        pending.clear();
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    }
    std::fflush(stdout);
}

#endif

void IgnoreBrokenPipe() {
#ifndef _WIN32
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

bool ErrorOutputIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

}  // namespace sys
