// Characters by name, from the player's data folders. In each folder, a
// script kanji/NAME.zep (with its NAME-NN.rgn files) wins over the imported
// set kanji.sqlite beside it; the first folder that has the character gives it.
//
// The player, its engine and the exports read a character as files, by path,
// and read each region file anew whenever they need its shape. A character
// of the set is therefore unpacked, byte for byte, into a private folder of
// this process (removed when it ends) and handed on as that script's path:
// every reader keeps working unchanged, the files are read as often as ever,
// and the save dialog still proposes the character's name. The few kilobytes
// written per character are the whole cost.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zep/character_store.h"

namespace player {

// Whether text names a character of the data folders, without unpacking it.
// Text names a character when it is one character, blanks around it aside;
// anything else finds nothing.
[[nodiscard]] bool HoldsCharacter(std::u16string_view text,
                                  const std::vector<std::filesystem::path>& data_folders);

// The script of the character that text names: a script on disk, or one
// unpacked from a set. Nothing where no folder has it; error then holds why a
// set that may have held it could not be read (empty when none failed).
[[nodiscard]] std::optional<std::filesystem::path> FindCharacterScript(
    std::u16string_view text, const std::vector<std::filesystem::path>& data_folders,
    std::string& error);

// The record of the character that text names from the first set of the data
// folders that holds it, scripts on disk aside. Nothing where none holds it;
// error then holds why a set could not be read (empty when none failed).
[[nodiscard]] std::optional<StoredCharacter> FindStoredCharacter(
    std::u16string_view text, const std::vector<std::filesystem::path>& data_folders,
    std::string& error);

// The set of the first data folder that has one; nothing when none has.
[[nodiscard]] std::optional<std::filesystem::path> FindCharacterStore(
    const std::vector<std::filesystem::path>& data_folders);

// What a program opens for a word of its command line: a file of that name
// when there is one, otherwise the script of the character the word names.
// Nothing, with a message naming the word, when it names neither.
[[nodiscard]] std::optional<std::filesystem::path> ResolveScriptArgument(
    const std::filesystem::path& word, const std::vector<std::filesystem::path>& data_folders,
    std::string& error);

}  // namespace player
