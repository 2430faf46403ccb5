// The canvas while looking up: the strokes drawn so far on an empty canvas.
#pragma once

#include "gfx/bitmap.h"
#include "gfx/geometry.h"
#include "zepplayer/lookup_mode.h"

namespace player {

// Fills area gray and draws the session on the canvas at target's top left
// corner: the strokes drawn in black, the one being drawn in ink.
void ComposeLookup(gfx::Bitmap& target, const gfx::Rect& area, const LookupSession& session);

}  // namespace player
