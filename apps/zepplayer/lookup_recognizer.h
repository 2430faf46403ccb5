// Look-up's candidates from the handwriting recogniser: its model and the
// imported set it ranks by, found in the player's data folders.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "zepplayer/lookup_source.h"

namespace player {

// The load of the recogniser, or none with error saying which file is
// missing and where it comes from.
[[nodiscard]] LoadCandidates LocateRecognizer(
    const std::vector<std::filesystem::path>& data_folders, std::string& error);

}  // namespace player
