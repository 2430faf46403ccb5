#include "zepkit/japanese_order.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "zepkit/assignment.h"

namespace zepkit {

namespace {

// Both characters are fitted to a box of side 1, each axis on its own; an
// axis thinner than this share of the other keeps its proportion, so that
// the strokes of 一 are not stretched over the box.
constexpr double kThinAxisShare = 0.3;
// A match that is not the cheapest by at least this (the sum of the distances
// of start and end points, in boxes) is as likely as the cheapest.
constexpr double kOrderMargin = 0.05;
// Directions more than 120 degrees apart are opposite; between 90 and 120
// degrees a stroke is left as it is.
constexpr double kOppositeCosine = -0.5;
// Keeps a forbidden pair out of the cheapest match.
constexpr double kForbidden = 1e6;

struct Segment {
    PointD start;
    PointD end;
};

struct Frame {
    PointD centre;
    double width;
    double height;
};

Frame FitFrame(const std::vector<Segment>& segments) {
    double left = segments[0].start.x, right = left;
    double top = segments[0].start.y, bottom = top;
    for (const Segment& s : segments) {
        for (const PointD p : {s.start, s.end}) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
    }
    const double larger = std::max({right - left, bottom - top, 1e-9});
    return {{(left + right) / 2, (top + bottom) / 2},
            std::max(right - left, kThinAxisShare * larger),
            std::max(bottom - top, kThinAxisShare * larger)};
}

std::vector<Segment> Fitted(std::vector<Segment> segments) {
    const Frame frame = FitFrame(segments);
    for (Segment& s : segments) {
        for (PointD* p : {&s.start, &s.end}) {
            *p = {(p->x - frame.centre.x) / frame.width, (p->y - frame.centre.y) / frame.height};
        }
    }
    return segments;
}

double Distance(PointD a, PointD b) { return std::hypot(a.x - b.x, a.y - b.y); }

// How far apart two strokes lie, whichever way each runs.
double MatchCost(const Segment& a, const Segment& b) {
    return std::min(Distance(a.start, b.start) + Distance(a.end, b.end),
                    Distance(a.start, b.end) + Distance(a.end, b.start));
}

double DirectionCosine(const Segment& a, const Segment& b) {
    const PointD u{a.end.x - a.start.x, a.end.y - a.start.y};
    const PointD v{b.end.x - b.start.x, b.end.y - b.start.y};
    const double lengths = std::hypot(u.x, u.y) * std::hypot(v.x, v.y);
    return lengths > 0 ? (u.x * v.x + u.y * v.y) / lengths : 1;
}

// Each stroke that the cheapest match moves must lose more than the margin
// when it is kept from its place.
bool Ambiguous(const CostTable& cost, const std::vector<size_t>& match) {
    const double cheapest = AssignmentCost(cost, match);
    for (size_t i = 0; i < match.size(); ++i) {
        if (match[i] == i) continue;
        CostTable without = cost;
        without[i][match[i]] = kForbidden;
        const std::vector<size_t> other = CheapestAssignment(without);
        if (AssignmentCost(without, other) - cheapest < kOrderMargin) return true;
    }
    return false;
}

void DecideDirections(JapaneseOrderCheck& check) {
    for (size_t i = 0; i < check.direction.size(); ++i) {
        if (check.direction[i] < kOppositeCosine) {
            check.reversed.push_back(i);
        } else if (check.direction[i] < 0) {
            check.directions_left.push_back(i);
        }
    }
}

}  // namespace

JapaneseOrderCheck CompareWithReference(const std::vector<StrokeData>& strokes,
                                        const std::vector<ReferenceStroke>& reference) {
    JapaneseOrderCheck check;
    check.reference_count = reference.size();
    if (strokes.size() != reference.size() || strokes.empty()) {
        check.status = ReferenceStatus::CountDiffers;
        return check;
    }
    check.status = ReferenceStatus::Compared;
    std::vector<Segment> ours, theirs;
    for (const StrokeData& s : strokes) ours.push_back({s.median.front(), s.median.back()});
    for (const ReferenceStroke& s : reference) theirs.push_back({s.start, s.end});
    ours = Fitted(std::move(ours));
    theirs = Fitted(std::move(theirs));

    const size_t n = ours.size();
    CostTable cost(n, std::vector<double>(n));
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) cost[i][j] = MatchCost(ours[i], theirs[j]);
    }
    check.match = CheapestAssignment(cost);
    for (size_t i = 0; i < n; ++i) {
        check.direction.push_back(DirectionCosine(ours[i], theirs[check.match[i]]));
    }
    check.order_ambiguous = Ambiguous(cost, check.match);
    if (!check.order_ambiguous) DecideDirections(check);
    return check;
}

JapaneseOrderCheck CompareWithReference(const std::vector<StrokeData>& strokes,
                                        const ReferenceStrokes& references, std::string_view name) {
    const auto found = references.find(name);
    if (found == references.end()) return {};
    return CompareWithReference(strokes, found->second);
}

void FollowReference(const JapaneseOrderCheck& check, std::vector<StrokeData>& strokes) {
    if (check.status != ReferenceStatus::Compared || check.order_ambiguous) return;
    for (const size_t i : check.reversed) {
        std::reverse(strokes[i].median.begin(), strokes[i].median.end());
    }
    std::vector<StrokeData> ordered(strokes.size());
    for (size_t i = 0; i < strokes.size(); ++i) ordered[check.match[i]] = std::move(strokes[i]);
    strokes = std::move(ordered);
}

bool OrderChanged(const JapaneseOrderCheck& check) {
    return !InReferenceOrder(check, false) && InReferenceOrder(check, true);
}

bool InReferenceOrder(const JapaneseOrderCheck& check, bool after) {
    if (check.status != ReferenceStatus::Compared) return false;
    if (after && !check.order_ambiguous) return true;
    for (size_t i = 0; i < check.match.size(); ++i) {
        if (check.match[i] != i) return false;
    }
    return true;
}

size_t StrokesInReferenceDirection(const JapaneseOrderCheck& check, bool after) {
    const auto along = static_cast<size_t>(std::count_if(
        check.direction.begin(), check.direction.end(), [](double c) { return c >= 0; }));
    return after ? along + check.reversed.size() : along;
}

}  // namespace zepkit
