// The canvas while practising: the character in light grey when tracing, the
// accepted strokes in their own shapes, the ink being written, the moment's
// flash, a hint's sweep and the note on the last stroke.
#pragma once

#include <string>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"
#include "zepplayer/practice_mode.h"

namespace player {

// Fills area gray and draws the session on the canvas at target's top left
// corner. frame is the last frame of practice's animation, or null. Returns
// the counter's text: the number of the stroke to write next, or once all are
// written the number of mistakes.
std::string ComposePractice(gfx::Bitmap& target, const gfx::Rect& area,
                            const PracticeSession& session, const gfx::Bitmap* frame);

}  // namespace player
