#include "zepkit/sweep_choice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <numeric>

#include "animation/engine_geometry.h"
#include "zepkit/order_fidelity.h"

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
// A pivot the model ranks this far below the straight sweep is not measured.
constexpr double kModelMargin = 0.05;
// Pivots on a grid around the canvas, then a finer grid around the best.
constexpr int32_t kPivotGridFrom = -96;
constexpr int32_t kPivotGridTo = 350;
constexpr int32_t kPivotGridStep = 32;
constexpr int32_t kPivotRefineStep = 8;
constexpr double kBesideDistances[] = {20, 30, 45, 65, 90};
// The largest angular step: leads beyond it repeat smaller ones.
constexpr int32_t kMaxLead = 16;
// A slice reaches 358 pixels from its pivot: keep the stroke well inside.
constexpr double kMaxPivotReach = 340;
constexpr double kCentre = 127.0;

double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

struct Sample {
    std::vector<PointD> pixels;
    std::vector<double> positions;
};

// Sorted by position, which spares every tau-b its sort.
Sample TakeSample(const gfx::Region& stroke, const Polyline& median, size_t limit) {
    const std::vector<PointD> all = PixelCentres(stroke);
    std::vector<PointD> pixels;
    const size_t stride = std::max<size_t>(1, all.size() / limit);
    for (size_t i = 0; i < all.size(); i += stride) pixels.push_back(all[i]);
    const std::vector<double> positions = PositionsAlong(median, pixels);
    std::vector<size_t> order(pixels.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return positions[a] < positions[b]; });
    Sample s;
    for (const size_t i : order) {
        s.pixels.push_back(pixels[i]);
        s.positions.push_back(positions[i]);
    }
    return s;
}

double Turned(double degrees) { return degrees < 0 ? degrees + 360 : degrees; }

// The widest run of whole degrees that hold no pixel's direction: the stroke
// fills the rest of the circle, from the gap's end on.
struct Gap {
    int32_t end;  // first degree with a pixel after the gap
    int32_t width;
};

