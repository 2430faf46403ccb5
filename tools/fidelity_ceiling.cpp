// fidelity_ceiling PACKAGE_DIR [EVERY]: how high the order fidelity of an
// import could go with one sweep per stroke, however well the sweep kept the
// order within it.
//
// For every EVERY-th stroke of the stroke data (100 by default) it finds the
// highest ceiling of the ties (zepkit/order_fidelity.h) over the straight
// sweeps at every whole angle, with the engine's own bands, and over pivot
// sweeps about every point of an 8-pixel grid around the canvas with 8
// phases of their slices. The slices are modelled as they lie before their
// corners are cut to whole pixels, and a slice that crosses angle 0 counts
// as two, which can only raise the ceiling. It prints the median, the 5th
// percentile and the share at or above 0.95 of those ceilings.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <system_error>
#include <vector>

#include "animation/reveal_order.h"
#include "sys/files.h"
#include "zepkit/order_fidelity.h"
#include "zepkit/outline_fill.h"
#include "zepkit/stroke_data.h"
#include "zepkit/sweep_choice.h"

namespace fs = std::filesystem;
using zepkit::PointD;

namespace {

constexpr int32_t kGridFrom = -96;
constexpr int32_t kGridTo = 350;
constexpr int32_t kGridStep = 8;
constexpr int32_t kPhases = 8;
// A slice reaches 358 pixels from its pivot: the stroke must lie inside.
constexpr double kMaxReach = 340;

// The stroke's pixels in the region's own order, which FirstPaintFrames
// follows, with their positions along the centre-line.
struct Stroke {
    gfx::Region region;
    std::vector<PointD> pixels;
    std::vector<double> positions;
};

Stroke Prepare(const zepkit::StrokeData& data) {
    Stroke s{zepkit::FillOutline(data.outline), {}, {}};
    s.pixels = zepkit::PixelCentres(s.region);
    s.positions = zepkit::PositionsAlong(data.median, s.pixels);
    return s;
}

double Ceiling(const Stroke& s, const std::vector<int32_t>& frames) {
    return zepkit::MeasureOrder(zepkit::CountPairs(s.positions, frames)).ceiling;
}

double BestStraight(const Stroke& s) {
    double best = -1;
    for (int32_t angle = 0; angle < 360; ++angle) {
        const player::StrokeCommand sweep{player::CommandKind::LinearSweep, angle, 0, 0, 0};
        best = std::max(best, Ceiling(s, player::FirstPaintFrames(sweep, s.region)));
    }
    return best;
}

double BestPivot(const Stroke& s) {
    double best = -1;
    std::vector<double> angles(s.pixels.size());
    std::vector<int32_t> frames(s.pixels.size());
    for (int32_t py = kGridFrom; py <= kGridTo; py += kGridStep) {
        for (int32_t px = kGridFrom; px <= kGridTo; px += kGridStep) {
            double nearest = 1e18, farthest = 0;
            for (size_t i = 0; i < s.pixels.size(); ++i) {
                const double dx = s.pixels[i].x - px, dy = s.pixels[i].y - py;
                const double distance = std::hypot(dx, dy);
                nearest = std::min(nearest, distance);
                farthest = std::max(farthest, distance);
                const double degrees = std::atan2(dy, dx) * 180 / std::numbers::pi;
                angles[i] = degrees < 0 ? degrees + 360 : degrees;
            }
            if (nearest < 2 || farthest > kMaxReach) continue;
            const double step = zepkit::ModelAngularStep(nearest);
            for (int32_t phase = 0; phase < kPhases; ++phase) {
                const double shift = step * phase / kPhases;
                for (size_t i = 0; i < angles.size(); ++i) {
                    frames[i] = static_cast<int32_t>(std::floor((angles[i] + shift) / step));
                }
                best = std::max(best, Ceiling(s, frames));
            }
        }
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fputs("Usage: fidelity_ceiling PACKAGE_DIR [EVERY]\n", stderr);
        return 2;
    }
    const size_t every = argc == 3 ? static_cast<size_t>(std::max(1, std::atoi(argv[2]))) : 100;
    std::vector<fs::path> sources;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(argv[1], ec)) {
        // Not package.json: a character's file is named by the character.
        if (entry.path().extension() == ".json" && entry.path().stem() != "package") {
            sources.push_back(entry.path());
        }
    }
    std::sort(sources.begin(), sources.end());

    std::vector<double> ceilings;
    size_t stroke_number = 0, done = 0;
    for (const fs::path& source : sources) {
        std::string text, error;
        ++done;
        if (sys::ReadWholeFile(source, text, ec)) {
            for (const zepkit::StrokeData& data :
                 zepkit::ParseCharacter(text, error).value_or(std::vector<zepkit::StrokeData>{})) {
                if (stroke_number++ % every != 0) continue;
                const Stroke s = Prepare(data);
                ceilings.push_back(std::max(BestStraight(s), BestPivot(s)));
            }
        }
        if (done % 50 == 0 || done == sources.size()) {
            std::fprintf(stderr, "\rfidelity_ceiling: %zu of %zu characters, %zu strokes measured",
                         done, sources.size(), ceilings.size());
        }
    }
    std::fputc('\n', stderr);
    if (ceilings.empty()) {
        std::fputs("fidelity_ceiling: no stroke data\n", stderr);
        return 1;
    }
    std::sort(ceilings.begin(), ceilings.end());
    const auto at = [&](double q) {
        return ceilings[static_cast<size_t>(q * static_cast<double>(ceilings.size() - 1))];
    };
    const auto reaching = std::count_if(ceilings.begin(), ceilings.end(),
                                        [](double c) { return c >= 0.95; });
    std::printf("strokes %zu\nmedian ceiling %.4f\n5th percentile %.4f\nat or above 0.95 %.1f%%\n",
                ceilings.size(), at(0.5), at(0.05),
                100.0 * static_cast<double>(reaching) / static_cast<double>(ceilings.size()));
    return 0;
}
