// The exports of a ten-stroke character: its animated GIF and its stroke-order
// sheet, from frames and shapes made beforehand.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "export/gif_encoder.h"
#include "export/png_write.h"
#include "export/stroke_sheet.h"
#include "export_frames.h"

namespace {

namespace fs = std::filesystem;

const fs::path kScratch = fs::temp_directory_path() / "zep_export_bench";
constexpr int32_t kHoldMs = 1500;

void BM_EncodeGifTenStrokes(benchmark::State& state) {
    const fs::path script = export_bench::TenStrokeCharacter(SAMPLES_DIR, kScratch);
    const std::vector<player::TimedFrame> frames = export_bench::PlayFrames(script, kHoldMs);
    size_t bytes = 0;
    for (auto _ : state) {
        const std::optional<std::vector<uint8_t>> gif =
            player::EncodeGif(frames, player::GifLoop::Forever);
        bytes = gif ? gif->size() : 0;
    }
    state.counters["frames"] = static_cast<double>(frames.size());
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EncodeGifTenStrokes)->Unit(benchmark::kMillisecond);

void BM_StrokeSheetTenStrokes(benchmark::State& state) {
    const fs::path script = export_bench::TenStrokeCharacter(SAMPLES_DIR, kScratch);
    const std::vector<gfx::MaybeRegion> shapes = export_bench::LoadStrokeShapes(script);
    size_t bytes = 0;
    for (auto _ : state) {
        const std::optional<gfx::Bitmap> sheet = player::DrawStrokeSheet(shapes);
        const std::optional<std::vector<uint8_t>> png = player::EncodePng(*sheet);
        bytes = png ? png->size() : 0;
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_StrokeSheetTenStrokes)->Unit(benchmark::kMillisecond);

}  // namespace
