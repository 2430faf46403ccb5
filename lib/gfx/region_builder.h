// Building a region band by band, top to bottom, in its canonical form.
// Used by the band walker and by the rasterising constructors; not part of
// the library's interface.
#pragma once

#include <cstdint>
#include <utility>

#include "gfx/region.h"

namespace gfx {

class RegionBuilder {
public:
    RegionBuilder() = default;
    // Continues below the last band of `start`.
    explicit RegionBuilder(Region start) : region_(std::move(start)) {}

    // Opens the band [top, bottom); it must lie at or below the previous one.
    void BeginBand(int32_t top, int32_t bottom);
    // Adds [x1, x2) to the open band. Spans come in increasing x1; one that
    // overlaps or touches the previous span extends it, an empty one is dropped.
    void AddSpan(int32_t x1, int32_t x2);
    // Closes the band: dropped when it got no span, merged into the band
    // above when it continues it with the same spans.
    void EndBand();
    // Appends a band of another region unchanged; its spans are canonical.
    void CopyBand(int32_t top, int32_t bottom, const Region::Span* spans, uint32_t count);

    Region Finish();

private:
    Region region_;
    int32_t top_ = 0;
    int32_t bottom_ = 0;
    size_t first_span_ = 0;
};

}  // namespace gfx
