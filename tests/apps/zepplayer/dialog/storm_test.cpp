// Random presses, drops, repaints, saves and closings in quick succession.
// Whatever the order, there is one animation at a time, none after the window
// has closed, and the stroke shown is one that exists. Under ThreadSanitizer
// this also shows that no animation reads a document while it is replaced.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>

#include "dialog_test_host.h"
#include "test_character.h"
#include "zepplayer/dialog.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/player_state.h"

namespace player {
namespace {

namespace fs = std::filesystem;
using dialog_test::FakeHost;

struct ClosedWindow {
    std::unique_ptr<FakeHost> host;
    int calls_at_close;
};

void Storm(uint32_t seed, const fs::path& dir) {
    SCOPED_TRACE(seed);
    const std::vector<fs::path> scripts = {
        dialog_test::WriteCharacter(dir, "bars", "D;W;L,0;", dialog_test::kThreeBars),
        dialog_test::WriteCharacter(dir, "turn", "W;P,0,90,127,127;", {{130, 130, 200, 200}}),
        dir / "bars-00.rgn",
    };
    std::mt19937 random(seed);
    auto pick = [&random](uint32_t n) { return static_cast<uint32_t>(random() % n); };
    auto client = gfx::Bitmap::Create(300, 280, gfx::PixelFormat::Rgb32);
    std::vector<ClosedWindow> closed;
    auto host = std::make_unique<FakeHost>();
    host->SetSavePath(dir / "storm.bmp");
    OnInitDialog(*host, scripts[0]);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    for (int event = 0; event < 400 && std::chrono::steady_clock::now() < deadline; ++event) {
        switch (pick(10)) {
            case 0:
            case 1: OnCommand(kIdPlay); break;
            case 2: OnCommand(kIdStop); break;
            case 3: OnCommand(kIdNext); break;
            case 4: OnCommand(kIdPrevious); break;
            case 5: OnDropFiles({scripts[pick(3)], scripts[0]}); break;
            case 6: OnPaint(*client, {0, 0, 300, 280}); break;
            case 7: OnCommand(kIdSaveBmp); break;
            case 8: {
                OnDestroy();
                closed.push_back({std::move(host), 0});
                closed.back().calls_at_close = closed.back().host->AnimationCalls();
                host = std::make_unique<FakeHost>();
                host->SetSavePath(dir / "storm.bmp");
                OnInitDialog(*host, scripts[pick(2)]);
                break;
            }
            default: std::this_thread::sleep_for(std::chrono::milliseconds(pick(4))); break;
        }
        ASSERT_FALSE(host->Overlapped()) << "event " << event;
        const int32_t shown = ShownStroke.load();
        ASSERT_TRUE(shown == -1 || shown == 0 || static_cast<size_t>(shown) < RegionFiles.size())
            << "event " << event << ": stroke " << shown;
    }
    OnDestroy();
    for (const ClosedWindow& window : closed) EXPECT_EQ(window.host->AnimationCalls(), window.calls_at_close);
    EXPECT_FALSE(host->Overlapped());
    EXPECT_EQ(FrameBitmap.Current(), nullptr);
}

TEST(DialogStorm, RandomEventsKeepTheRules) {
    const fs::path dir = fs::temp_directory_path() / "zep_dialog_storm";
    fs::remove_all(dir);
    for (const uint32_t seed : {1u, 2u, 3u}) {
        dialog_test::ResetPlayer();
        Storm(seed, dir);
    }
    dialog_test::ResetPlayer();
    fs::remove_all(dir);
}

}  // namespace
}  // namespace player
