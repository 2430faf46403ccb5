#include "dialog_test_host.h"

#include <chrono>

#include "zepplayer/player_state.h"

namespace dialog_test {

namespace {

constexpr auto kPatience = std::chrono::seconds(5);
// A paused millisecond lasts this long.
constexpr int64_t kMicrosecondsPerPause = 20;

}  // namespace

void ResetPlayer() {
    player::Commands.clear();
    player::RegionFiles.clear();
    player::ScriptPath.clear();
    player::ShownStroke = -1;
    player::Playing = 0;
    player::FrameBitmap.Clear();
}

bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool FakeHost::FromAnimation() {
    if (std::this_thread::get_id() == dialog_thread_) return false;
    ++animation_calls_;
    return true;
}

void FakeHost::RequestRepaint(player::RepaintArea area, bool erase) {
    const bool animation = FromAnimation();
    const bool frame_shown = player::FrameBitmap.Current() != nullptr;
    const std::lock_guard lock(mutex_);
    repaints_.push_back({area, erase, animation, frame_shown});
}

void FakeHost::SetCounterText(const std::string& text) { SetCounter(text); }

void FakeHost::EndDialog(int32_t result) {
    const std::lock_guard lock(mutex_);
    ended_.push_back(result);
}

std::optional<player::SaveChoice> FakeHost::AskSavePath() {
    const std::lock_guard lock(mutex_);
    ++save_asked_;
    if (!save_path_) return std::nullopt;
    return player::SaveChoice{*save_path_};
}

void FakeHost::PlayClick() {
    FromAnimation();
    ++clicks_;
}

void FakeHost::BringToFront() {
    FromAnimation();
    ++fronts_;
}

void FakeHost::Sleep(int32_t ms) {
    {
        const std::lock_guard lock(mutex_);
        dialog_sleeps_.push_back(ms);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(ms * kMicrosecondsPerPause));
}

void FakeHost::PauseAnimation(int32_t ms, const player::PlayingFlag& playing) {
    FromAnimation();
    ++animation_pauses_;
    if (++animations_pausing_ > 1) overlapped_ = true;
    std::unique_lock lock(mutex_);
    if (ms == hold_at_ && !held_) {
        held_ = true;
        changed_.notify_all();
        // A stop ends the hold as it ends a real pause.
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!released_ && playing.load() != 0 && std::chrono::steady_clock::now() < deadline) {
            changed_.wait_for(lock, std::chrono::milliseconds(1));
        }
    } else {
        lock.unlock();
        playing.Pause(std::chrono::microseconds(ms * kMicrosecondsPerPause));
    }
    --animations_pausing_;
}

void FakeHost::StartTimer(int32_t ms) {
    const std::lock_guard lock(mutex_);
    timers_.push_back(ms);
}

void FakeHost::ShowLookup(const player::LookupPanel& panel) {
    const std::lock_guard lock(mutex_);
    panel_ = panel;
}

player::LookupPanel FakeHost::Panel() const {
    const std::lock_guard lock(mutex_);
    return panel_;
}

std::vector<int32_t> FakeHost::Timers() const {
    const std::lock_guard lock(mutex_);
    return timers_;
}

void FakeHost::HoldAnimationAtPause(int32_t ms) {
    const std::lock_guard lock(mutex_);
    hold_at_ = ms;
}

bool FakeHost::WaitUntilHeld() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [this] { return held_; });
}

void FakeHost::Release() {
    const std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
}

void FakeHost::SetSavePath(std::optional<std::filesystem::path> path) {
    const std::lock_guard lock(mutex_);
    save_path_ = std::move(path);
}

std::vector<FakeHost::Repaint> FakeHost::Repaints() const {
    const std::lock_guard lock(mutex_);
    return repaints_;
}

std::string FakeHost::Counter() const {
    const std::lock_guard lock(mutex_);
    return counter_;
}

void FakeHost::SetCounter(const std::string& text) {
    const std::lock_guard lock(mutex_);
    counter_ = text;
}

std::vector<int32_t> FakeHost::Ended() const {
    const std::lock_guard lock(mutex_);
    return ended_;
}

std::vector<int32_t> FakeHost::DialogSleeps() const {
    const std::lock_guard lock(mutex_);
    return dialog_sleeps_;
}

int FakeHost::SaveAsked() const {
    const std::lock_guard lock(mutex_);
    return save_asked_;
}

}  // namespace dialog_test
