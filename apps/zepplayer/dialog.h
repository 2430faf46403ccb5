// The player dialog's handlers and its animation thread. There is no toolkit
// code here: a window shell turns its window's events into these calls,
// shows what OnPaint draws, and does for the dialog what DialogHost asks.
//
// Every handler runs on the dialog's thread. Play starts one animation
// thread; Play, a load, "<", ">" and the window's end stop it and wait for it
// first, so there is never more than one, and none reads a document that is
// being replaced or a window that is gone. Stopping wakes the animation's
// pause, so that wait lasts at most for the frame being drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "animation/compose.h"
#include "animation/playing_flag.h"
#include "gfx/bitmap.h"
#include "gfx/geometry.h"

namespace player {

enum class RepaintArea { Client, Canvas };

// The look-up's tool window beside the dialog: what it shows now.
struct LookupPanel {
    bool shown = false;
    // Looking up: the canvas takes the learner's strokes. The window may be
    // shown without it, to say why look-up could not start.
    bool active = false;
    std::string status;
    // The best first, UTF-8, at most ten.
    std::vector<std::string> candidates;
    // There are strokes to undo or clear.
    bool can_undo = false;
};

// What Save BMP writes: the canvas as a bitmap file, or an export of the
// loaded character's animation.
enum class SaveKind { Bitmap, AnimatedGif, StrokeSheet };

struct SaveChoice {
    std::filesystem::path path;
    SaveKind kind = SaveKind::Bitmap;
};

// What the dialog needs from its window. The calls marked "any thread" also
// come from the animation thread: they must be safe there and must never wait
// for the dialog's thread, which may itself be waiting for the animation.
struct DialogHost {
    virtual ~DialogHost() = default;
    // Any thread. Erasing matters only to shells that paint in two passes.
    virtual void RequestRepaint(RepaintArea area, bool erase) = 0;
    // The stroke counter beside the canvas.
    virtual void SetCounterText(const std::string& text) = 0;
    virtual void EndDialog(int32_t result) = 0;
    // The save dialog: the path and file type the user chose, or none when
    // cancelled.
    virtual std::optional<SaveChoice> AskSavePath() = 0;
    // Any thread. Starts the short click and returns at once.
    virtual void PlayClick() = 0;
    // Any thread.
    virtual void BringToFront() = 0;
    // The dialog's thread: pauses it for ms. Tests shorten the pauses.
    virtual void Sleep(int32_t ms);
    // The animation thread: pauses it for ms, or until playing is 0 if that
    // comes first. Tests shorten the pauses.
    virtual void PauseAnimation(int32_t ms, const PlayingFlag& playing);
    // The dialog's thread: calls OnTimer once, ms from now. A new start
    // replaces the one pending.
    virtual void StartTimer(int32_t ms) = 0;
    // The dialog's thread: shows, updates or hides the look-up's tool
    // window. A window without look-up has nothing to show.
    virtual void ShowLookup(const LookupPanel& panel);
    // Any thread: calls OnLookupReady on the dialog's thread soon, and
    // returns at once. Only a window that shows look-up is asked.
    virtual void PostLookupReady();
};

// Practice: the learner writes the loaded character stroke by stroke over its
// picture in light grey (Trace) or on an empty canvas (Recall), and each
// stroke is judged. Start takes the mode practised last, Trace at first.
enum class PracticeAction { Start, Trace, Recall, Leave };

struct PracticeStatus {
    bool active = false;
    bool recall = false;
    // A character is loaded that can be practised.
    bool available = false;
};

// What the canvas shows now, from the player's shared state.
[[nodiscard]] CanvasState SharedCanvasState();

// The window exists and is about to be shown; argument is the script named on
// the command line, if any. A script that does not load leaves the player
// empty; the reason comes back (nothing when it loaded or none was named).
std::error_code OnInitDialog(DialogHost& host,
                             const std::optional<std::filesystem::path>& argument);

// Files dropped on the window: the first one is loaded, the rest ignored.
void OnDropFiles(const std::vector<std::filesystem::path>& files);

// A button, Enter (kIdOk) or the close box (kIdCancel); other ids are
// ignored. Play, Stop, "<" and ">" leave practice and look-up first.
void OnCommand(int32_t id);

// Draws the client area (area, with the canvas at its top left corner) into
// target and sets the counter.
void OnPaint(gfx::Bitmap& target, const gfx::Rect& area);

// Esc: leaves practice or look-up, else ends the dialog as kIdCancel.
void OnEscape();

// Ctrl+T and the canvas' context menu. A character that cannot be practised
// changes nothing.
void OnPractice(PracticeAction action);
[[nodiscard]] PracticeStatus CurrentPractice();

// Look-up: Ctrl+L and the canvas' context menu start it, its tool window's
// buttons undo the last stroke (also Ctrl+Z) and clear them all, and Esc,
// the menu or the tool window's close box leave it. Practice and look-up
// take the canvas in turn: starting one leaves the other.
enum class LookupAction { Start, Undo, Clear, Leave };

// Starting loads the recogniser the first time, off the dialog's thread;
// without its files the tool window says why and nothing else changes.
// Leaving shows the character that was shown before.
void OnLookup(LookupAction action);
// The tool window's candidate button n: loads that character, leaving
// look-up, and plays it.
void OnLookupCandidate(size_t n);
// The recogniser's load has ended (see PostLookupReady).
void OnLookupReady();
[[nodiscard]] LookupPanel CurrentLookup();

// The pointer (mouse, pen or touch) on the client area, in canvas pixels. A
// stroke starts on the canvas and is judged (practice) or looked up when the
// pointer is lifted; outside practice and look-up nothing happens.
void OnPointerDown(gfx::PointF at);
void OnPointerMove(gfx::PointF at);
void OnPointerUp(gfx::PointF at);

// The timer that StartTimer asked for.
void OnTimer();

// The counter's tooltip for its text: which stroke of how many, counted as
// people count, or while practising what became of the last stroke.
[[nodiscard]] std::string CounterTip(const std::string& counter);

// The window is going away: stops the animation and waits for its thread,
// and for the recogniser's load.
void OnDestroy();

// The body of the animation thread: plays the animation once, then returns
// the canvas to the still picture.
void AnimationThread();

}  // namespace player
