// Stroke shapes from region files. Files are read anew at every call: nothing
// is cached, so a file changed on disk shows at the next repaint.
#pragma once

#include <filesystem>
#include <span>

#include "gfx/region.h"
#include "zep/script.h"

namespace player {

// The shape stored in the file, or no region when the file is missing,
// unreadable, not a regular file or not a valid region file. Of a file longer
// than any region file, only the first rgn::kMaxFileSize bytes are read.
gfx::MaybeRegion LoadRegionFile(const std::filesystem::path& path);

// The shape of stroke n: no region when there is no file for that number.
gfx::MaybeRegion LoadStrokeRegion(std::span<const std::filesystem::path> files, size_t n);

// The union of every stroke's shape; a stroke without one adds nothing.
gfx::Region LoadWholeCharacter(std::span<const StrokeCommand> commands,
                               std::span<const std::filesystem::path> files);

}  // namespace player
