// Regions: exact sets of integer pixels with unbounded 32-bit coordinates.
//
// A region is kept as bands: rows [top, bottom) that share one list of
// sorted, disjoint, non-touching half-open spans [x1, x2). Bands are sorted
// top to bottom, never overlap, hold at least one span, and two vertically
// adjacent bands never carry the same spans (they are merged). This form is
// canonical, so two regions are equal exactly when they hold the same pixels.
//
// A region that could not be made ("no region") is a disengaged
// std::optional<Region>; it is never the same as an empty region.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "gfx/geometry.h"

namespace gfx {

class Region {
public:
    struct Span {
        int32_t x1;
        int32_t x2;
        friend bool operator==(const Span&, const Span&) = default;
    };
    struct Band {
        int32_t top;
        int32_t bottom;
        uint32_t first_span;  // index into spans()
        uint32_t span_count;
        friend bool operator==(const Band&, const Band&) = default;
    };

    Region() = default;  // empty

    // Rasterising constructors clip to this window, which holds by far
    // everything a stroke or a sweep shape on the 254 by 254 canvas can reach,
    // so their time and memory stay bounded for any 32-bit input.
    static constexpr Rect kRasterWindow{-16384, -16384, 16384, 16384};

    static Region FromRect(const Rect& r);
    // Pixels whose centres lie inside the ellipse inscribed in the box; a box
    // with no width or height gives the empty region.
    static Region Ellipse(const Rect& box);
    // Even-odd (alternate) rule sampled at pixel centres (x + 0.5, y + 0.5).
    static Region Polygon(std::span<const Point> corners);
    // The union of the rectangles, in any order; empty rectangles add nothing.
    static Region FromRects(std::span<const Rect> rects);
    // Pixels whose centres lie within width / 2 of the line through points, in
    // order: a pen's trail, with round ends and joins (one point gives a disc).
    // Points that are not finite are left out; a width that is not positive
    // and finite gives the empty region.
    static Region ThickPolyline(std::span<const PointF> points, double width);

    bool IsEmpty() const { return bands_.empty(); }
    // The smallest rectangle holding every pixel; the empty Rect when empty.
    Rect Bounds() const;
    bool Contains(int32_t x, int32_t y) const;

    // The region scaled about the origin, then moved by (dx, dy), sampled at
    // pixel centres: pixel p is in the result when the pixel holding
    // (p + 1/2 - d) / scale is in this region. Clipped to kRasterWindow; a
    // scale that is not positive or a value that is not finite gives the
    // empty region.
    [[nodiscard]] Region Transformed(double scale, double dx, double dy) const;

    void Unite(const Region& other);
    void Intersect(const Region& other);
    Region United(const Region& other) const;
    Region Intersected(const Region& other) const;

    // Adds one rectangle. Amortised O(1) when it lies after everything already
    // in the region (below its last band, or in the last band's rows and to
    // the right of its last span), which is how a tracer adds pixels.
    void AddRect(const Rect& r);

    std::span<const Band> bands() const { return bands_; }
    std::span<const Span> spans() const { return spans_; }
    // The region as disjoint rectangles, band by band, left to right.
    std::vector<Rect> Rects() const;

    friend bool operator==(const Region&, const Region&) = default;

private:
    friend class RegionBuilder;
    // Whether AddRect can append r without walking the region.
    bool CanAppend(const Rect& r) const;
    void AppendRect(const Rect& r);
    // Merges the last band into the one above it when they touch and carry
    // the same spans; the last band's spans must end spans_.
    void CoalesceLastBand();

    std::vector<Band> bands_;
    std::vector<Span> spans_;
};

using MaybeRegion = std::optional<Region>;

// Result of a combination, as the player's callers test it.
enum class RegionKind { Error = 0, Null = 1, Simple = 2, Complex = 3 };

enum class CombineMode { Or, And };

// Stores a OR b (union) or a AND b (intersection) in dest. An absent operand
// or destination is an error: dest is left as it was and Error returned.
// Otherwise returns Null for an empty result, Simple for one rectangle and
// Complex for anything else. dest may be the same object as a or b.
RegionKind CombineRegions(MaybeRegion& dest, const MaybeRegion& a, const MaybeRegion& b,
                          CombineMode mode);

// The kind of a region as the combination would report it.
RegionKind KindOf(const Region& region);

}  // namespace gfx
