// Where the player's installed data lives, in the order it is looked for.
#pragma once

#include <filesystem>
#include <vector>

namespace sys {

// The folders that may hold the player's data, in the order they are searched.
// POSIX: ../share/zepplayer from the executable's folder (so a build tree or
// an installed tree finds its own data from any working folder), then
// $XDG_DATA_HOME/zepplayer (by default ~/.local/share/zepplayer), then
// zepplayer under each folder of $XDG_DATA_DIRS (by default /usr/local/share
// and /usr/share), then the one under the data folder of the install prefix.
// Windows: the executable's own folder, then %LOCALAPPDATA%\zepplayer.
[[nodiscard]] std::vector<std::filesystem::path> PlayerDataFolders();

}  // namespace sys
