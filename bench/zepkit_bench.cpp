// The importer's cost per stroke, which decides how long the import of the
// whole set of 2,941 characters (about 32,000 strokes) takes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "zepkit/sweep_choice.h"

namespace {

// A curved stroke 18 pixels wide, a quarter circle of radius 70, about the
// size of a stroke in a character of ten strokes.
struct CurvedStroke {
    gfx::Region shape;
    zepkit::Polyline median;
    CurvedStroke() {
        for (int a = 0; a <= 90; a += 10) {
            const double r = a * std::numbers::pi / 180;
            median.push_back({60 + 70 * std::cos(r), 60 + 70 * std::sin(r)});
        }
        for (int32_t y = 60; y < 140; ++y) {
            for (int32_t x = 60; x < 140; ++x) {
                const double d = std::hypot(x + 0.5 - 60, y + 0.5 - 60);
                if (d >= 61 && d < 79) shape.AddRect({x, y, x + 1, y + 1});
            }
        }
    }
};

void BM_ChooseSweep(benchmark::State& state) {
    const CurvedStroke stroke;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zepkit::ChooseSweep(stroke.shape, stroke.median));
    }
}
BENCHMARK(BM_ChooseSweep)->Unit(benchmark::kMillisecond);

}  // namespace
