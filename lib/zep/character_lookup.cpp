#include "zep/character_lookup.h"

#include <string>
#include <type_traits>

#include "sys/files.h"
#include "sys/utf.h"

namespace fs = std::filesystem;

namespace player {

namespace {

constexpr char kKanjiFolder[] = "kanji";

std::u16string_view Trimmed(std::u16string_view text) {
    constexpr std::u16string_view kBlanks = u" \t\r\n\u3000";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == text.npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The word as text; on POSIX its bytes are read as UTF-8, whatever they hold.
// (A template, so that only the platform's own branch is compiled.)
template <typename Native>
std::u16string WordText(const Native& native) {
    if constexpr (std::is_same_v<typename Native::value_type, char>) {
        return sys::Utf8ToUtf16(native);
    } else {
        return std::u16string(native.begin(), native.end());
    }
}

}  // namespace

std::optional<fs::path> FindCharacterScript(std::u16string_view text,
                                            const std::vector<fs::path>& data_folders) {
    const std::u32string character = sys::Utf16ToCodePoints(Trimmed(text));
    // Path separators, dots and control characters never name a character.
    if (character.size() != 1 || character[0] < 0x80) return std::nullopt;
    std::string utf8;
    sys::AppendUtf8(utf8, character[0]);
    const fs::path name = fs::path(std::u8string(utf8.begin(), utf8.end()) + u8".zep");
    for (const fs::path& folder : data_folders) {
        fs::path script = folder / kKanjiFolder / name;
        if (sys::PathExists(script)) return script;
    }
    return std::nullopt;
}

fs::path ResolveScriptArgument(const fs::path& word, const std::vector<fs::path>& data_folders) {
    if (sys::PathExists(word)) return word;
    return FindCharacterScript(WordText(word.native()), data_folders).value_or(word);
}

}  // namespace player
