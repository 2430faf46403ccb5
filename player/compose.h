// The picture the player shows: the animation's frame, the whole character,
// one stroke in step mode, or the prompt to drop a file.
#pragma once

#include <string>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"

namespace player {

inline constexpr char kDropPrompt[] = "Drop a ZEP file";

// Fills area gray and draws the current picture on the canvas at target's
// top left corner, from the shared state as it is now. Returns the text of
// the stroke counter beside the canvas: the number ShownStroke in step mode,
// empty otherwise. Region files are read anew at every call.
std::string ComposeFrame(gfx::Bitmap& target, const gfx::Rect& area);

}  // namespace player
