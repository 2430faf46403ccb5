#include "support/character_files.h"

#include <atomic>
#include <fstream>

#include "zep/canvas.h"

namespace player_test {

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path() /
            ("zep_core_" + std::string(info ? info->name() : "x") + "_" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

fs::path ScratchDir::Write(const std::string& name, const std::string& bytes) const {
    // The name is UTF-8, which Windows would take for its ANSI code page.
    const fs::path file = path_ / fs::path(std::u8string(name.begin(), name.end()));
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

std::string RegionFileBytes(const gfx::Region& region) {
    const gfx::Rect box = region.Bounds();
    std::string bytes = {'h', static_cast<char>(box.left), static_cast<char>(box.top),
                         static_cast<char>(box.right - box.left), static_cast<char>(box.bottom - box.top)};
    for (int32_t y = box.top; y < box.bottom; ++y) {
        for (int32_t x = box.left; x < box.right;) {
            if (!region.Contains(x, y)) {
                ++x;
                continue;
            }
            const int32_t start = x;
            while (x < box.right && region.Contains(x, y)) ++x;
            bytes += static_cast<char>(start - box.left);
            bytes += static_cast<char>(x - start);
        }
        bytes += '\xFF';
    }
    return bytes;
}

gfx::Region PixelsOf(const gfx::Bitmap& bitmap, gfx::Color color) {
    gfx::Region pixels;
    for (int32_t y = 0; y < 254; ++y) {
        for (int32_t x = 0; x < 254; ++x) {
            if (bitmap.GetPixel(x, y) == color) pixels.AddRect({x, y, x + 1, y + 1});
        }
    }
    return pixels;
}

}  // namespace player_test
