// A character as the files the player reads: NAME.zep and NAME-NN.rgn.
#pragma once

#include <filesystem>
#include <string>

#include "zep/character_store.h"

namespace player {

// How the files are written: each in place of any file of that name, whole
// on disk before it replaces it; or as files of a private folder, which need
// not outlive the process and so are not waited for.
enum class FileWrite { Replace, Scratch };

// Writes the character's region files, then its script, into dir (which must
// exist); a region file numbered after the last stroke, left from an earlier
// character, is removed. Region files come first, so a script never names
// shapes that are not there yet. On failure error names the file that could
// not be written and why.
[[nodiscard]] bool WriteCharacterFiles(const StoredCharacter& character,
                                       const std::filesystem::path& dir, std::string& error,
                                       FileWrite how = FileWrite::Replace);

// The path of the script that WriteCharacterFiles writes for name into dir.
[[nodiscard]] std::filesystem::path CharacterScriptIn(const std::filesystem::path& dir,
                                                      const std::string& name);

}  // namespace player
