// The imported set as one file: an SQLite database with one record per
// character, each keeping our own formats inside (the script's text and the
// bytes of each region file), so that unpacking a record gives the very files
// an import into a folder would have written.
//
// Why SQLite: a transaction makes the import all-or-nothing, the file is
// checked on open (a torn or foreign file is refused, not misread), and the
// characters table answers "every grade-2 kanji" in one query.
//
// The file is never changed in place: a writer builds the whole set in memory
// and puts it in place of the old file by a rename, so a reader sees the old
// set or the new one, whole.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace player {

// The set's name in a data folder.
inline constexpr char kCharacterStoreName[] = "kanji.sqlite";

struct StoredCharacter {
    std::string name;                  // the character, UTF-8: NAME of NAME.zep
    std::string script;                // the script file's bytes
    std::vector<std::string> regions;  // region file n's bytes, n from 0
    std::optional<int> grade;          // the school grade, when known
    // The strokes' paths in writing order, as the handwriting look-up keeps
    // them (its own format); empty when not made.
    std::string stroke_paths;
};

struct StoredStrokePaths {
    std::string name;
    std::string stroke_paths;
};

// The character's record from the set at store. Nothing where the set does not
// hold it (error left empty) or cannot be read (error says why: a missing,
// torn or foreign file, or a damaged record).
[[nodiscard]] std::optional<StoredCharacter> ReadStoredCharacter(
    const std::filesystem::path& store, const std::string& name, std::string& error);

// Whether the set at store holds the character; a set that cannot be read
// holds nothing.
[[nodiscard]] bool StoreHolds(const std::filesystem::path& store, const std::string& name);

// The stroke paths of every character of the set that has them, in the order
// of their names. Nothing, with error saying why, when the set cannot be read
// or was written before sets kept stroke paths.
[[nodiscard]] std::optional<std::vector<StoredStrokePaths>> ReadAllStrokePaths(
    const std::filesystem::path& store, std::string& error);

// Writes characters as the whole set at store, in place of any file there.
// On failure error names the file and the reason, and store is as it was.
[[nodiscard]] bool WriteCharacterStore(const std::filesystem::path& store,
                                       const std::vector<StoredCharacter>& characters,
                                       std::string& error);

}  // namespace player
