#include "human_writing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace bench {

namespace {

using practice::Ink;
using practice::Point;

constexpr double kCentre = 127;
constexpr double kTwoPi = 2 * std::numbers::pi;
// Warp, length changes and turns bend a line smoothly only where it has points.
constexpr double kDenseStep = 2;
// Pointer reports per second, and the speeds of a stroke (pixels per second).
constexpr double kRates[] = {60, 100, 120, 200};
constexpr double kSlowest = 250, kFastest = 700;
constexpr double kPenDownSeconds = 0.08;

Point Along(const Ink& line, double at) {
    double before = 0;
    for (size_t i = 1; i < line.size(); ++i) {
        const double piece = practice::Distance(line[i - 1], line[i]);
        if (before + piece >= at || i + 1 == line.size()) {
            const double f = piece > 0 ? std::clamp((at - before) / piece, 0.0, 1.0) : 0;
            return {line[i - 1].x + (line[i].x - line[i - 1].x) * f,
                    line[i - 1].y + (line[i].y - line[i - 1].y) * f};
        }
        before += piece;
    }
    return line.back();
}

Ink Dense(const Ink& line) {
    const double length = practice::InkLength(line);
    const size_t count = std::max<size_t>(2, static_cast<size_t>(length / kDenseStep) + 1);
    return practice::Resampled(line, count);
}

// The line with its start moved by start and its end by end (shares of its
// length): cut short when negative, drawn on straight when positive.
Ink ChangeEnds(const Ink& line, double start, double end) {
    const double length = practice::InkLength(line);
    // A learner draws at least a fifth of any stroke.
    const double from = std::min(std::max(-start, 0.0), 0.4) * length;
    const double to = length - std::min(std::max(-end, 0.0), 0.4) * length;
    Ink cut;
    const size_t count = std::max<size_t>(2, static_cast<size_t>((to - from) / kDenseStep) + 1);
    for (size_t k = 0; k < count; ++k) {
        cut.push_back(Along(
            line, from + (to - from) * static_cast<double>(k) / static_cast<double>(count - 1)));
    }
    const auto extend = [&](Point tip, Point inner, double share) {
        const double d = practice::Distance(tip, inner);
        if (d <= 0 || share <= 0) return tip;
        const double by = share * length / d;
        return Point{tip.x + (tip.x - inner.x) * by, tip.y + (tip.y - inner.y) * by};
    };
    const size_t inner = std::min<size_t>(3, cut.size() - 1);
    cut.front() = extend(cut.front(), cut[inner], start);
    cut.back() = extend(cut.back(), cut[cut.size() - 1 - inner], end);
    return cut;
}

// Scaled by factor and turned by angle about the line's own centre, then moved.
Ink Reshape(const Ink& line, double factor, double angle, Point shift) {
    Point centre;
    for (const Point& p : line) centre = {centre.x + p.x, centre.y + p.y};
    centre = {centre.x / static_cast<double>(line.size()),
              centre.y / static_cast<double>(line.size())};
    const double c = std::cos(angle), s = std::sin(angle);
    Ink out;
    for (const Point& p : line) {
        const double x = (p.x - centre.x) * factor, y = (p.y - centre.y) * factor;
        out.push_back({centre.x + c * x - s * y + shift.x, centre.y + s * x + c * y + shift.y});
    }
    return out;
}

Point Placed(const Hand& hand, Point p) {
    const double w = hand.style.warp, k = hand.warp_wave;
    const double wx =
        w * std::sin(p.x * k + hand.warp_phase[0]) * std::cos(p.y * k + hand.warp_phase[1]);
    const double wy =
        w * std::sin(p.y * k + hand.warp_phase[2]) * std::cos(p.x * k + hand.warp_phase[3]);
    const double x = p.x - kCentre + hand.slant * (p.y - kCentre), y = p.y - kCentre;
    return {kCentre + hand.scale * x + hand.dx + wx, kCentre + hand.scale * y + hand.dy + wy};
}

}  // namespace

