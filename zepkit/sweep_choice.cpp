#include "sweep_choice.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "order_fidelity.h"
#include "player/engine_geometry.h"

namespace zepkit {

namespace {

using player::CommandKind;
using player::StrokeCommand;

// The model ranks on a sample of the stroke's pixels: enough to tell good
// sweeps from bad ones, few enough to try hundreds per stroke.
constexpr size_t kSamplePixels = 240;
constexpr int32_t kCoarseAngleStep = 5;
// Straight sweeps that do at least this well leave nothing for a pivot.
constexpr double kGoodEnough = 0.97;
// Pivots on a grid around the canvas, then a finer grid around the best.
constexpr int32_t kPivotGridFrom = -96;
constexpr int32_t kPivotGridTo = 350;
constexpr int32_t kPivotGridStep = 32;
constexpr int32_t kPivotRefineStep = 8;
// A slice reaches 358 pixels from its pivot: keep the stroke well inside.
constexpr double kMaxPivotReach = 340;
constexpr double kCentre = 127.0;

double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

struct Sample {
    std::vector<PointD> pixels;
    std::vector<double> positions;
};

Sample TakeSample(const gfx::Region& stroke, const Polyline& median) {
    const std::vector<PointD> all = PixelCentres(stroke);
    Sample s;
    const size_t stride = std::max<size_t>(1, all.size() / kSamplePixels);
    for (size_t i = 0; i < all.size(); i += stride) s.pixels.push_back(all[i]);
    s.positions = PositionsAlong(median, s.pixels);
    return s;
}

// The band of a straight sweep that holds each pixel, as the engine's bands
// lie before their corners are cut to whole pixels.
double ModelLinear(const Sample& s, int32_t angle) {
    const double a = angle * std::numbers::pi / 180.0;
    const double dx = std::cos(a), dy = std::sin(a);
    std::vector<int32_t> bands;
    bands.reserve(s.pixels.size());
    for (const PointD& p : s.pixels) {
        const double along = (p.x - kCentre) * dx + (p.y - kCentre) * dy;
        bands.push_back(static_cast<int32_t>(std::floor((along - player::kFirstBand) / player::kBandStep)));
    }
    return KendallTauB(s.positions, bands);
}

struct Candidate {
    StrokeCommand command;
    double model = -2;
};

Candidate BestLinear(const Sample& s) {
    Candidate best;
    auto consider = [&](int32_t angle) {
        const double m = ModelLinear(s, angle);
        if (m > best.model) best = {{CommandKind::LinearSweep, angle, 0, 0, 0}, m};
    };
    for (int32_t angle = 0; angle < 360; angle += kCoarseAngleStep) consider(angle);
    const int32_t coarse = best.command.param1;
    for (int32_t delta = 1 - kCoarseAngleStep; delta < kCoarseAngleStep; ++delta) {
        if (delta != 0) consider((coarse + delta + 360) % 360);
    }
    return best;
}

// A pivot sweep about (px, py) that turns from just before the stroke's
// first pixel to just past its last, in the direction its centre-line turns,
// and the model's slice of each pixel.
Candidate ModelPivot(const Sample& s, const Polyline& median, int32_t px, int32_t py) {
    Candidate none;
    std::vector<double> angles;
    double nearest = 1e9, farthest = 0;
    for (const PointD& p : s.pixels) {
        const double dist = std::hypot(p.x - px, p.y - py);
        nearest = std::min(nearest, dist);
        farthest = std::max(farthest, dist);
        angles.push_back(std::fmod(Degrees(std::atan2(p.y - py, p.x - px)) + 360.0, 360.0));
    }
    if (nearest < 2 || farthest > kMaxPivotReach) return none;
    // The stroke fills the circle of directions but for its widest gap.
    std::vector<double> sorted = angles;
    std::sort(sorted.begin(), sorted.end());
    double gap = 360 - sorted.back() + sorted.front(), arc_start = sorted.front();
    for (size_t i = 1; i < sorted.size(); ++i) {
        if (sorted[i] - sorted[i - 1] > gap) {
            gap = sorted[i] - sorted[i - 1];
            arc_start = sorted[i];
        }
    }
    const double arc = 360 - gap;
    auto from_start = [&](double angle) { return std::fmod(angle - arc_start + 720.0, 360.0); };
    const PointD first = median.front(), last = median.back();
    const double turn = from_start(Degrees(std::atan2(last.y - py, last.x - px))) -
                        from_start(Degrees(std::atan2(first.y - py, first.x - px)));
    const int32_t d = turn >= 0 ? 1 : -1;
    const int32_t start = d > 0 ? static_cast<int32_t>(std::floor(arc_start))
                                : static_cast<int32_t>(std::ceil(arc_start + arc));
    const int32_t end = d > 0 ? static_cast<int32_t>(std::ceil(arc_start + arc))
                              : static_cast<int32_t>(std::floor(arc_start));
    const int32_t misses = std::min(player::kCircleCount, static_cast<int32_t>(nearest / player::kCircleStep) + 1);
    const double step = player::AngularStep(misses);
    std::vector<int32_t> slices;
    for (const double a : angles) {
        const double turned = std::fmod(d * (a - start) + 720.0, 360.0);
        slices.push_back(static_cast<int32_t>(turned / step));
    }
    return {{CommandKind::PivotSweep, start, end, px, py}, KendallTauB(s.positions, slices)};
}

Candidate BestPivot(const Sample& s, const Polyline& median) {
    Candidate best;
    auto consider = [&](int32_t px, int32_t py) {
        const Candidate c = ModelPivot(s, median, px, py);
        if (c.model > best.model) best = c;
    };
    for (int32_t py = kPivotGridFrom; py <= kPivotGridTo; py += kPivotGridStep) {
        for (int32_t px = kPivotGridFrom; px <= kPivotGridTo; px += kPivotGridStep) consider(px, py);
    }
    if (best.model < -1) return best;
    const int32_t cx = best.command.param3, cy = best.command.param4;
    for (int32_t dy = -kPivotGridStep / 2; dy <= kPivotGridStep / 2; dy += kPivotRefineStep) {
        for (int32_t dx = -kPivotGridStep / 2; dx <= kPivotGridStep / 2; dx += kPivotRefineStep) {
            consider(cx + dx, cy + dy);
        }
    }
    return best;
}

}  // namespace

SweepChoice ChooseSweep(const gfx::Region& stroke, const Polyline& median) {
    const Sample sample = TakeSample(stroke, median);
    const Candidate linear = BestLinear(sample);
    SweepChoice best{linear.command, OrderFidelity(linear.command, stroke, median)};
    if (best.fidelity >= kGoodEnough) return best;
    const Candidate pivot = BestPivot(sample, median);
    if (pivot.model <= linear.model - 0.05) return best;
    const double exact = OrderFidelity(pivot.command, stroke, median);
    if (exact > best.fidelity) best = {pivot.command, exact};
    return best;
}

}  // namespace zepkit
