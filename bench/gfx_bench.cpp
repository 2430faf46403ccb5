// The raster and region library under the loads the programs put on it:
// tracing a whole canvas pixel by pixel, decoding a region file of columns,
// and drawing one frame of a stroke animation.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "gfx/bitmap.h"
#include "gfx/region.h"

namespace {

using gfx::Point;
using gfx::Rect;
using gfx::Region;

constexpr int32_t kSide = 254;

template <class Black>
Region Trace(Black black) {
    Region shape;
    for (int32_t y = 0; y < kSide; ++y) {
        for (int32_t x = 0; x < kSide; ++x) {
            if (black(x, y)) shape.AddRect({x, y, x + 1, y + 1});
        }
    }
    return shape;
}

void BM_TraceCheckerboard(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(Trace([](int32_t x, int32_t y) { return (x + y) % 2 == 0; }));
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_TraceCheckerboard)->Unit(benchmark::kMicrosecond);

void BM_TraceAllBlack(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(Trace([](int32_t, int32_t) { return true; }));
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_TraceAllBlack)->Unit(benchmark::kMicrosecond);

// The same whole-canvas trace through CombineRegions, one region per pixel.
void BM_TraceAllBlackByCombine(benchmark::State& state) {
    for (auto _ : state) {
        gfx::MaybeRegion shape = Region();
        for (int32_t y = 0; y < kSide; ++y) {
            for (int32_t x = 0; x < kSide; ++x) {
                gfx::MaybeRegion px = Region::FromRect({x, y, x + 1, y + 1});
                gfx::CombineRegions(shape, shape, px, gfx::CombineMode::Or);
            }
        }
        benchmark::DoNotOptimize(shape);
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_TraceAllBlackByCombine)->Unit(benchmark::kMicrosecond);

// The largest region file, 127 one-pixel runs in each of 254 lines, written
// as columns: its rectangles come column by column.
void BM_FromRectsByColumns(benchmark::State& state) {
    std::vector<Rect> rects;
    for (int32_t x = 0; x < kSide; ++x) {
        for (int32_t y = x % 2; y < kSide; y += 2) rects.push_back({x, y, x + 1, y + 1});
    }
    for (auto _ : state) benchmark::DoNotOptimize(Region::FromRects(rects));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(rects.size()));
}
BENCHMARK(BM_FromRectsByColumns)->Unit(benchmark::kMicrosecond);

// A stroke-like shape: a thick slanted bar ending in a round blob.
Region StrokeShape() {
    Point bar[] = {{40, 60}, {60, 40}, {200, 180}, {180, 200}};
    return Region::Polygon(bar).United(Region::Ellipse({170, 170, 215, 215}));
}

Region CharacterShape() {
    Point across[] = {{30, 120}, {224, 110}, {224, 130}, {30, 140}};
    return StrokeShape().United(Region::Polygon(across)).United(Region::Ellipse({100, 20, 150, 70}));
}

// The band of a linear sweep at position t, as the engine computes its corners.
std::vector<Point> SweepBand(double degrees, double t) {
    double a = degrees * std::numbers::pi / 180;
    double dx = std::cos(a);
    double dy = std::sin(a);
    double t2 = t + 20;
    auto at = [](double x, double y) { return Point{static_cast<int32_t>(x), static_cast<int32_t>(y)}; };
    return {at(127 + t * dx + 179 * dy, 127 + t * dy - 179 * dx),
            at(127 + t * dx - 179 * dy, 127 + t * dy + 179 * dx),
            at(127 + t2 * dx - 179 * dy, 127 + t2 * dy + 179 * dx),
            at(127 + t2 * dx + 179 * dy, 127 + t2 * dy - 179 * dx)};
}

// One animation frame: the band at the next position cut from the stroke,
// added to what is painted, and the frame redrawn: white canvas, the whole
// character black, the painted part red.
void BM_SweepFrame(benchmark::State& state) {
    const Region stroke = StrokeShape();
    const Region whole = CharacterShape();
    auto frame = gfx::Bitmap::Create(kSide, kSide, gfx::PixelFormat::Rgb32);
    std::vector<std::vector<Point>> bands;
    for (double t = -179; t < 179; t += 20) bands.push_back(SweepBand(37, t));
    Region painted;
    size_t i = 0;
    for (auto _ : state) {
        Region cut = Region::Polygon(bands[i]);
        cut.Intersect(stroke);
        painted.Unite(cut);
        frame->FillRect({0, 0, kSide, kSide}, gfx::kWhite);
        frame->FillRegion(whole, gfx::kBlack);
        frame->FillRegion(painted, gfx::kRed);
        benchmark::DoNotOptimize(frame->GetPixel(127, 127));
        if (++i == bands.size()) {
            i = 0;
            painted = Region();
        }
    }
}
BENCHMARK(BM_SweepFrame)->Unit(benchmark::kMicrosecond);

// The region work of a frame alone, without the fills.
void BM_SweepRegionsOnly(benchmark::State& state) {
    const Region stroke = StrokeShape();
    std::vector<Point> band = SweepBand(37, 21);
    Region painted = Region::Polygon(SweepBand(37, 1)).Intersected(stroke);
    for (auto _ : state) {
        Region cut = Region::Polygon(band);
        cut.Intersect(stroke);
        benchmark::DoNotOptimize(painted.United(cut));
    }
}
BENCHMARK(BM_SweepRegionsOnly)->Unit(benchmark::kMicrosecond);

// The largest circle of a pivot sweep's distance search.
void BM_Circle220(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Region::Ellipse({-93, -93, 347, 347}));
}
BENCHMARK(BM_Circle220)->Unit(benchmark::kMicrosecond);

}  // namespace
