// A folder of this process's own, for files it makes for itself.
#pragma once

#include <filesystem>
#include <optional>

namespace sys {

// A fresh folder under the user's runtime folder ($XDG_RUNTIME_DIR) or the
// system's temporary folder, readable by this user only, made at the first
// call and removed with its contents when the process ends normally. Nothing
// when none can be made.
[[nodiscard]] std::optional<std::filesystem::path> PrivateFolder();

}  // namespace sys
