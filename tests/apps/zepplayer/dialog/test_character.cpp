#include "test_character.h"

#include <fstream>

namespace dialog_test {

namespace {

// Row-ordered region file: header, then each row one run across the box.
std::string RectangleFile(const gfx::Rect& r) {
    const int32_t width = r.right - r.left;
    const int32_t height = r.bottom - r.top;
    std::string bytes = {'h', static_cast<char>(r.left), static_cast<char>(r.top), static_cast<char>(width),
                         static_cast<char>(height)};
    for (int32_t y = 0; y < height; ++y) bytes += {'\0', static_cast<char>(width), '\xFF'};
    return bytes;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

std::filesystem::path WriteCharacter(const std::filesystem::path& folder, const std::string& name,
                                     const std::string& script, const std::vector<gfx::Rect>& strokes) {
    std::filesystem::create_directories(folder);
    for (size_t n = 0; n < strokes.size(); ++n) {
        const std::string number = (n < 10 ? "-0" : "-") + std::to_string(n);
        WriteFile(folder / (name + number + ".rgn"), RectangleFile(strokes[n]));
    }
    const std::filesystem::path path = folder / (name + ".zep");
    WriteFile(path, script);
    return path;
}

}  // namespace dialog_test
