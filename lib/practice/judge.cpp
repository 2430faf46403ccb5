#include "practice/judge.h"

#include <algorithm>
#include <utility>

#include "practice/character_model.h"
#include "practice/stroke_fit.h"

namespace practice {

namespace {

// Enough points to follow any stroke's turns, few enough to judge in microseconds.
constexpr size_t kInkPoints = 24;
// Rounds of pairing drawn points with their nearest stroke pixels, then
// placing the character anew.
constexpr int kPlacementRounds = 3;

struct Candidate {
    size_t stroke = 0;
    StrokeFit fit;
    Placement placement;
    std::vector<PointPair> pairs;  // the ink's points and the stroke pixels they were paired with
    double cost = 0;
    bool fits = false;
};

std::vector<Point> Unplaced(const Placement& placement, std::span<const Point> points) {
    std::vector<Point> model;
    model.reserve(points.size());
    for (const Point& p : points) model.push_back(Unplaced(placement, p));
    return model;
}

std::vector<PointPair> PairWithNearest(const StrokeModel& stroke, const Placement& placement,
                                       std::span<const Point> points) {
    std::vector<PointPair> pairs;
    pairs.reserve(points.size());
    for (const Point& p : points) {
        pairs.push_back({FindNearest(stroke, Unplaced(placement, p)).pixel, p});
    }
    return pairs;
}

// The placement that makes the ink this stroke, together with the accepted
// strokes: first each point paired with the stroke's path at the same share
// of its length, then with its nearest stroke pixels.
Placement PlaceAs(const StrokeModel& stroke, std::span<const Point> points,
                  const std::vector<PointPair>& anchors, const Placement& prior, double weight,
                  std::vector<PointPair>& pairs) {
    const Ink path = Resampled(stroke.path, points.size());
    std::vector<PointPair> all = anchors;
    for (size_t i = 0; i < points.size(); ++i) all.push_back({path[i], points[i]});
    Placement placement = FitPlacement(all, prior, weight);
    for (int round = 0; round < kPlacementRounds; ++round) {
        pairs = PairWithNearest(stroke, placement, points);
        all.resize(anchors.size());
        all.insert(all.end(), pairs.begin(), pairs.end());
        placement = FitPlacement(all, prior, weight);
    }
    return placement;
}

}  // namespace

Judge::Judge(std::shared_ptr<const CharacterModel> model, Mode mode, double leniency)
    : Judge(std::move(model), mode, leniency, Tuning{}) {}

Judge::Judge(std::shared_ptr<const CharacterModel> model, Mode mode, double leniency,
             const Tuning& tuning)
    : model_(std::move(model)), mode_(mode), leniency_(leniency > 0 ? leniency : 1.0),
      tuning_(tuning) {}

size_t Judge::expected() const { return expected_; }
bool Judge::complete() const { return !model_ || expected_ >= model_->strokes.size(); }
int Judge::mistakes() const { return mistakes_; }
int Judge::mistakes_on_expected() const { return mistakes_on_expected_; }
Placement Judge::placement() const { return placement_; }

StrokeResult Judge::Add(const Ink& ink) {
    StrokeResult result;
    result.expected = expected_;
    const Ink distinct = DistinctPoints(ink);
    if (complete() || distinct.size() < 2) return result;
    const Ink points = Resampled(distinct, kInkPoints);
    const StrokeModel& expected = model_->strokes[expected_];
    result.direction_judged = expected.direction_judged;

    const bool recall = mode_ == Mode::Recall;
    const double distance =
        (recall ? tuning_.recall_distance : tuning_.trace_distance) * leniency_;
    const double farthest =
        (recall ? tuning_.recall_farthest : tuning_.trace_farthest) * leniency_;
    const double coverage = tuning_.coverage / leniency_;
    const auto judge_as = [&](size_t n) {
        Candidate c;
        c.stroke = n;
        const StrokeModel& stroke = model_->strokes[n];
        if (recall) {
            const double weight = anchors_.empty() ? tuning_.scale_prior : 0.0;
            c.placement = PlaceAs(stroke, points, anchors_, placement_, weight, c.pairs);
        }
        c.fit = FitStroke(stroke, Unplaced(c.placement, points));
        if (recall && !anchors_.empty()) {
            c.fit.distance = std::max(c.fit.distance, MeanResidual(anchors_, c.placement));
        }
        c.cost = c.fit.distance + tuning_.coverage_cost * (1 - c.fit.coverage);
        c.fits = c.fit.distance <= distance && c.fit.farthest <= farthest &&
                 c.fit.coverage >= coverage;
        return c;
    };

    const Candidate first = judge_as(expected_);
    std::optional<Candidate> later;
    for (size_t k = expected_ + 1; k < model_->strokes.size(); ++k) {
        Candidate c = judge_as(k);
        if (c.fits && (!later || c.cost < later->cost)) later = std::move(c);
    }
    const bool later_wins =
        later && (!first.fits || later->cost <= first.cost * tuning_.clearly_better);
    if (later_wins) {
        result.verdict = Verdict::Mistake;
        result.reason = Reason::LaterStroke;
        result.matches = later->stroke;
    } else if (first.fits && expected.direction_judged && first.fit.order < tuning_.backwards) {
        result.verdict = Verdict::Mistake;
        result.reason = Reason::Backwards;
        result.matches = expected_;
    } else if (first.fits) {
        result.verdict = Verdict::Correct;
        result.matches = expected_;
        if (recall) {
            placement_ = first.placement;
            anchors_.insert(anchors_.end(), first.pairs.begin(), first.pairs.end());
        }
        ++expected_;
        mistakes_on_expected_ = 0;
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
