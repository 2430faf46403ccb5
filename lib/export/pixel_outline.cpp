#include "export/pixel_outline.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace player {

namespace {

// The window's pixels, and the edges between an inside and an outside pixel,
// each directed so that the inside lies on its right. Every corner has as many
// edges in as out, so walking them from any corner comes back to it.
struct EdgeGraph {
    gfx::Rect window;
    int32_t width = 0;
    std::vector<uint8_t> inside;  // window pixels, row by row
    std::vector<std::array<int32_t, 2>> out;  // per corner: up to two corners it leads to
    std::vector<uint8_t> out_count;

    bool Inside(int32_t x, int32_t y) const {
        if (!window.Contains(x, y)) return false;
        return inside[static_cast<size_t>((y - window.top) * width + (x - window.left))] != 0;
    }
    int32_t Corner(int32_t x, int32_t y) const {
        return (y - window.top) * (width + 1) + (x - window.left);
    }
    gfx::Point CornerPoint(int32_t corner) const {
        return {window.left + corner % (width + 1), window.top + corner / (width + 1)};
    }
    void AddEdge(gfx::Point from, gfx::Point to) {
        const auto at = static_cast<size_t>(Corner(from.x, from.y));
        out[at][out_count[at]++] = Corner(to.x, to.y);
    }
};

EdgeGraph InsidePixels(const gfx::Region& region, const gfx::Rect& window) {
    EdgeGraph graph;
    graph.window = window;
    graph.width = window.right - window.left;
    const int32_t height = window.bottom - window.top;
    graph.inside.assign(static_cast<size_t>(graph.width) * static_cast<size_t>(height), 0);
    const gfx::Region clipped = region.Intersected(gfx::Region::FromRect(window));
    for (const gfx::Rect& r : clipped.Rects()) {
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x) {
                graph.inside[static_cast<size_t>((y - window.top) * graph.width +
                                                 (x - window.left))] = 1;
            }
        }
    }
    const auto corners = static_cast<size_t>((graph.width + 1) * (height + 1));
    graph.out.assign(corners, {-1, -1});
    graph.out_count.assign(corners, 0);
    return graph;
}

void AddBoundaryEdges(EdgeGraph& graph) {
    const gfx::Rect& w = graph.window;
    for (int32_t y = w.top; y < w.bottom; ++y) {
        for (int32_t x = w.left; x < w.right; ++x) {
            if (!graph.Inside(x, y)) continue;
            if (!graph.Inside(x, y - 1)) graph.AddEdge({x, y}, {x + 1, y});
            if (!graph.Inside(x + 1, y)) graph.AddEdge({x + 1, y}, {x + 1, y + 1});
            if (!graph.Inside(x, y + 1)) graph.AddEdge({x + 1, y + 1}, {x, y + 1});
            if (!graph.Inside(x - 1, y)) graph.AddEdge({x, y + 1}, {x, y});
        }
    }
}

// Takes edges from start until the walk is back there. Where two pixels
// touch only at a corner, either way on is right: the edges are the same.
Contour WalkContour(EdgeGraph& graph, int32_t start) {
    Contour contour;
    int32_t corner = start;
    do {
        contour.push_back(graph.CornerPoint(corner));
        const auto at = static_cast<size_t>(corner);
        corner = graph.out[at][--graph.out_count[at]];
    } while (corner != start);
    return contour;
}

int32_t Sign(int32_t v) { return (v > 0) - (v < 0); }

// Drops the corners where the outline goes straight on.
Contour TurnsOnly(const Contour& contour) {
    Contour turns;
    const size_t n = contour.size();
    for (size_t i = 0; i < n; ++i) {
        const gfx::Point& before = contour[(i + n - 1) % n];
        const gfx::Point& here = contour[i];
        const gfx::Point& after = contour[(i + 1) % n];
        const bool straight = Sign(here.x - before.x) == Sign(after.x - here.x) &&
                              Sign(here.y - before.y) == Sign(after.y - here.y);
        if (!straight) turns.push_back(here);
    }
    return turns;
}

}  // namespace

std::vector<Contour> PixelOutline(const gfx::Region& region, const gfx::Rect& window) {
    if (window.IsEmpty()) return {};
    EdgeGraph graph = InsidePixels(region, window);
    AddBoundaryEdges(graph);
    std::vector<Contour> contours;
    for (size_t corner = 0; corner < graph.out_count.size(); ++corner) {
        while (graph.out_count[corner] != 0) {
            contours.push_back(TurnsOnly(WalkContour(graph, static_cast<int32_t>(corner))));
        }
    }
    return contours;
}

}  // namespace player
