// A look-up: the learner draws a character on the empty canvas and the
// recogniser proposes what it may be. Plain state and its steps; the dialog
// drives them and calls the recogniser.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "gfx/geometry.h"
#include "practice/ink.h"
#include "zepplayer/dialog.h"

namespace player {

// How many candidates the tool window offers.
inline constexpr size_t kLookupCandidates = 10;

struct LookupSession {
    // The strokes drawn so far, in order.
    std::vector<practice::Ink> strokes;
    // The stroke being drawn, in canvas pixels; empty between strokes.
    std::vector<gfx::PointF> ink;
    bool writing = false;
    std::vector<std::string> candidates;
};

// The pointer went down on the canvas, moved, and came up. Up returns
// whether the strokes changed: a tap adds no stroke.
void BeginLookupInk(LookupSession& session, gfx::PointF at);
void ExtendLookupInk(LookupSession& session, gfx::PointF at);
bool FinishLookupInk(LookupSession& session, gfx::PointF at);

// Both return whether the strokes changed.
bool UndoLookupStroke(LookupSession& session);
bool ClearLookup(LookupSession& session);

// The tool window for the session: its status says what to do next, or
// that the recogniser is still loading (ready false).
[[nodiscard]] LookupPanel PanelFor(const LookupSession& session, bool ready);

}  // namespace player
