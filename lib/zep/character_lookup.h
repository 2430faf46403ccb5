// Characters by name: the imported set of scripts and region files, kept in
// the folder "kanji" of the player's data folders as NAME.zep with its
// NAME-NN.rgn files.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace player {

// The script of the character that text names, from the first data folder
// whose set holds it. Text names a character when it is one character,
// blanks around it aside; anything else finds nothing.
[[nodiscard]] std::optional<std::filesystem::path> FindCharacterScript(
    std::u16string_view text, const std::vector<std::filesystem::path>& data_folders);

// What the player opens for a word of its command line: a file of that name
// when there is one, otherwise the script of the character the word names,
// otherwise the word as it stands.
[[nodiscard]] std::filesystem::path ResolveScriptArgument(
    const std::filesystem::path& word, const std::vector<std::filesystem::path>& data_folders);

}  // namespace player
