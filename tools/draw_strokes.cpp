// draw_strokes: draws each stroke of a character description (see
// stroke_outline.h) as its own picture for felmar: a 254 by 254 one-bit BMP,
// white, with the stroke in black.
//
//   draw_strokes NAME.strokes OUTPUT_PREFIX
//
// writes OUTPUT_PREFIX-00.bmp, OUTPUT_PREFIX-01.bmp, ... in writing order.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "animation/bmpwrite.h"
#include "brush.h"
#include "gfx/bitmap.h"
#include "stroke_outline.h"
#include "sys/files.h"
#include "zep/region_format.h"

namespace {

// Two digits, like the region files the pictures become.
constexpr size_t kMaxStrokes = rgn::kMaxRegionFiles;

std::string PictureName(const std::string& prefix, size_t n) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%02zu.bmp", n);
    return prefix + suffix;
}

bool WritePicture(const std::string& path, const gfx::Region& stroke) {
    std::optional<gfx::Bitmap> picture = gfx::Bitmap::Create(tools::kCanvasSide, tools::kCanvasSide, gfx::PixelFormat::Mono1);
    if (!picture) return false;
    picture->FillRegion(stroke, gfx::kBlack);
    const std::optional<std::vector<uint8_t>> file = player::EncodeBitmapFile(*picture);
    std::error_code ec;
    return file && sys::ReplaceFileContents(path, *file, ec);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: draw_strokes NAME.strokes OUTPUT_PREFIX\n");
        return 1;
    }
    const std::string description_path = argv[1];
    const std::string prefix = argv[2];

    std::string text;
    std::error_code ec;
    if (!sys::ReadWholeFile(description_path, text, ec)) {
        std::fprintf(stderr, "draw_strokes: cannot read '%s': %s\n", description_path.c_str(), ec.message().c_str());
        return 1;
    }
    std::vector<tools::StrokeOutline> strokes;
    std::string error;
    if (!tools::ParseStrokeOutlines(text, strokes, error)) {
        std::fprintf(stderr, "draw_strokes: %s: %s\n", description_path.c_str(), error.c_str());
        return 1;
    }
    if (strokes.empty() || strokes.size() > kMaxStrokes) {
        std::fprintf(stderr, "draw_strokes: %s: wants 1 to 100 strokes\n", description_path.c_str());
        return 1;
    }
    for (size_t n = 0; n < strokes.size(); ++n) {
        const gfx::Region pixels = tools::BrushStroke(strokes[n]);
        // felmar refuses a picture without a black pixel; say which stroke it is.
        if (pixels.IsEmpty()) {
            std::fprintf(stderr, "draw_strokes: %s: stroke %zu covers no pixel\n", description_path.c_str(), n);
            return 1;
        }
        const std::string path = PictureName(prefix, n);
        if (!WritePicture(path, pixels)) {
            std::fprintf(stderr, "draw_strokes: cannot write '%s'\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