Gap WidestGap(const std::vector<double>& angles) {
    std::array<bool, 360> used{};
    for (const double a : angles) used[static_cast<size_t>(a) % 360] = true;
    Gap widest{0, -1};
    for (int32_t start = 0; start < 360; ++start) {
        // Only where a gap begins.
        if (used[static_cast<size_t>(start)] || !used[static_cast<size_t>((start + 359) % 360)]) {
            continue;
        }
        int32_t width = 0;
        while (width < 360 && !used[static_cast<size_t>((start + width) % 360)]) ++width;
        if (width > widest.width) widest = {(start + width) % 360, width};
    }
    return widest;
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
        bands.push_back(
            static_cast<int32_t>(std::floor((along - player::kFirstBand) / player::kBandStep)));
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

// A pivot sweep about (px, py) that turns from lead degrees before the
// stroke's first pixel to just past its last, in the direction in which its
// centre-line turns, ranked by the model's slice of each pixel.
Candidate ModelPivot(const Sample& s, const Polyline& median, int32_t px, int32_t py,
                     int32_t lead = 0) {
    Candidate none;
    std::vector<double> angles;
    double nearest_squared = 1e18, farthest_squared = 0;
    for (const PointD& p : s.pixels) {
        const double dx = p.x - px, dy = p.y - py, squared = dx * dx + dy * dy;
        nearest_squared = std::min(nearest_squared, squared);
        farthest_squared = std::max(farthest_squared, squared);
        angles.push_back(Turned(Degrees(std::atan2(p.y - py, p.x - px))));
    }
    const double nearest = std::sqrt(nearest_squared);
    if (nearest < 2 || farthest_squared > kMaxPivotReach * kMaxPivotReach) return none;
    const Gap gap = WidestGap(angles);
    if (gap.width < 0) return none;
    const double arc_start = gap.end, arc = 360 - gap.width;
    auto from_start = [&](double angle) { return std::fmod(angle - arc_start + 720.0, 360.0); };
    const PointD first = median.front(), last = median.back();
    const double turn = from_start(Degrees(std::atan2(last.y - py, last.x - px))) -
                        from_start(Degrees(std::atan2(first.y - py, first.x - px)));
    const int32_t d = turn >= 0 ? 1 : -1;
    const int32_t start = d > 0 ? static_cast<int32_t>(std::floor(arc_start)) - lead
                                : static_cast<int32_t>(std::ceil(arc_start + arc)) + lead;
    const int32_t end = d > 0 ? static_cast<int32_t>(std::ceil(arc_start + arc))
                              : static_cast<int32_t>(std::floor(arc_start));
    const double step = ModelAngularStep(nearest);
    std::vector<int32_t> slices;
    for (const double a : angles) {
        double turned = d * (a - start);
        while (turned < 0) turned += 360;
        while (turned >= 360) turned -= 360;
        slices.push_back(static_cast<int32_t>(turned / step));
    }
    return {{CommandKind::PivotSweep, start, end, px, py}, KendallTauB(s.positions, slices)};
}

Sample EveryOther(const Sample& s) {
    Sample half;
    for (size_t i = 0; i < s.pixels.size(); i += 2) {
        half.pixels.push_back(s.pixels[i]);
        half.positions.push_back(s.positions[i]);
    }
    return half;
}

// The coarse grid looks at half the sample: it only needs to find the
// neighbourhood of the best pivot, which the finer grid then searches.
Candidate BestPivot(const Sample& s, const Polyline& median) {
    Candidate best;
    auto consider = [&](const Sample& sample, int32_t px, int32_t py) {
        const Candidate c = ModelPivot(sample, median, px, py);
        if (c.model > best.model) best = c;
    };
    const Sample coarse = EveryOther(s);
    for (int32_t py = kPivotGridFrom; py <= kPivotGridTo; py += kPivotGridStep) {
        for (int32_t px = kPivotGridFrom; px <= kPivotGridTo; px += kPivotGridStep)
            consider(coarse, px, py);
    }
    // Close beside the stroke the slices are finest: pivots off its chord.
    const PointD a = median.front(), b = median.back();
    const double chord = std::max(1.0, std::hypot(b.x - a.x, b.y - a.y));
    const double ux = (b.x - a.x) / chord, uy = (b.y - a.y) / chord;
    for (const double along : {-0.25, 0.0, 0.25}) {
        for (const double off : kBesideDistances) {
            for (const double side : {-1.0, 1.0}) {
                const double x = (a.x + b.x) / 2 + along * chord * ux - side * off * uy;
                const double y = (a.y + b.y) / 2 + along * chord * uy + side * off * ux;
                consider(coarse, static_cast<int32_t>(std::lround(x)),
                         static_cast<int32_t>(std::lround(y)));
            }
        }
    }
    if (best.model < -1) return best;
    best = ModelPivot(s, median, best.command.param3, best.command.param4);
    const int32_t cx = best.command.param3, cy = best.command.param4;
    for (int32_t dy = -kPivotGridStep / 2; dy <= kPivotGridStep / 2; dy += kPivotRefineStep) {
        for (int32_t dx = -kPivotGridStep / 2; dx <= kPivotGridStep / 2; dx += kPivotRefineStep) {
            if (dx != 0 || dy != 0) consider(s, cx + dx, cy + dy);
        }
    }
    return best;
}

}  // namespace

double ModelAngularStep(double nearest) {
    const int32_t misses =
        std::min(player::kCircleCount, static_cast<int32_t>(nearest / player::kCircleStep) + 1);
    return player::AngularStep(misses);
}

SweepChoice ChooseSweep(const gfx::Region& stroke, const Polyline& median) {
    if (median.empty()) return {{CommandKind::Draw}, {}};
    const Sample sample = TakeSample(stroke, median, kSamplePixels);
    const Candidate linear = BestLinear(sample);
    SweepChoice best{linear.command, OrderFidelity(linear.command, stroke, median)};
    if (best.order.fidelity >= kGoodEnough) return best;
    Candidate pivot = BestPivot(sample, median);
    if (pivot.model <= linear.model - kModelMargin) return best;
    // Where the slices' edges fall decides how evenly they share the stroke.
    int32_t lead = 0;
    for (int32_t more = 1; more < kMaxLead; ++more) {
        const Candidate c =
            ModelPivot(sample, median, pivot.command.param3, pivot.command.param4, more);
        if (c.model > pivot.model) {
            pivot = c;
            lead = more;
        }
    }
    // The turn must take in every pixel, not only the sample's.
    const Sample all = TakeSample(stroke, median, SIZE_MAX);
    pivot = ModelPivot(all, median, pivot.command.param3, pivot.command.param4, lead);
    if (pivot.model < -1) return best;
    const OrderMeasures exact = OrderFidelity(pivot.command, stroke, median);
    if (exact.fidelity > best.order.fidelity) best = {pivot.command, exact};
    return best;
}

}  // namespace zepkit
