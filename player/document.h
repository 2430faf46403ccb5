// The document: the loaded script and the region files of its strokes.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "script.h"

namespace player {

// A script and the region files of its strokes, apart from the player's own.
struct Document {
    std::vector<StrokeCommand> commands;
    std::vector<std::filesystem::path> region_files;
};

// The document at path as LoadDocument finds it, without touching the
// player's state; nothing, with the reason in ec, where LoadDocument fails.
[[nodiscard]] std::optional<Document> ReadDocument(const std::filesystem::path& path,
                                                   std::error_code& ec);

// Loads the script at path as the new document. Commands and ScriptPath are
// emptied first, so after a failure they are empty while RegionFiles and
// ShownStroke keep their values. On success Commands holds the parsed script,
// RegionFiles the files "<path without extension>-NN.rgn" from 00 up to the
// first missing number, ScriptPath the path, and ShownStroke is -1. Either
// way request_repaint is called at the end.
//
// Failures: an extension other than ".zep" in any case (not_supported); a
// path the system cannot take whole (see sys::CheckPath), for the script or
// for the region file names made from it; every failure of reading; and
// memory running out anywhere in the load (not_enough_memory).
bool LoadDocument(const std::filesystem::path& path, const std::function<void()>& request_repaint,
                  std::error_code& ec);

}  // namespace player
