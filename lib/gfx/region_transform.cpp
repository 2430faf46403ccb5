// A region scaled and moved, band by band: a band of source rows maps to one
// band of target rows, and each of its spans to one span.
#include <algorithm>
#include <cmath>

#include "gfx/region.h"
#include "gfx/region_builder.h"

namespace gfx {

namespace {

constexpr Rect kWindow = Region::kRasterWindow;

// The first target pixel whose centre maps at or beyond the source edge e:
// ceil(e * scale + shift - 1/2), within the window.
int32_t MappedEdge(int32_t e, double scale, double shift, int32_t lo, int32_t hi) {
    const double v = std::ceil(e * scale + shift - 0.5);
    return static_cast<int32_t>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
}

}  // namespace

Region Region::Transformed(double scale, double dx, double dy) const {
    const bool finite = std::isfinite(scale) && std::isfinite(dx) && std::isfinite(dy);
    if (!finite || !(scale > 0)) return {};
    RegionBuilder out;
    for (const Band& band : bands_) {
        const int32_t top = MappedEdge(band.top, scale, dy, kWindow.top, kWindow.bottom);
        const int32_t bottom = MappedEdge(band.bottom, scale, dy, kWindow.top, kWindow.bottom);
        // A band thinner than a target row may hold no row centre.
        if (top >= bottom) continue;
        out.BeginBand(top, bottom);
        for (uint32_t k = 0; k < band.span_count; ++k) {
            const Span& s = spans_[band.first_span + k];
            out.AddSpan(MappedEdge(s.x1, scale, dx, kWindow.left, kWindow.right),
                        MappedEdge(s.x2, scale, dx, kWindow.left, kWindow.right));
        }
        out.EndBand();
    }
    return out.Finish();
}

}  // namespace gfx
