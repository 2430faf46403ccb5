#include "animation/recording_effects.h"

#include <algorithm>
#include <utility>

namespace player {

void RecordingEffects::Record(EffectKind kind, int32_t value, std::shared_ptr<const gfx::Bitmap> frame) {
    effects_.push_back({now_, kind, value, std::move(frame)});
}

void RecordingEffects::Stop() {
    playing_ = 0;
    stopped_at_ = effects_.size();
}

void RecordingEffects::Sleep(int32_t ms) {
    Record(EffectKind::Sleep, ms);
    if (playing_.load() == 0 || ms <= 0) return;
    if (stop_at_ && now_ + ms >= *stop_at_) {
        now_ = std::max(now_, *stop_at_);
        Stop();
        return;
    }
    now_ += ms;
}

void RecordingEffects::PublishFrame(std::shared_ptr<const gfx::Bitmap> frame) {
    if (!frame) {
        Record(EffectKind::End, 0);
        return;
    }
    Record(EffectKind::Frame, 0, keep_frames_ ? std::move(frame) : nullptr);
    if (stop_after_frames_ && ++frames_ == *stop_after_frames_) Stop();
}

std::vector<const Effect*> RecordingEffects::Of(EffectKind kind) const {
    std::vector<const Effect*> found;
    for (const Effect& e : effects_) {
        if (e.kind == kind) found.push_back(&e);
    }
    return found;
}

std::vector<int64_t> RecordingEffects::TimesOf(EffectKind kind) const {
    std::vector<int64_t> times;
    for (const Effect* e : Of(kind)) times.push_back(e->time);
    return times;
}

std::vector<TimedFrame> RecordingEffects::Frames() const {
    std::vector<TimedFrame> frames;
    for (const Effect& e : effects_) {
        if (e.kind != EffectKind::Frame && e.kind != EffectKind::End) continue;
        if (!frames.empty()) frames.back().duration = e.time - frames.back().shown_at;
        if (e.kind == EffectKind::Frame) frames.push_back({e.frame, e.time, 0});
    }
    return frames;
}

}  // namespace player
