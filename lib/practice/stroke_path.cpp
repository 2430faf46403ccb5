#include "practice/stroke_path.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "animation/reveal_order.h"

namespace practice {

namespace {

// Each value's rank among all, from 0 to 1; ties share their mean rank.
std::vector<double> Ranks(const std::vector<double>& values) {
    std::vector<size_t> order(values.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return values[a] < values[b]; });
    std::vector<double> ranks(values.size(), 0);
    const double last = values.size() > 1 ? static_cast<double>(values.size() - 1) : 1;
    for (size_t i = 0; i < order.size();) {
        size_t j = i;
        while (j < order.size() && values[order[j]] == values[order[i]]) ++j;
        const double mean = (static_cast<double>(i + j - 1)) / 2 / last;
        for (size_t k = i; k < j; ++k) ranks[order[k]] = mean;
        i = j;
    }
    return ranks;
}

// The position of each point along the points' long axis.
std::vector<double> AlongLongAxis(const std::vector<Point>& points) {
    double mx = 0, my = 0;
    for (const Point& p : points) {
        mx += p.x;
        my += p.y;
    }
    const double n = static_cast<double>(points.size());
    mx /= n;
    my /= n;
    double xx = 0, xy = 0, yy = 0;
    for (const Point& p : points) {
        xx += (p.x - mx) * (p.x - mx);
        xy += (p.x - mx) * (p.y - my);
        yy += (p.y - my) * (p.y - my);
    }
    const double angle = 0.5 * std::atan2(2 * xy, xx - yy);
    std::vector<double> along;
    along.reserve(points.size());
    for (const Point& p : points) {
        along.push_back((p.x - mx) * std::cos(angle) + (p.y - my) * std::sin(angle));
    }
    return along;
}

}  // namespace

RevealedStroke RevealStroke(const player::StrokeCommand& command, const gfx::Region& region) {
    RevealedStroke s;
    s.direction_judged = command.kind != player::CommandKind::Draw;
    for (const gfx::Point& p : player::RegionPixels(region)) {
        s.pixels.push_back({p.x + 0.5, p.y + 0.5});
    }
    if (s.pixels.empty()) return s;
    s.times =
        Ranks(s.direction_judged ? player::RevealTimes(command, region) : AlongLongAxis(s.pixels));
    return s;
}

std::vector<Point> RevealPath(const RevealedStroke& stroke, size_t slices) {
    std::vector<Point> sums(slices);
    std::vector<double> counts(slices, 0);
    for (size_t i = 0; i < stroke.pixels.size(); ++i) {
        const size_t slice = std::min(
            slices - 1, static_cast<size_t>(stroke.times[i] * static_cast<double>(slices)));
        sums[slice].x += stroke.pixels[i].x;
        sums[slice].y += stroke.pixels[i].y;
        ++counts[slice];
    }
    std::vector<Point> path;
    for (size_t k = 0; k < slices; ++k) {
        if (counts[k] > 0) path.push_back({sums[k].x / counts[k], sums[k].y / counts[k]});
    }
    return path;
}

}  // namespace practice