uint64_t Random::Next() {  // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Random::Uniform(double low, double high) {
    return low + (high - low) * static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double Random::Normal(double spread) {
    const double u = Uniform(1e-12, 1), v = Uniform(0, 1);
    return spread * std::sqrt(-2 * std::log(u)) * std::cos(kTwoPi * v);
}

size_t Random::Below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(Next() % n); }

WritingStyle TraceStyle() {
    WritingStyle s;
    s.char_shift = 3, s.char_scale = 0.03, s.char_slant = 0.03, s.warp = 2.5;
    s.stroke_offset = 2.5, s.stroke_length = 0.06, s.stroke_turn = 0.04;
    s.end_change = 0.07, s.end_bias = -0.03, s.jitter = 0.5, s.tremor = 0.8;
    return s;
}

WritingStyle RecallStyle() {
    WritingStyle s;
    s.char_shift = 25, s.char_scale = 0.15, s.char_slant = 0.06, s.mean_scale = 0.85, s.warp = 6;
    s.stroke_offset = 6, s.stroke_length = 0.15, s.stroke_turn = 0.08;
    s.end_change = 0.10, s.end_bias = -0.04, s.jitter = 0.6, s.tremor = 1.0;
    return s;
}

Hand DrawHand(const WritingStyle& style, Random& random) {
    Hand hand;
    hand.style = style;
    hand.scale = style.mean_scale * std::exp(random.Normal(style.char_scale));
    hand.slant = random.Normal(style.char_slant);
    hand.dx = random.Normal(style.char_shift);
    hand.dy = random.Normal(style.char_shift);
    for (double& phase : hand.warp_phase) phase = random.Uniform(0, kTwoPi);
    // One to two waves across the canvas: smooth within a character.
    hand.warp_wave = kTwoPi / random.Uniform(250, 500);
    return hand;
}

Ink SampleLikePen(const Ink& line, const WritingStyle& style, Random& random) {
    const double length = practice::InkLength(line);
    const double seconds = 0.1 + length / random.Uniform(kSlowest, kFastest);
    const double rate = kRates[random.Below(std::size(kRates))];
    const size_t count = std::max<size_t>(2, static_cast<size_t>(seconds * rate));
    const double cycles = random.Uniform(0.5, 2), phase = random.Uniform(0, kTwoPi);
    const double tremor = random.Normal(style.tremor);
    Ink ink(random.Below(static_cast<size_t>(kPenDownSeconds * rate) + 1), line.front());
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(count - 1);
        const double u = t * t * t * (10 - 15 * t + 6 * t * t);  // minimum jerk
        const Point p = Along(line, u * length);
        const Point ahead = Along(line, std::min(u * length + 1, length));
        const Point behind = Along(line, std::max(u * length - 1, 0.0));
        const double tx = ahead.x - behind.x, ty = ahead.y - behind.y;
        const double norm = std::hypot(tx, ty);
        const double wobble = tremor * std::sin(kTwoPi * cycles * u + phase);
        const double nx = norm > 0 ? -ty / norm : 0, ny = norm > 0 ? tx / norm : 0;
        ink.push_back({p.x + nx * wobble + random.Normal(style.jitter),
                       p.y + ny * wobble + random.Normal(style.jitter)});
    }
    return ink;
}

Ink WriteStroke(const Ink& median, const Hand& hand, Random& random) {
    const WritingStyle& s = hand.style;
    Ink line = median.size() >= 2 ? median : Ink{median.front(), median.front()};
    line = ChangeEnds(Dense(line), s.end_bias + random.Normal(s.end_change),
                      s.end_bias + random.Normal(s.end_change));
    line = Reshape(line, 1 + random.Normal(s.stroke_length), random.Normal(s.stroke_turn),
                   {random.Normal(s.stroke_offset), random.Normal(s.stroke_offset)});
    for (Point& p : line) p = Placed(hand, p);
    return SampleLikePen(line, s, random);
}

}  // namespace bench
