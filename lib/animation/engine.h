// The stroke-order animation: plays Commands once over the whole character,
// painting the strokes red one after the other.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "animation/playing_flag.h"
#include "gfx/bitmap.h"
#include "zep/script.h"

namespace player {

// What the animation does to the world besides drawing. The program passes
// the real ones; tests pass recorders that keep a timeline in zero wall time.
struct AnimationEffects {
    virtual ~AnimationEffects() = default;
    // Pauses for ms, or less: once the animation's flag is 0 a pause ends at
    // once, and the engine stops at the check that follows it.
    virtual void Sleep(int32_t ms) = 0;
    // Starts the player's short click and returns at once.
    virtual void PlayClick() = 0;
    // Makes frame the one the canvas shows; null when the animation ends.
    // A published frame is never written again.
    virtual void PublishFrame(std::shared_ptr<const gfx::Bitmap> frame) = 0;
    // Asks for the canvas to be repainted, with its background erased or not.
    virtual void RequestRepaint(bool erase) = 0;
    virtual void BringToFront() = 0;
};

// Plays commands with the shapes of region_files, reading both in place: they
// must not change while it runs. Returns when the animation is over, or early
// at the first check that finds playing at 0: before and after the first
// pause, before and after the pause of each Wait, before each Draw, before
// each band or slice of a sweep, and before and after the first pause of the
// end. Every pause is followed by a check before anything more is drawn,
// paused or sounded, so a stop ends the run within the pause it comes in.
// Either way the last frame published is null. Always returns 0.
int32_t RunAnimation(std::span<const StrokeCommand> commands,
                     std::span<const std::filesystem::path> region_files, const PlayingFlag& playing,
                     AnimationEffects& effects);

}  // namespace player
