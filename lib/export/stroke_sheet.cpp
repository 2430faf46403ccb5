#include "export/stroke_sheet.h"

#include <algorithm>
#include <string>

#include "gfx/font5x7.h"
#include "gfx/text.h"
#include "zep/canvas.h"
#include "zep/region_load.h"

namespace player {

namespace {

constexpr int32_t kRule = 1;  // the grid line around each cell
constexpr int32_t kPitch = kCanvasSide + kRule;
constexpr gfx::Color kGuideColour{200, 200, 200};
constexpr int32_t kDash = 6;  // length of the guide's dashes and of the gaps between them
constexpr int32_t kNumberMargin = 4;
constexpr int32_t kNumberScale = 2;

void DrawGuide(gfx::Bitmap& cell) {
    constexpr int32_t kMiddle = kCanvasSide / 2;
    for (int32_t at = 0; at < kCanvasSide; at += 2 * kDash) {
        cell.FillRect({at, kMiddle, at + kDash, kMiddle + 1}, kGuideColour);
        cell.FillRect({kMiddle, at, kMiddle + 1, at + kDash}, kGuideColour);
    }
}

// In a box that the number fills exactly at twice the font's size, so that
// it sits in the corner.
void DrawNumber(gfx::Bitmap& cell, size_t number) {
    const std::string text = std::to_string(number);
    const auto glyphs = static_cast<int32_t>(text.size());
    const int32_t width = (glyphs * (gfx::kGlyphWidth + 1) - 1) * kNumberScale;
    const gfx::Rect box{kNumberMargin, kNumberMargin, kNumberMargin + width,
                        kNumberMargin + gfx::kGlyphHeight * kNumberScale};
    gfx::DrawTextCentered(cell, box, text, gfx::kGray);
}

void DrawGrid(gfx::Bitmap& sheet) {
    for (int32_t x = 0; x < sheet.width(); x += kPitch) {
        sheet.FillRect({x, 0, x + kRule, sheet.height()}, gfx::kGray);
    }
    for (int32_t y = 0; y < sheet.height(); y += kPitch) {
        sheet.FillRect({0, y, sheet.width(), y + kRule}, gfx::kGray);
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
    constexpr size_t kMaxCells = 65536 / kPitch;
    if (down > kMaxCells) return std::nullopt;
    std::optional<gfx::Bitmap> sheet =
        gfx::Bitmap::Create(static_cast<int32_t>(across) * kPitch + kRule,
                            static_cast<int32_t>(down) * kPitch + kRule, gfx::PixelFormat::Rgb32);
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
        const auto left = static_cast<int32_t>(n % across) * kPitch + kRule;
        const auto top = static_cast<int32_t>(n / across) * kPitch + kRule;
        sheet->CopyFrom(cell, left, top, kCanvasSide, kCanvasSide);
        if (strokes[n]) base->FillRegion(*strokes[n], gfx::kBlack);
    }
    return sheet;
}

}  // namespace player
