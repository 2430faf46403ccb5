#include "zep/character_lookup.h"

#include <string>
#include <type_traits>

#include "sys/files.h"
#include "sys/private_folder.h"
#include "sys/utf.h"
#include "zep/character_files.h"
#include "zep/character_store.h"

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

std::string Printable(const fs::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

// The character's name in UTF-8, or nothing when text names no character.
// Path separators, dots and control characters never name one.
std::optional<std::string> CharacterName(std::u16string_view text) {
    const std::u32string character = sys::Utf16ToCodePoints(Trimmed(text));
    if (character.size() != 1 || character[0] < 0x80) return std::nullopt;
    std::string utf8;
    sys::AppendUtf8(utf8, character[0]);
    return utf8;
}

fs::path LooseScript(const fs::path& folder, const std::string& name) {
    return CharacterScriptIn(folder / kKanjiFolder, name);
}

// The folder's set's record of name, if any. A set that cannot be read hides
// nothing that a later folder holds: its failure goes into error, unless an
// earlier one is there already.
std::optional<StoredCharacter> StoredIn(const fs::path& folder, const std::string& name,
                                        std::string& error) {
    const fs::path store = folder / kCharacterStoreName;
    if (!sys::PathExists(store)) return std::nullopt;
    std::string failure;
    std::optional<StoredCharacter> record = ReadStoredCharacter(store, name, failure);
    if (!record && error.empty()) error = failure;
    return record;
}

// The character unpacked into this process's private folder, once.
std::optional<fs::path> Unpacked(const StoredCharacter& character, std::string& error) {
    const std::optional<fs::path> folder = sys::PrivateFolder();
    if (!folder) {
        error = "cannot make a temporary folder";
        return std::nullopt;
    }
    fs::path script = CharacterScriptIn(*folder, character.name);
    if (sys::PathExists(script) ||
        WriteCharacterFiles(character, *folder, error, FileWrite::Scratch)) {
        return script;
    }
    return std::nullopt;
}

}  // namespace

bool HoldsCharacter(std::u16string_view text, const std::vector<fs::path>& data_folders) {
    const std::optional<std::string> name = CharacterName(text);
    if (!name) return false;
    for (const fs::path& folder : data_folders) {
        if (sys::PathExists(LooseScript(folder, *name)) ||
            StoreHolds(folder / kCharacterStoreName, *name)) {
            return true;
        }
    }
    return false;
}

std::optional<fs::path> FindCharacterScript(std::u16string_view text,
                                            const std::vector<fs::path>& data_folders,
                                            std::string& error) {
    error.clear();
    const std::optional<std::string> name = CharacterName(text);
    if (!name) return std::nullopt;
    for (const fs::path& folder : data_folders) {
        fs::path script = LooseScript(folder, *name);
        if (sys::PathExists(script)) return script;
        if (auto record = StoredIn(folder, *name, error)) {
            error.clear();
            return Unpacked(*record, error);
        }
    }
    return std::nullopt;
}

std::optional<fs::path> FindCharacterStore(const std::vector<fs::path>& data_folders) {
    for (const fs::path& folder : data_folders) {
        std::error_code ec;
        if (fs::is_regular_file(folder / kCharacterStoreName, ec)) return folder / kCharacterStoreName;
    }
    return std::nullopt;
}

std::optional<StoredCharacter> FindStoredCharacter(std::u16string_view text,
                                                   const std::vector<fs::path>& data_folders,
                                                   std::string& error) {
    error.clear();
    const std::optional<std::string> name = CharacterName(text);
    if (!name) return std::nullopt;
    for (const fs::path& folder : data_folders) {
        if (auto record = StoredIn(folder, *name, error)) {
            error.clear();
            return record;
        }
    }
    return std::nullopt;
}

std::optional<fs::path> ResolveScriptArgument(const fs::path& word,
                                              const std::vector<fs::path>& data_folders,
                                              std::string& error) {
    error.clear();
    if (sys::PathExists(word)) return word;
    std::string failure;
    std::optional<fs::path> script =
        FindCharacterScript(WordText(word.native()), data_folders, failure);
    if (!script) {
        error = "no script or imported character named '" + Printable(word) + "'";
        if (!failure.empty()) error += " (" + failure + ")";
    }
    return script;
}

}  // namespace player
