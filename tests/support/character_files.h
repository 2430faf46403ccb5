// Helpers of the tests that write characters: a scratch folder, region files
// written from pixel sets, the pixels of a colour.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gfx/bitmap.h"
#include "gfx/region.h"

namespace player_test {

namespace fs = std::filesystem;

// A fresh folder per test, removed at its end.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const fs::path& path() const { return path_; }
    fs::path Write(const std::string& name, const std::string& bytes) const;

private:
    fs::path path_;
};

// The bytes of a region file (rows) holding exactly the region's pixels,
// which must fit a box of at most 254 by 254 starting on the canvas.
std::string RegionFileBytes(const gfx::Region& region);

// The pixels of that colour within the canvas.
gfx::Region PixelsOf(const gfx::Bitmap& bitmap, gfx::Color color);

}  // namespace player_test
