#include "export/stroke_sheet.h"

#include <algorithm>
#include <string>

#include "gfx/font5x7.h"
#include "zep/canvas.h"
#include "zep/region_load.h"

namespace player {

namespace {

constexpr int32_t kRule = 1;  // the grid line around each cell
constexpr int32_t kPitch = kCanvasSide + kRule;
// Printed, a guide lighter than mid-grey or one pixel thin fades away.
constexpr gfx::Color kGuideColour = gfx::kGray;
constexpr int32_t kGuideWidth = 2;
constexpr int32_t kDash = 8;  // length of the guide's dashes and of the gaps between them
constexpr int32_t kNumberMargin = 4;
// 21 pixels high: about 1.7 mm at 20 mm a cell, readable on paper.
constexpr int32_t kNumberScale = 3;

void DrawGuide(gfx::Bitmap& cell) {
    constexpr int32_t kMiddle = (kCanvasSide - kGuideWidth) / 2;
    for (int32_t at = 0; at < kCanvasSide; at += 2 * kDash) {
        cell.FillRect({at, kMiddle, at + kDash, kMiddle + kGuideWidth}, kGuideColour);
        cell.FillRect({kMiddle, at, kMiddle + kGuideWidth, at + kDash}, kGuideColour);
    }
}

// The built-in font at three times its size, in the cell's top left corner.
void DrawNumber(gfx::Bitmap& cell, size_t number) {
    const std::string text = std::to_string(number);
    for (size_t i = 0; i < text.size(); ++i) {
        const auto& rows = gfx::kGlyphRows[text[i] - gfx::kFirstGlyph];
        const int32_t left =
            kNumberMargin + static_cast<int32_t>(i) * (gfx::kGlyphWidth + 1) * kNumberScale;
        for (int32_t row = 0; row < gfx::kGlyphHeight; ++row) {
            for (int32_t col = 0; col < gfx::kGlyphWidth; ++col) {
                if (rows[row][col] != '#') continue;
                const int32_t x = left + col * kNumberScale;
                const int32_t y = kNumberMargin + row * kNumberScale;
                cell.FillRect({x, y, x + kNumberScale, y + kNumberScale}, gfx::kBlack);
            }
        }
    }
}

// The grid inside the white margin.
void DrawGrid(gfx::Bitmap& sheet) {
    const int32_t right = sheet.width() - kSheetMargin;
    const int32_t bottom = sheet.height() - kSheetMargin;
    for (int32_t x = kSheetMargin; x < right; x += kPitch) {
        sheet.FillRect({x, kSheetMargin, x + kRule, bottom}, gfx::kGray);
    }
    for (int32_t y = kSheetMargin; y < bottom; y += kPitch) {
        sheet.FillRect({kSheetMargin, y, right, y + kRule}, gfx::kGray);
    }
}

}  // namespace

std::vector<gfx::MaybeRegion> StrokeShapes(const std::vector<StrokeCommand>& commands,
                                           const std::vector<std::filesystem::path>& files) {
    std::vector<gfx::MaybeRegion> shapes;
    for (const StrokeCommand& command : commands) {
        if (command.kind != CommandKind::Wait)
            shapes.push_back(LoadStrokeRegion(files, shapes.size()));
    }
    return shapes;
}

std::optional<gfx::Bitmap> DrawStrokeSheet(std::span<const gfx::MaybeRegion> strokes,
                                           int32_t columns) {
    if (strokes.empty()) return std::nullopt;
    const size_t across =
        std::clamp<size_t>(static_cast<size_t>(std::max(columns, 1)), 1, strokes.size());
    const size_t down = (strokes.size() + across - 1) / across;
    // Beyond this a side is too long for a bitmap anyway.
    constexpr size_t kMaxCells = (65536 - 2 * kSheetMargin - kRule) / kPitch;
    if (down > kMaxCells) return std::nullopt;
    std::optional<gfx::Bitmap> sheet = gfx::Bitmap::Create(
        static_cast<int32_t>(across) * kPitch + kRule + 2 * kSheetMargin,
        static_cast<int32_t>(down) * kPitch + kRule + 2 * kSheetMargin, gfx::PixelFormat::Rgb32);
    std::optional<gfx::Bitmap> base =
        gfx::Bitmap::Create(kCanvasSide, kCanvasSide, gfx::PixelFormat::Rgb32);
    if (!sheet || !base) return std::nullopt;
    DrawGrid(*sheet);
    DrawGuide(*base);

    // base holds the guide and every stroke before the current one in black.
    for (size_t n = 0; n < strokes.size(); ++n) {
        gfx::Bitmap cell = *base;
        if (strokes[n]) cell.FillRegion(*strokes[n], gfx::kRed);
        DrawNumber(cell, n + 1);
        const auto left = kSheetMargin + static_cast<int32_t>(n % across) * kPitch + kRule;
        const auto top = kSheetMargin + static_cast<int32_t>(n / across) * kPitch + kRule;
        sheet->CopyFrom(cell, left, top, kCanvasSide, kCanvasSide);
        if (strokes[n]) base->FillRegion(*strokes[n], gfx::kBlack);
    }
    return sheet;
}

}  // namespace player
