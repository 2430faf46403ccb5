// Effects that act on nothing and record everything, on a clock of their
// own: every pause moves it on at once, so a whole animation is recorded in
// no wall time, each frame and click at the moment the window would show or
// sound it. A stop can be scheduled on that clock; as the window's pauses do,
// the pause it falls in ends there and later pauses take no time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "animation/engine.h"
#include "animation/playing_flag.h"
#include "animation/timed_frame.h"

namespace player {

enum class EffectKind { Sleep, Click, Frame, Repaint, Front, End };

struct Effect {
    int64_t time;  // ms since the animation started
    EffectKind kind;
    int32_t value;                             // ms asked of a Sleep; whether a Repaint erases
    std::shared_ptr<const gfx::Bitmap> frame;  // of a Frame, when frames are kept
};

class RecordingEffects : public AnimationEffects {
public:
    // playing is the flag the animation runs under; a scheduled stop clears it.
    explicit RecordingEffects(PlayingFlag& playing) : playing_(playing) {}

    // Stop at this moment of the clock, or once this many frames were shown.
    void StopAt(int64_t time) { stop_at_ = time; }
    void StopAfterFrames(size_t count) { stop_after_frames_ = count; }
    // Long runs may keep the frames' times only.
    void KeepFrames(bool keep) { keep_frames_ = keep; }

    void Sleep(int32_t ms) override;
    void PlayClick() override { Record(EffectKind::Click, 0); }
    void PublishFrame(std::shared_ptr<const gfx::Bitmap> frame) override;
    void RequestRepaint(bool erase) override { Record(EffectKind::Repaint, erase ? 1 : 0); }
    void BringToFront() override { Record(EffectKind::Front, 0); }

    [[nodiscard]] int64_t now() const { return now_; }
    [[nodiscard]] const std::vector<Effect>& effects() const { return effects_; }
    // The index of the first effect recorded after a scheduled stop, if one came.
    [[nodiscard]] std::optional<size_t> stopped_at() const { return stopped_at_; }
    [[nodiscard]] std::vector<const Effect*> Of(EffectKind kind) const;
    [[nodiscard]] std::vector<int64_t> TimesOf(EffectKind kind) const;
    // Every frame shown, with its time on the canvas.
    [[nodiscard]] std::vector<TimedFrame> Frames() const;

private:
    void Record(EffectKind kind, int32_t value, std::shared_ptr<const gfx::Bitmap> frame = nullptr);
    void Stop();

    PlayingFlag& playing_;
    std::optional<int64_t> stop_at_;
    std::optional<size_t> stop_after_frames_;
    bool keep_frames_ = true;
    int64_t now_ = 0;
    size_t frames_ = 0;
    std::vector<Effect> effects_;
    std::optional<size_t> stopped_at_;
};

}  // namespace player
