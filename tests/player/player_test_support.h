// Shared helpers of the player core's tests: a scratch folder, region files
// written from pixel sets, a clean shared state, and an effects recorder that
// keeps the animation's timeline on a simulated clock.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gfx/bitmap.h"
#include "gfx/region.h"
#include "player/engine.h"

namespace player_test {

namespace fs = std::filesystem;

// A fresh folder per test, removed at its end.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const fs::path& path() const { return path_; }
    fs::path Write(const std::string& name, const std::string& bytes) const;

private:
    fs::path path_;
};

// The bytes of a region file (rows) holding exactly the region's pixels,
// which must fit a box of at most 254 by 254 starting on the canvas.
std::string RegionFileBytes(const gfx::Region& region);

// Empties the document, clears the frame and sets Playing.
void ResetPlayerState(int32_t playing = 1);

enum class EventKind { Sleep, Click, Frame, Repaint, Front, End };

struct Event {
    int64_t time;
    EventKind kind;
    int32_t value;                                // ms of a Sleep, erase flag of a Repaint
    std::shared_ptr<const gfx::Bitmap> frame;     // of a Frame
    uint64_t checksum;                            // of the frame when it was published
};

class Recorder : public player::AnimationEffects {
public:
    // Playing is cleared once the clock reaches this time (the press of Stop).
    int64_t stop_at = -1;
    // Long runs keep no pictures; checksums show that frames stay unchanged.
    bool keep_frames = true;
    bool checksum_frames = false;
    int64_t now = 0;
    std::vector<Event> events;

    void Sleep(int32_t ms) override;
    void PlayClick() override { events.push_back({now, EventKind::Click, 0, nullptr, 0}); }
    void PublishFrame(std::shared_ptr<const gfx::Bitmap> frame) override;
    void RequestRepaint(bool erase) override { events.push_back({now, EventKind::Repaint, erase, nullptr, 0}); }
    void BringToFront() override { events.push_back({now, EventKind::Front, 0, nullptr, 0}); }

    std::vector<const Event*> Of(EventKind kind) const;
    std::vector<int64_t> TimesOf(EventKind kind) const;
};

uint64_t Checksum(const gfx::Bitmap& bitmap);
// The pixels of that colour within the canvas.
gfx::Region PixelsOf(const gfx::Bitmap& bitmap, gfx::Color color);

}  // namespace player_test
