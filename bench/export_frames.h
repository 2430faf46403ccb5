// The frames of a real animation and the shapes of its strokes, for the
// export benchmarks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "export/gif_encoder.h"
#include "gfx/region.h"

namespace export_bench {

// Every frame that Play shows for the script, each lasting until the next
// one, the last held for hold_ms. Empty when the script does not load.
std::vector<player::TimedFrame> PlayFrames(const std::filesystem::path& script, int32_t hold_ms);

// The shapes of the script's strokes in writing order, a missing one as none.
std::vector<gfx::MaybeRegion> LoadStrokeShapes(const std::filesystem::path& script);

// A character of ten strokes made of three bundled ones (5 + 3 + 2 strokes,
// drawn over each other), written into dir; returns its script.
std::filesystem::path TenStrokeCharacter(const std::filesystem::path& samples,
                                         const std::filesystem::path& dir);

}  // namespace export_bench
