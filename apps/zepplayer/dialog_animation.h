// What the dialog's handler files share: the window and the one animation
// thread, which plays the whole character for Play and single strokes for
// practice. All of it is for the dialog's thread, except PlayInWindow, which
// is the animation thread's.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"
#include "zep/script.h"
#include "zepplayer/dialog.h"

namespace player {

// Set by OnInitDialog, cleared by OnDestroy once no animation runs. The
// animation thread reads it, but only between its start and its join.
extern DialogHost* DialogWindow;

// Afterwards no animation thread runs: nothing reads the document or the
// window, and Playing is 0.
void StopAnimation();

// Takes the animation's frame off the canvas for good, and Playing to 0.
void ClearFrame();

// Stops the running animation, sets Playing to 1 and runs body on a new
// animation thread. Without a thread, Playing is 0 again and the window is
// repainted.
void StartAnimationThread(std::function<void()> body);

// Plays commands with their region files into the window's canvas.
void PlayInWindow(std::span<const StrokeCommand> commands,
                  std::span<const std::filesystem::path> region_files);

// Practice's side of the other handlers: a button, Esc or a load leaves it.
void LeavePractice();
// While practising, draws the canvas as practice shows it and returns the
// counter's text; none otherwise.
[[nodiscard]] std::optional<std::string> ComposePracticeCanvas(gfx::Bitmap& target,
                                                               const gfx::Rect& area);

// Look-up's side of them: the same, and the pointer while looking up.
void LeaveLookup();
[[nodiscard]] bool LookingUp();
[[nodiscard]] std::optional<std::string> ComposeLookupCanvas(gfx::Bitmap& target,
                                                             const gfx::Rect& area);
void LookupPointerDown(gfx::PointF at);
void LookupPointerMove(gfx::PointF at);
void LookupPointerUp(gfx::PointF at);
// Waits for the recogniser's load, if one runs, and forgets the recogniser.
void EndLookup();

}  // namespace player
