// The dialog's practice handlers: entering and leaving practice, the pointer,
// the moment after each stroke, and the hints and the final playing on the
// animation thread.
#include <charconv>
#include <optional>
#include <span>
#include <system_error>
#include <utility>

#include "zepplayer/dialog.h"
#include "zepplayer/dialog_animation.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/ink_trail.h"
#include "zepplayer/player_state.h"
#include "zepplayer/practice_canvas.h"
#include "zepplayer/practice_mode.h"

namespace player {

namespace {

// How long an accepted stroke stays red, and a mistake's ink.
constexpr int32_t kAcceptedFlashMs = 400;
constexpr int32_t kMistakeFlashMs = 600;

// Only the dialog's thread touches these.
std::optional<PracticeSession> Session;
practice::Mode LastMode = practice::Mode::Trace;

void RepaintCanvas() { DialogWindow->RequestRepaint(RepaintArea::Canvas, false); }

// Ends the hint or the final playing; Play's own animation is not practice's.
void StopPracticeAnimation() {
    if (!Session || Session->animation == PracticeAnimation::None) return;
    StopAnimation();
    ClearFrame();
    Session->animation = PracticeAnimation::None;
}

void Start(practice::Mode mode) {
    std::optional<PracticeSession> fresh = StartSession(mode, Commands, RegionFiles);
    if (!fresh) return;
    // The canvas is practice's now: no look-up, no animation, no step.
    LeaveLookup();
    StopAnimation();
    ClearFrame();
    ShownStroke = -1;
    Session = std::move(fresh);
    LastMode = mode;
    DialogWindow->RequestRepaint(RepaintArea::Client, true);
}

// The engine on the one command that reveals the stroke.
void PlayHint(size_t stroke) {
    const size_t command = practice::CommandOfStroke(*Session->model, stroke);
    if (command >= Commands.size() || stroke >= RegionFiles.size()) return;
    StopPracticeAnimation();
    Session->animation = PracticeAnimation::Hint;
    StartAnimationThread([command, stroke] {
        PlayInWindow(std::span(Commands).subspan(command, 1),
                     std::span(RegionFiles).subspan(stroke, 1));
        Playing = 0;
        DialogWindow->RequestRepaint(RepaintArea::Canvas, true);
    });
}

void PlayWhole() {
    StopPracticeAnimation();
    Session->animation = PracticeAnimation::Whole;
    StartAnimationThread(AnimationThread);
}

}  // namespace

void LeavePractice() {
    if (!Session) return;
    StopPracticeAnimation();
    Session.reset();
    DialogWindow->RequestRepaint(RepaintArea::Client, true);
}

std::optional<std::string> ComposePracticeCanvas(gfx::Bitmap& target, const gfx::Rect& area) {
    if (!Session) return std::nullopt;
    const std::shared_ptr<const gfx::Bitmap> frame = FrameBitmap.Current();
    return ComposePractice(target, area, *Session, frame.get());
}

void OnEscape() {
    if (Session) {
        LeavePractice();
    } else if (LookingUp()) {
        LeaveLookup();
    } else {
        OnCommand(kIdCancel);
    }
}

void OnPractice(PracticeAction action) {
    switch (action) {
        case PracticeAction::Start:
            Start(LastMode);
            break;
        case PracticeAction::Trace:
            Start(practice::Mode::Trace);
            break;
        case PracticeAction::Recall:
            Start(practice::Mode::Recall);
            break;
        case PracticeAction::Leave:
            LeavePractice();
            break;
    }
}

PracticeStatus CurrentPractice() {
    PracticeStatus status;
    status.active = Session.has_value();
    status.recall = (Session ? Session->mode : LastMode) == practice::Mode::Recall;
    status.available = !Commands.empty() && !RegionFiles.empty();
    return status;
}

void OnPointerDown(gfx::PointF at) {
    if (LookingUp()) return LookupPointerDown(at);
    if (!Session || !OnCanvas(at)) return;
    // Once every stroke is written, the next stroke starts the character anew.
    if (SessionComplete(*Session)) {
        Start(Session->mode);
        // Its files may have changed on disk since.
        if (SessionComplete(*Session)) return;
    }
    BeginInk(*Session, at);
    RepaintCanvas();
}

void OnPointerMove(gfx::PointF at) {
    if (LookingUp()) return LookupPointerMove(at);
    if (!Session || !Session->writing) return;
    ExtendInk(*Session, at);
    RepaintCanvas();
}

void OnPointerUp(gfx::PointF at) {
    if (LookingUp()) return LookupPointerUp(at);
    if (!Session || !Session->writing) return;
    const StrokeOutcome outcome = FinishInk(*Session, at);
    RepaintCanvas();
    if (!outcome.judged) return;
    if (outcome.accepted) {
        // A hint for the stroke just written has said its piece.
        if (Session->animation == PracticeAnimation::Hint) StopPracticeAnimation();
        DialogWindow->PlayClick();
        DialogWindow->StartTimer(kAcceptedFlashMs);
        return;
    }
    DialogWindow->StartTimer(kMistakeFlashMs);
    if (outcome.hint) PlayHint(*outcome.hint);
}

void OnTimer() {
    if (!Session) return;
    EndFlash(*Session);
    RepaintCanvas();
    // The last stroke has had its moment: the whole character plays.
    if (SessionComplete(*Session) && Session->animation != PracticeAnimation::Whole) PlayWhole();
}

std::string CounterTip(const std::string& counter) {
    if (Session && !Session->note.empty()) return Session->note;
    // Once practice is over the counter holds the mistakes, not a stroke.
    if (Session && SessionComplete(*Session)) return {};
    size_t stroke = 0;
    const char* end = counter.data() + counter.size();
    const auto [stop, error] = std::from_chars(counter.data(), end, stroke);
    if (counter.empty() || error != std::errc() || stop != end) return {};
    const size_t total = Session ? Session->shapes.size() : RegionFiles.size();
    return std::to_string(stroke + 1) + " / " + std::to_string(total) + " strokes";
}

}  // namespace player
