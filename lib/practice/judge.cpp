#include "practice/judge.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "practice/character_model.h"
#include "practice/stroke_fit.h"

namespace practice {

namespace {

// Enough points to follow any stroke's turns, few enough to judge in microseconds.
constexpr size_t kInkPoints = 24;
// Rounds of pairing the ink's points with their nearest stroke pixels.
constexpr int kPairingRounds = 3;

struct Candidate {
    size_t stroke = 0;
    Placement placement;
    Point offset;                  // of the ink from the placed stroke, in model pixels
    StrokeFit fit;                 // of the ink moved by -offset
    double cost = 0;
    bool fits = false;
    // Whether it fits well enough to be called this stroke written backwards:
    // direction is the plainer mistake to name.
    bool fits_reversed = false;
};

Point Centroid(std::span<const Point> points) {
    Point sum;
    for (const Point& p : points) sum = {sum.x + p.x, sum.y + p.y};
    const double n = static_cast<double>(points.size());
    return {sum.x / n, sum.y / n};
}

// The shift that lays the points onto the stroke: first centre on centre, then
// each point onto its nearest stroke pixel.
Point OffsetOnto(const StrokeModel& stroke, std::span<const Point> points) {
    const Point centre = Centroid(points), path = Centroid(stroke.path);
    Point offset{centre.x - path.x, centre.y - path.y};
    for (int round = 0; round < kPairingRounds; ++round) {
        Point miss;
        for (const Point& p : points) {
            const Point n = FindNearest(stroke, {p.x - offset.x, p.y - offset.y}).pixel;
            miss = {miss.x + p.x - offset.x - n.x, miss.y + p.y - offset.y - n.y};
        }
        const double count = static_cast<double>(points.size());
        offset = {offset.x + miss.x / count, offset.y + miss.y / count};
    }
    return offset;
}

std::vector<Point> Moved(std::span<const Point> points, Point by) {
    std::vector<Point> moved;
    moved.reserve(points.size());
    for (const Point& p : points) moved.push_back({p.x + by.x, p.y + by.y});
    return moved;
}

// What judging one stroke needs of the judge.
struct Context {
    const CharacterModel& model;
    bool recall;
    double leniency;
    const Tuning& tuning;
    std::span<const PointPair> anchors;  // of the accepted strokes
    Placement placement;                 // from the accepted strokes
    PlacementCovariance covariance;      // of that placement
};

PlacementPrior Prior(bool recall, const Tuning& tuning) {
    if (!recall) return {{}, tuning.trace_scale_spread, tuning.trace_shift_spread};
    return {{}, tuning.recall_scale_spread, tuning.recall_shift_spread};
}

double PointWeight(const Tuning& tuning) {
    return tuning.points_per_stroke / static_cast<double>(kInkPoints) /
           (tuning.point_spread * tuning.point_spread);
}

// The placement the ink gives when it is taken for the stroke: in recall, the
// first stroke alone places the character; after it, the accepted ones do.
Placement PlacementFor(const Context& ctx, const StrokeModel& stroke,
                       std::span<const Point> points) {
    if (!ctx.recall || !ctx.anchors.empty()) return ctx.placement;
    const PlacementPrior prior = Prior(ctx.recall, ctx.tuning);
    const Ink path = Resampled(stroke.path, points.size());
    std::vector<PointPair> pairs;
    for (size_t i = 0; i < points.size(); ++i) {
        pairs.push_back({path[i], points[i], PointWeight(ctx.tuning)});
    }
    Placement placement = FitPlacement(pairs, prior);
    for (int round = 0; round < kPairingRounds; ++round) {
        for (size_t i = 0; i < points.size(); ++i) {
            pairs[i].model = FindNearest(stroke, Unplaced(placement, points[i])).pixel;
        }
        placement = FitPlacement(pairs, prior);
    }
    return placement;
}

// The measures of the candidate as shares of their bounds, whether it fits,
// and its cost.
void Score(const Context& ctx, const StrokeModel& stroke, Candidate& c) {
    const Tuning& tuning = ctx.tuning;
    const double lenient = ctx.leniency;
    const bool placed_by_it = ctx.recall && ctx.anchors.empty();
    // Until the learner's character is well placed, where a stroke should lie is
    // known only that well.
    const double unsure = placed_by_it
                              ? 0.0
                              : tuning.placement_margin *
                                    PlacementSpread(ctx.covariance, Centroid(stroke.path)) /
                                    c.placement.scale;
    const double allowed = std::hypot(tuning.offset * lenient, unsure);
    const double offset = std::hypot(c.offset.x, c.offset.y) / allowed;
    const double distance = c.fit.distance / (tuning.distance * lenient);
    const double farthest = c.fit.farthest / (tuning.farthest * lenient);
    const double missing = (1 - c.fit.coverage) / ((1 - tuning.coverage) * lenient);
    const double misfit =
        offset * offset + distance * distance + farthest * farthest + missing * missing;
    const double unlikely = PlacementCost(c.placement, Prior(ctx.recall, tuning));
    // Each measure within its bound, and not all of them near it; a first
    // stroke in recall places the character, but not anywhere at any size.
    const auto within = [&](double bound) {
        return offset <= bound && distance <= bound && farthest <= bound && missing <= bound &&
               misfit <= tuning.misfit * bound * bound &&
               (!placed_by_it || unlikely <= tuning.unlikely_placement);
    };
    c.fits = within(1);
    c.fits_reversed = within(tuning.reversed_leeway);
    c.cost = misfit + unlikely;
}

Candidate JudgeAs(const Context& ctx, size_t n, std::span<const Point> points) {
    const StrokeModel& stroke = ctx.model.strokes[n];
    Candidate c;
    c.stroke = n;
    c.placement = PlacementFor(ctx, stroke, points);
    std::vector<Point> model_points;
    model_points.reserve(points.size());
    for (const Point& p : points) model_points.push_back(Unplaced(c.placement, p));
    c.offset = OffsetOnto(stroke, model_points);
    c.fit = FitStroke(stroke, Moved(model_points, {-c.offset.x, -c.offset.y}));
    Score(ctx, stroke, c);
    return c;
}

// The ink's points paired with the stroke pixels they were taken for, to place
// the learner's character.
std::vector<PointPair> Anchors(const Context& ctx, const Candidate& c,
                               std::span<const Point> points) {
    const StrokeModel& stroke = ctx.model.strokes[c.stroke];
    std::vector<PointPair> pairs;
    for (const Point& p : points) {
        const Point model = Unplaced(c.placement, p);
        const Point moved{model.x - c.offset.x, model.y - c.offset.y};
        pairs.push_back({FindNearest(stroke, moved).pixel, p, PointWeight(ctx.tuning)});
    }
    return pairs;
}

}  // namespace

Judge::Judge(std::shared_ptr<const CharacterModel> model, Mode mode, double leniency)
    : Judge(std::move(model), mode, leniency, Tuning{}) {}

Judge::Judge(std::shared_ptr<const CharacterModel> model, Mode mode, double leniency,
             const Tuning& tuning)
    : model_(std::move(model)),
      mode_(mode),
      leniency_(std::isfinite(leniency) && leniency > 0 ? leniency : 1.0),
      tuning_(tuning) {}

size_t Judge::expected() const { return expected_; }
bool Judge::complete() const { return !model_ || expected_ >= model_->strokes.size(); }
int Judge::mistakes() const { return mistakes_; }
int Judge::mistakes_on_expected() const { return mistakes_on_expected_; }
// In trace the placement only finds the learner's strokes: they are shown where drawn.
Placement Judge::placement() const { return mode_ == Mode::Trace ? Placement{} : placement_; }

StrokeResult Judge::Add(const Ink& ink) {
    StrokeResult result;
    result.expected = expected_;
    const Ink distinct = DistinctPoints(ink);
    if (complete() || distinct.size() < 2) return result;
    const Ink points = Resampled(distinct, kInkPoints);
    const StrokeModel& expected = model_->strokes[expected_];
    result.direction_judged = expected.direction_judged;

    const bool recall = mode_ == Mode::Recall;
    const Context ctx{*model_,
                      recall,
                      leniency_,
                      tuning_,
                      anchors_,
                      placement_,
                      FitCovariance(anchors_, Prior(recall, tuning_))};
    const Candidate first = JudgeAs(ctx, expected_, points);
    std::optional<Candidate> later;
    for (size_t k = expected_ + 1; k < model_->strokes.size(); ++k) {
        Candidate c = JudgeAs(ctx, k, points);
        if (c.fits && (!later || c.cost < later->cost)) later = std::move(c);
    }
    const bool later_wins =
        later && (!first.fits || later->cost <= first.cost * tuning_.clearly_better);
    if (later_wins) {
        result.verdict = Verdict::Mistake;
        result.reason = Reason::LaterStroke;
        result.matches = later->stroke;
    } else if (first.fits_reversed && expected.direction_judged &&
               first.fit.order < tuning_.backwards) {
        result.verdict = Verdict::Mistake;
        result.reason = Reason::Backwards;
        result.matches = expected_;
    } else if (first.fits) {
        const std::vector<PointPair> pairs = Anchors(ctx, first, points);
        anchors_.insert(anchors_.end(), pairs.begin(), pairs.end());
        placement_ = FitPlacement(anchors_, Prior(recall, tuning_));
        ++expected_;
        mistakes_on_expected_ = 0;
        result.verdict = Verdict::Correct;
        result.matches = result.expected;
        return result;
    } else {
        result.verdict = Verdict::Mistake;
        result.reason = Reason::Off;
    }
    ++mistakes_;
    ++mistakes_on_expected_;
    return result;
}

}  // namespace practice
