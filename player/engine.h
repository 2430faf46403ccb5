// The stroke-order animation: plays Commands once over the whole character,
// painting the strokes red one after the other.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/bitmap.h"

namespace player {

// What the animation does to the world besides drawing. The program passes
// the real ones; tests pass recorders that keep a timeline in zero wall time.
struct AnimationEffects {
    virtual ~AnimationEffects() = default;
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

// Plays Commands with the shapes of RegionFiles, reading both in place.
// Returns when the animation is over, or early at the first check that finds
// Playing at 0: before the first command, after each Wait's pause, before each
// band or slice of a sweep. Either way the last frame published is null.
// Always returns 0.
int32_t RunAnimation(AnimationEffects& effects);

}  // namespace player
