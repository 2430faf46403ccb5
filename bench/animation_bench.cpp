// The player's drawing: one sweep frame, an idle repaint that reads every
// stroke's file, and a whole animation's drawing time against its pauses.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "animation/compose.h"
#include "animation/engine.h"
#include "animation/engine_geometry.h"
#include "animation/recording_effects.h"
#include "gfx/region.h"
#include "picture/trace.h"
#include "zep/region_encode.h"
#include "zep/script.h"

namespace {

namespace fs = std::filesystem;

// A brush stroke: a quadrilateral 12 pixels thick between two points.
gfx::Region Stroke(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    const int32_t ox = steep ? 6 : 0;
    const int32_t oy = steep ? 0 : 6;
    const gfx::Point corners[] = {{x0 - ox, y0 - oy}, {x1 - ox, y1 - oy}, {x1 + ox, y1 + oy}, {x0 + ox, y0 + oy}};
    return gfx::Region::Polygon(corners);
}

// A character of 30 strokes, written as region files "<dir>/bench-NN.rgn".
struct Character {
    fs::path dir = fs::temp_directory_path() / "zep_animation_bench";
    std::vector<gfx::Region> strokes;
    std::vector<fs::path> files;

    Character() {
        fs::create_directories(dir);
        for (int32_t i = 0; i < 30; ++i) {
            const int32_t k = i % 10 * 22 + 20;
            strokes.push_back(i < 10   ? Stroke(15, k, 240, k + 8)
                              : i < 20 ? Stroke(k, 15, k - 8, 240)
                                       : Stroke(20 + k / 2, 20, 230, 120 + k / 2));
            std::vector<uint8_t> bytes;
            rgn::EncodeRegion(bytes, strokes.back());
            char name[32];
            std::snprintf(name, sizeof name, "bench-%02d.rgn", i);
            const fs::path file = dir / name;
            std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                        static_cast<std::streamsize>(bytes.size()));
            files.push_back(file);
        }
    }
    ~Character() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
};

// One frame as the engine draws it: shape, intersection with the stroke,
// red fill into the run's canvas, and the published copy.
void Frame(gfx::Bitmap& canvas, const gfx::MaybeRegion& shape, const gfx::MaybeRegion& stroke) {
    gfx::MaybeRegion part = gfx::Region();
    gfx::CombineRegions(part, shape, stroke, gfx::CombineMode::And);
    canvas.FillRegion(*part, gfx::kRed);
    benchmark::DoNotOptimize(std::make_shared<const gfx::Bitmap>(canvas));
}

void BM_BandFrame(benchmark::State& state) {
    const gfx::MaybeRegion stroke = Stroke(30, 40, 220, 200);
    auto canvas = *gfx::Bitmap::Create(254, 254, gfx::PixelFormat::Rgb32);
    int32_t t = player::kFirstBand;
    for (auto _ : state) {
        Frame(canvas, gfx::Region::Polygon(player::BandCorners(30, t)), stroke);
        t = t + player::kBandStep < player::kBandLimit ? t + player::kBandStep : player::kFirstBand;
    }
}
BENCHMARK(BM_BandFrame)->Unit(benchmark::kMicrosecond);

void BM_SliceFrame(benchmark::State& state) {
    const gfx::MaybeRegion stroke = Stroke(30, 40, 220, 200);
    auto canvas = *gfx::Bitmap::Create(254, 254, gfx::PixelFormat::Rgb32);
    int64_t angle = 0;
    for (auto _ : state) {
        Frame(canvas, gfx::Region::Polygon(player::SliceCorners(angle, angle + 5, 60, 127)), stroke);
        angle = (angle + 5) % 360;
    }
}
BENCHMARK(BM_SliceFrame)->Unit(benchmark::kMicrosecond);

void BM_IdleRepaint30Strokes(benchmark::State& state) {
    const Character character;
    const std::vector<player::StrokeCommand> commands(character.strokes.size(), {player::CommandKind::Draw});
    auto target = *gfx::Bitmap::Create(320, 300, gfx::PixelFormat::Rgb32);
    const player::CanvasState picture{commands, character.files, -1, nullptr};
    for (auto _ : state) {
        benchmark::DoNotOptimize(player::ComposeFrame(target, {0, 0, 320, 300}, picture));
    }
}
BENCHMARK(BM_IdleRepaint30Strokes)->Unit(benchmark::kMicrosecond);

void BM_AnimationDrawingShare(benchmark::State& state) {
    const Character character;
    std::string script;
    for (int i = 0; i < 30; ++i) {
        script += i % 3 == 0 ? "L,20;" : i % 3 == 1 ? "P,0,360,127,127;W;" : "D;";
    }
    const std::vector<player::StrokeCommand> commands = player::ParseScript(script);
    double drawing_ms = 0;
    int64_t nominal_ms = 0;
    for (auto _ : state) {
        player::PlayingFlag playing(1);
        player::RecordingEffects recorder(playing);
        recorder.KeepFrames(false);
        const auto start = std::chrono::steady_clock::now();
        player::RunAnimation(commands, character.files, playing, recorder);
        drawing_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        nominal_ms += recorder.now();
    }
    state.counters["nominal_ms"] = static_cast<double>(nominal_ms) / static_cast<double>(state.iterations());
    state.counters["drawing_pct"] = 100 * drawing_ms / static_cast<double>(nominal_ms);
}
BENCHMARK(BM_AnimationDrawingShare)->Unit(benchmark::kMillisecond);

}  // namespace
