#include "zepplayer/lookup_mode.h"

#include <utility>

#include "zepplayer/ink_trail.h"

namespace player {

void BeginLookupInk(LookupSession& session, gfx::PointF at) {
    session.ink.assign(1, at);
    session.writing = true;
}

void ExtendLookupInk(LookupSession& session, gfx::PointF at) {
    if (session.writing) ExtendTrail(session.ink, at);
}

bool FinishLookupInk(LookupSession& session, gfx::PointF at) {
    if (!session.writing) return false;
    ExtendTrail(session.ink, at);
    session.writing = false;
    const std::vector<gfx::PointF> ink = std::move(session.ink);
    session.ink.clear();
    // A tap is no stroke to the recogniser, and would only take an undo.
    if (ink.size() < 2) return false;
    session.strokes.push_back(TrailInk(ink));
    return true;
}

bool UndoLookupStroke(LookupSession& session) {
    if (session.strokes.empty()) return false;
    session.strokes.pop_back();
    return true;
}

bool ClearLookup(LookupSession& session) {
    if (session.strokes.empty()) return false;
    session.strokes.clear();
    return true;
}

LookupPanel PanelFor(const LookupSession& session, bool ready) {
    LookupPanel panel;
    panel.shown = true;
    panel.active = true;
    panel.can_undo = !session.strokes.empty();
    if (!ready) {
        panel.status = "Loading the handwriting model...";
    } else if (session.strokes.empty()) {
        panel.status = "Draw a kanji on the canvas";
    } else if (session.candidates.empty()) {
        panel.status = "No match: go on drawing, or undo";
    } else {
        panel.status = "Pick the kanji, or go on drawing";
        panel.candidates = session.candidates;
    }
    return panel;
}

}  // namespace player
