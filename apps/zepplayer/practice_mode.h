// A practice session: the learner writes the loaded character stroke by
// stroke and the judge accepts each stroke or counts a mistake. Plain state
// and its steps; the dialog drives them, keeps the time and runs the hints.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gfx/geometry.h"
#include "gfx/region.h"
#include "practice/judge.h"
#include "zep/script.h"

namespace player {

// What is shown for a moment after a judged stroke.
enum class PracticeFlash { None, Accepted, Mistake };

// What the animation thread plays for practice, if anything.
enum class PracticeAnimation { None, Hint, Whole };

struct PracticeSession {
    practice::Mode mode = practice::Mode::Trace;
    std::shared_ptr<const practice::CharacterModel> model;
    std::optional<practice::Judge> judge;
    // Each stroke's shape, as its region file held it when practice began.
    std::vector<gfx::Region> shapes;
    // The stroke being written, in canvas pixels; empty between strokes.
    std::vector<gfx::PointF> ink;
    bool writing = false;
    PracticeFlash flash = PracticeFlash::None;
    // A mistake's ink, shown red during its flash.
    std::vector<gfx::PointF> mistaken_ink;
    // What became of the last stroke ("backwards", ...), or the result once
    // every stroke is written; empty otherwise.
    std::string note;
    PracticeAnimation animation = PracticeAnimation::None;
};

// What the dialog does once a stroke is judged.
struct StrokeOutcome {
    bool judged = false;  // a tap or a dot is ignored and changes nothing
    bool accepted = false;
    // The stroke whose own sweep plays as a hint, after repeated mistakes on it.
    std::optional<size_t> hint;
};

// A fresh session on the character; none when it cannot be practised (no
// stroke, or a stroke without a readable shape).
std::optional<PracticeSession> StartSession(practice::Mode mode,
                                            std::span<const StrokeCommand> commands,
                                            std::span<const std::filesystem::path> region_files);

// The pointer went down on the canvas, moved, and came up.
void BeginInk(PracticeSession& session, gfx::PointF at);
void ExtendInk(PracticeSession& session, gfx::PointF at);
StrokeOutcome FinishInk(PracticeSession& session, gfx::PointF at);

// The moment after a stroke is over.
void EndFlash(PracticeSession& session);

[[nodiscard]] bool SessionComplete(const PracticeSession& session);

// The judge's frame for the accepted strokes: identity when tracing.
[[nodiscard]] practice::Placement SessionPlacement(const PracticeSession& session);

}  // namespace player
