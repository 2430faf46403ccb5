#include "zepplayer/shell_win32/bitmap_dib.h"

#include <span>
#include <vector>

namespace shell_win32 {

namespace {

// The rows from the top, each source pixel repeated scale times both ways.
std::vector<uint32_t> ScaledRows(const gfx::Bitmap& picture, int32_t scale, int32_t width,
                                 int32_t height) {
    std::vector<uint32_t> rows(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        const std::span<const uint32_t> source = picture.Row(y / scale);
        uint32_t* row = rows.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x) row[x] = source[static_cast<size_t>(x / scale)];
    }
    return rows;
}

}  // namespace

void DrawScaled(HDC dc, const gfx::Bitmap& picture, int32_t scale, int32_t width, int32_t height) {
    if (scale < 1 || width > picture.width() * scale || height > picture.height() * scale) return;
    const std::vector<uint32_t> rows = ScaledRows(picture, scale, width, height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;  // 0x00RRGGBB, as our bitmaps hold them
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
}

}  // namespace shell_win32
