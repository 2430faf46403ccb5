// Region files from anywhere: the decoder must give no region or a region
// inside the header's box, and a shape that the encoder can write must come
// back from its own file unchanged.
#include <span>
#include <vector>

#include "fuzz_targets.h"
#include "gfx/region.h"
#include "picture/trace.h"
#include "zep/region_encode.h"
#include "zep/region_format.h"

namespace zepfuzz {

void FuzzRegionBytes(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const gfx::MaybeRegion shape = rgn::RegionFromBytes(bytes);
    if (!shape) return;
    Require(!shape->IsEmpty(), "a decoded region holds a pixel");

    const gfx::Rect bounds = shape->Bounds();
    const gfx::Rect box{bytes[1], bytes[2], bytes[1] + bytes[3], bytes[2] + bytes[4]};
    Require(bounds.left >= box.left && bounds.top >= box.top && bounds.right <= box.right &&
                bounds.bottom <= box.bottom,
            "a decoded region lies inside the header's box");

    // A box may overhang the canvas, so the shape's own corner may lie off it,
    // and only then is there no file for it.
    std::vector<uint8_t> file;
    const bool encoded = rgn::EncodeRegion(file, *shape);
    Require(encoded == (bounds.left < rgn::kCanvasSide && bounds.top < rgn::kCanvasSide),
            "a shape is encoded exactly when its corner lies on the canvas");
    if (!encoded) return;
    Require(file.size() <= rgn::kMaxFileSize, "an encoded file fits the format's size");
    Require(rgn::RegionFromBytes(file) == shape, "an encoded shape decodes to itself");
}

}  // namespace zepfuzz
