// The picture the player shows: the animation's frame, the whole character,
// one stroke in step mode, or the prompt to drop a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"
#include "zep/script.h"

namespace player {

inline constexpr char kDropPrompt[] = "Drop a ZEP file";

// Everything the picture follows from. The lists are read in place.
struct CanvasState {
    std::span<const StrokeCommand> commands;
    std::span<const std::filesystem::path> region_files;
    // The one stroke of step mode (an index into region_files), or -1.
    int32_t shown_stroke = -1;
    // The animation's current frame, or none.
    std::shared_ptr<const gfx::Bitmap> frame;
};

// Fills area gray and draws the picture of state on the canvas at target's
// top left corner. Returns the text of the stroke counter beside the canvas:
// the number of the stroke shown in step mode, empty otherwise. Region files
// are read anew at every call.
std::string ComposeFrame(gfx::Bitmap& target, const gfx::Rect& area, const CanvasState& state);

}  // namespace player
