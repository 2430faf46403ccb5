// felmar: turns the black pixels of a picture's top-left 254 by 254 square
// into a region file, named after the picture with ".rgn" appended.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "gfx/bitmap.h"
#include "gfx/region.h"
#include "rgnconv/picture.h"
#include "rgnconv/rgnformat.h"
#include "rgnconv/trace.h"

namespace {

// The whole file or none of it: a failed write or close removes what was
// begun, so the player never meets a half-written shape.
bool WriteRegionFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    std::remove(path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("Usage: felmar input.bmp\n");
        return 1;
    }
    const std::string picture_path = argv[1];

    const std::optional<gfx::Bitmap> picture = rgn::LoadPicture(picture_path);
    if (!picture) {
        std::printf("Cannot load bmp '%s'\n", picture_path.c_str());
        return 1;
    }
    // Tracing always yields a region (possibly empty), so it has no failure of its own.
    const gfx::Region shape = rgn::TraceBitmap(*picture, rgn::kCanvasSide);
    std::vector<uint8_t> file_image;
    if (!rgn::EncodeRegion(file_image, shape)) {
        std::printf("Internal error #2\n");
        return 1;
    }
    const std::string output_path = picture_path + ".rgn";
    if (!WriteRegionFile(output_path, file_image)) {
        std::printf("Cannot write file '%s'\n", output_path.c_str());
        return 1;
    }
    return 0;
}
