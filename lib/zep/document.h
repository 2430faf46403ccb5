// A document: a script and the region files of its strokes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "zep/script.h"

namespace player {

// A script and the region files of its strokes, apart from the player's own.
struct Document {
    std::vector<StrokeCommand> commands;
    std::vector<std::filesystem::path> region_files;
};

// The script at path and the region files beside it: "<path without
// extension>-NN.rgn" from 00 up to the first missing number. Nothing, with
// the reason in ec, where it fails: an extension other than ".zep" in any
// case (not_supported); a path the system cannot take whole (see
// sys::CheckPath), for the script or for the region file names made from it;
// every failure of reading; and memory running out anywhere (not_enough_memory).
[[nodiscard]] std::optional<Document> ReadDocument(const std::filesystem::path& path,
                                                   std::error_code& ec);

// Why ReadDocument failed, for a message: ec's own words, except where the
// name does not end in ".zep".
[[nodiscard]] std::string ReadFailureReason(const std::error_code& ec);

}  // namespace player
