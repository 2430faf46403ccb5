// Loading a script into the player's state.
#pragma once

#include <filesystem>
#include <functional>
#include <system_error>

namespace player {

// Loads the script at path as the new document (see ReadDocument). Commands
// and ScriptPath are emptied first, so after a failure they are empty while
// RegionFiles and ShownStroke keep their values. On success Commands holds
// the parsed script, RegionFiles its region files, ScriptPath the path, and
// ShownStroke is -1. Either way request_repaint is called at the end.
bool LoadDocument(const std::filesystem::path& path, const std::function<void()>& request_repaint,
                  std::error_code& ec);

}  // namespace player
