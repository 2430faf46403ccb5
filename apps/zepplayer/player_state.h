// The player's shared state, in one place.
//
// Two threads meet here: the dialog's (loading, buttons, painting, saving)
// and, while an animation plays, the animation thread.
//
// - ShownStroke is an atomic and Playing a flag of atomic value that either
//   thread may set at any time; clearing Playing wakes the animation's pause.
// - FrameBitmap hands finished frames over: the animation draws a frame into
//   a bitmap of its own, then publishes it as an immutable snapshot; painting
//   takes the last one published. Nobody writes a published bitmap.
// - Commands and RegionFiles are plain vectors that only the dialog's thread
//   replaces. The dialog stops a running animation and waits for its thread
//   before it loads, so the animation reads them in place without a lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "animation/frame_slot.h"
#include "animation/playing_flag.h"
#include "gfx/bitmap.h"
#include "zep/canvas.h"
#include "zep/script.h"

namespace player {

// The loaded script; empty when nothing is loaded.
extern std::vector<StrokeCommand> Commands;
// Entry n holds the shape of stroke n; at most kMaxRegionFiles entries.
extern std::vector<std::filesystem::path> RegionFiles;
// The path of the loaded script as it was given, for the save dialog to
// propose a name from; empty when none is loaded. Only the dialog's thread
// uses it.
extern std::filesystem::path ScriptPath;
// The one stroke shown in step mode (an index into RegionFiles), or -1.
extern std::atomic<int32_t> ShownStroke;
// 1 while an animation may go on; the animation stops when it finds 0.
extern PlayingFlag Playing;
// The animation's current frame, or none.
extern FrameSlot FrameBitmap;

}  // namespace player
