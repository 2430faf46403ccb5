// play_clicks SCRIPT.zep [PLAYS]: opens the player's real window on SCRIPT,
// presses Play PLAYS times (2 unless given), each time waiting for the
// animation to end, and prints how many clicks the animation asked for and,
// on a second line, when (seconds after the first).
// scripts/check-clicks.sh compares that with the clicks a sound server heard.
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#include "zepplayer/dialog_layout.h"
#include "zepplayer/player_state.h"
#include "zepplayer/shell_qt/player_window.h"

namespace {

class CountingWindow : public shell_qt::PlayerWindow {
public:
    using PlayerWindow::PlayerWindow;
    // The animation calls this object's overrides; it has to end first.
    ~CountingWindow() override { player::OnDestroy(); }
    CountingWindow(const CountingWindow&) = delete;
    CountingWindow& operator=(const CountingWindow&) = delete;

    void PlayClick() override {
        {
            const std::lock_guard lock(mutex_);
            clicks_.push_back(std::chrono::steady_clock::now());
        }
        PlayerWindow::PlayClick();
    }
    void PrintClicks() {
        const std::lock_guard lock(mutex_);
        std::printf("%zu\n", clicks_.size());
        for (const auto& click : clicks_) {
            std::printf(" %.3f", std::chrono::duration<double>(click - clicks_.front()).count());
        }
        std::printf("\n");
    }

private:
    std::mutex mutex_;
    std::vector<std::chrono::steady_clock::time_point> clicks_;
};

// Long enough for the last click to sound out.
constexpr int kAfterLastClickMs = 400;

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: play_clicks SCRIPT.zep [PLAYS]\n", stderr);
        return 2;
    }
    const int plays = argc > 2 ? std::atoi(argv[2]) : 2;
    CountingWindow window{std::filesystem::path(argv[1])};
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || player::Commands.empty()) {
        std::fputs("play_clicks: the window did not open with the script\n", stderr);
        return 2;
    }
    auto* play = window.findChild<QPushButton*>(QString::number(player::kIdPlay));
    for (int i = 0; i < plays; ++i) {
        play->click();
        while (player::Playing.load() != 0) QTest::qWait(10);
        QTest::qWait(kAfterLastClickMs);
    }
    window.PrintClicks();
    return 0;
}
