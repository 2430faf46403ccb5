// Picture files from anywhere: decoding gives no picture or the black pixels
// of its top-left square, which make a shape whose region file decodes back
// to it.
#include <span>
#include <variant>
#include <vector>

#include "fuzz_targets.h"
#include "gfx/region.h"
#include "picture/picture.h"
#include "picture/trace.h"
#include "zep/region_encode.h"
#include "zep/region_format.h"

namespace zepfuzz {

void FuzzPictureTrace(const uint8_t* data, size_t size) {
    const rgn::PictureResult result = rgn::DecodePicture(std::span<const uint8_t>(data, size));
    const auto* picture = std::get_if<rgn::BlackSquare>(&result);
    if (!picture) return;

    const gfx::Region shape = rgn::TraceBitmap(*picture, rgn::kCanvasSide);
    std::vector<uint8_t> file;
    const bool encoded = rgn::EncodeRegion(file, shape);
    Require(encoded == !shape.IsEmpty(), "every traced shape but the empty one is encoded");
    if (!encoded) return;
    const gfx::Rect bounds = shape.Bounds();
    Require(bounds.left >= 0 && bounds.top >= 0 && bounds.right <= rgn::kCanvasSide &&
                bounds.bottom <= rgn::kCanvasSide && bounds.right <= picture->width &&
                bounds.bottom <= picture->height,
            "a traced shape lies in the picture's top-left square");
    Require(rgn::RegionFromBytes(file) == shape, "a traced shape's file decodes to the shape");
    std::vector<uint8_t> direct;
    rgn::EncodeRegion(direct, picture->black);
    Require(direct == file, "the black pixels' file is the traced shape's");
}

}  // namespace zepfuzz
