// How long closing the window waits for a running animation: the animation
// is stopped at a different moment of each run, in a script of Draws, one of
// Waits and one of sweeps, with the real pauses. The goal is one frame time
// (35 ms) at most; max_ms is the longest wait seen. And how long practice
// takes to show the ink after a pointer move.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "gfx/bitmap.h"
#include "zepplayer/dialog.h"
#include "zepplayer/dialog_layout.h"

namespace {

namespace fs = std::filesystem;

struct QuietWindow : player::DialogHost {
    void RequestRepaint(player::RepaintArea, bool) override {}
    void SetCounterText(const std::string&) override {}
    void EndDialog(int32_t) override {}
    std::optional<player::SaveChoice> AskSavePath() override { return std::nullopt; }
    void PlayClick() override {}
    void BringToFront() override {}
    void StartTimer(int32_t) override {}
};

// A script beside one region file: a bar across the canvas.
fs::path WriteScript(const std::string& name, const std::string& script) {
    const fs::path dir = fs::temp_directory_path() / "zep_dialog_bench";
    fs::create_directories(dir);
    std::string bar = {'h', 20, 100, static_cast<char>(200), 20};
    for (int row = 0; row < 20; ++row) bar += {'\0', static_cast<char>(200), '\xFF'};
    std::ofstream(dir / (name + "-00.rgn"), std::ios::binary) << bar;
    std::ofstream(dir / (name + ".zep"), std::ios::binary) << script;
    return dir / (name + ".zep");
}

std::string Repeat(const std::string& command, int times) {
    std::string script;
    for (int i = 0; i < times; ++i) script += command;
    return script;
}

void WaitAfterStop(benchmark::State& state, const std::string& name, const std::string& script) {
    const fs::path path = WriteScript(name, script);
    QuietWindow window;
    player::OnInitDialog(window, path);
    double longest_ms = 0;
    int64_t run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        player::OnCommand(player::kIdPlay);
        // Stop 0 to 1.2 s into the run, at a moment that moves by 37 ms.
        std::this_thread::sleep_for(std::chrono::milliseconds(run++ * 37 % 1200));
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        player::OnDestroy();
        const auto waited = std::chrono::steady_clock::now() - start;
        longest_ms = std::max(longest_ms, std::chrono::duration<double, std::milli>(waited).count());
        player::OnInitDialog(window, std::nullopt);
    }
    player::OnDestroy();
    state.counters["max_ms"] = longest_ms;
}

void BM_WaitAfterStopDraws(benchmark::State& state) { WaitAfterStop(state, "draws", Repeat("D;", 200)); }
void BM_WaitAfterStopWaits(benchmark::State& state) { WaitAfterStop(state, "waits", Repeat("W;", 20)); }
void BM_WaitAfterStopSweeps(benchmark::State& state) {
    WaitAfterStop(state, "sweeps", Repeat("L,0;P,0,360,127,127;", 10));
}
BENCHMARK(BM_WaitAfterStopDraws)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_WaitAfterStopWaits)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_WaitAfterStopSweeps)->Unit(benchmark::kMillisecond)->Iterations(30);

// Practice: one pointer move and the repaint it asks for, with a stroke of
// 400 points and more being written over 永 while tracing. Ink shows
// within a frame when this stays well under 16 ms.
void BM_PracticeMoveAndPaint(benchmark::State& state) {
    QuietWindow window;
    player::OnInitDialog(window, fs::path(SAMPLES_DIR) / "ei.zep");
    player::OnPractice(player::PracticeAction::Trace);
    std::optional<gfx::Bitmap> client = gfx::Bitmap::Create(368, 345, gfx::PixelFormat::Rgb32);
    player::OnPointerDown({20.5, 20.5});
    for (int k = 0; k < 400; ++k) player::OnPointerMove({20.5 + k % 200, 20.5 + k / 2.0});
    int k = 0;
    for (auto _ : state) {
        player::OnPointerMove({30.5 + k % 200, 230.5 - k % 190});
        player::OnPaint(*client, {0, 0, 368, 345});
        ++k;
    }
    player::OnDestroy();
}
BENCHMARK(BM_PracticeMoveAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace
