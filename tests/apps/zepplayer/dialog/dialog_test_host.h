// A window for the dialog's tests: it records what the dialog asks of it,
// from either thread, and pauses 50 times faster than the real one.
#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "zepplayer/dialog.h"

namespace dialog_test {

// Empties the document and the animation state.
void ResetPlayer();

// Polls until done() holds, for at most five seconds.
bool WaitFor(const std::function<bool()>& done);

class FakeHost : public player::DialogHost {
public:
    struct Repaint {
        player::RepaintArea area;
        bool erase;
        bool from_animation;
        bool frame_shown;  // an animation frame was on the canvas when asked
    };

    void RequestRepaint(player::RepaintArea area, bool erase) override;
    void SetCounterText(const std::string& text) override;
    void EndDialog(int32_t result) override;
    std::optional<player::SaveChoice> AskSavePath() override;
    void PlayClick() override;
    void BringToFront() override;
    void Sleep(int32_t ms) override;
    void PauseAnimation(int32_t ms, const player::PlayingFlag& playing) override;
    // Recorded only: a test calls OnTimer itself, in no time at all.
    void StartTimer(int32_t ms) override;
    void ShowLookup(const player::LookupPanel& panel) override;
    // Counted only: a test calls OnLookupReady itself.
    void PostLookupReady() override { ++ready_posts_; }

    // The first pause of ms that the animation takes lasts until Release or
    // until the animation is stopped.
    void HoldAnimationAtPause(int32_t ms);
    bool WaitUntilHeld();
    void Release();

    // Answers of the save dialog.
    void SetSavePath(std::optional<std::filesystem::path> path);

    std::vector<Repaint> Repaints() const;
    std::string Counter() const;
    void SetCounter(const std::string& text);
    std::vector<int32_t> Ended() const;
    std::vector<int32_t> DialogSleeps() const;
    int SaveAsked() const;
    std::vector<int32_t> Timers() const;
    player::LookupPanel Panel() const;
    int ReadyPosts() const { return ready_posts_; }
    int Clicks() const { return clicks_; }
    int Fronts() const { return fronts_; }
    int AnimationCalls() const { return animation_calls_; }
    int AnimationPauses() const { return animation_pauses_; }
    // Two animations were pausing at the same time.
    bool Overlapped() const { return overlapped_; }

private:
    // Counts a call from the animation thread; true for those.
    bool FromAnimation();

    const std::thread::id dialog_thread_ = std::this_thread::get_id();
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Repaint> repaints_;
    std::string counter_;
    std::vector<int32_t> ended_;
    std::vector<int32_t> dialog_sleeps_;
    std::vector<int32_t> timers_;
    player::LookupPanel panel_;
    std::atomic<int> ready_posts_{0};
    std::optional<std::filesystem::path> save_path_;
    int save_asked_ = 0;
    int32_t hold_at_ = -1;
    bool held_ = false;
    bool released_ = false;
    std::atomic<int> clicks_{0};
    std::atomic<int> fronts_{0};
    std::atomic<int> animation_calls_{0};
    std::atomic<int> animation_pauses_{0};
    std::atomic<int> animations_pausing_{0};
    std::atomic<bool> overlapped_{false};
};

}  // namespace dialog_test
