#include "practice/character_model.h"

#include <algorithm>
#include <cmath>

#include "practice/judge.h"
#include "practice/stroke_path.h"
#include "zep/region_load.h"

namespace practice {

namespace {

// How far around a stroke the nearest-pixel grid reaches: beyond it a point is
// off the stroke by any measure, and the grid's edge answers well enough.
constexpr int32_t kGridMargin = 48;
constexpr size_t kPathPoints = 12;
// A region file's box is at most 255 by 255 pixels, so an index fits 16 bits.
constexpr uint16_t kNone = UINT16_MAX;

// Nearest pixels by two raster passes that hand each cell its neighbours'
// nearest pixel where that is nearer (exact but for rare cells, and those off
// by a fraction of a pixel).
void FillGrid(StrokeModel& s, const gfx::Rect& bounds) {
    s.grid = {bounds.left - kGridMargin, bounds.top - kGridMargin, bounds.right + kGridMargin,
              bounds.bottom + kGridMargin};
    const int32_t w = s.grid.right - s.grid.left, h = s.grid.bottom - s.grid.top;
    s.nearest.assign(static_cast<size_t>(w) * static_cast<size_t>(h), kNone);
    std::vector<double> squared(s.nearest.size(), INFINITY);
    const auto cell = [&](int32_t x, int32_t y) {
        return static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
    };
    for (size_t i = 0; i < s.pixels.size(); ++i) {
        const size_t c = cell(static_cast<int32_t>(s.pixels[i].x) - s.grid.left,
                              static_cast<int32_t>(s.pixels[i].y) - s.grid.top);
        s.nearest[c] = static_cast<uint16_t>(i);
        squared[c] = 0;
    }
    const auto offer = [&](int32_t x, int32_t y, int32_t nx, int32_t ny) {
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) return;
        const uint16_t n = s.nearest[cell(nx, ny)];
        if (n == kNone) return;
        const double dx = s.pixels[n].x - (x + s.grid.left + 0.5);
        const double dy = s.pixels[n].y - (y + s.grid.top + 0.5);
        const double d = dx * dx + dy * dy;
        if (d < squared[cell(x, y)]) {
            squared[cell(x, y)] = d;
            s.nearest[cell(x, y)] = n;
        }
    };
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            offer(x, y, x - 1, y - 1), offer(x, y, x, y - 1), offer(x, y, x + 1, y - 1);
            offer(x, y, x - 1, y);
        }
        for (int32_t x = w - 1; x >= 0; --x) offer(x, y, x + 1, y);
    }
    for (int32_t y = h - 1; y >= 0; --y) {
        for (int32_t x = w - 1; x >= 0; --x) {
            offer(x, y, x + 1, y + 1), offer(x, y, x, y + 1), offer(x, y, x - 1, y + 1);
            offer(x, y, x + 1, y);
        }
        for (int32_t x = 0; x < w; ++x) offer(x, y, x - 1, y);
    }
}

StrokeModel ModelStroke(const player::StrokeCommand& command, size_t index,
                        const gfx::Region& region) {
    RevealedStroke revealed = RevealStroke(command, region);
    StrokeModel s;
    s.command = index;
    s.direction_judged = revealed.direction_judged;
    s.path = RevealPath(revealed, kPathPoints);
    s.length = InkLength(s.path);
    s.pixels = std::move(revealed.pixels);
    s.times = std::move(revealed.times);
    FillGrid(s, region.Bounds());
    return s;
}

}  // namespace

NearestPixel FindNearest(const StrokeModel& stroke, Point p) {
    const int32_t w = stroke.grid.right - stroke.grid.left;
    const int32_t h = stroke.grid.bottom - stroke.grid.top;
    // fmax and fmin take a coordinate that is not a number to the grid's edge.
    const double cx = std::fmin(std::fmax(std::floor(p.x) - stroke.grid.left, 0.0), w - 1.0);
    const double cy = std::fmin(std::fmax(std::floor(p.y) - stroke.grid.top, 0.0), h - 1.0);
    const uint16_t n =
        stroke.nearest[static_cast<size_t>(cy) * static_cast<size_t>(w) + static_cast<size_t>(cx)];
    const Point pixel = stroke.pixels[n];
    // To the pixel's square, not its centre, so that a point inside the stroke is at 0.
    const double dx = std::max(std::abs(p.x - pixel.x) - 0.5, 0.0);
    const double dy = std::max(std::abs(p.y - pixel.y) - 0.5, 0.0);
    return {std::hypot(dx, dy), stroke.times[n], pixel};
}

std::shared_ptr<const CharacterModel> BuildCharacterModel(
    std::span<const player::StrokeCommand> commands,
    std::span<const std::filesystem::path> region_files) {
    auto model = std::make_shared<CharacterModel>();
    size_t stroke = 0;
    for (size_t c = 0; c < commands.size(); ++c) {
        if (commands[c].kind == player::CommandKind::Wait) continue;
        const gfx::MaybeRegion region = player::LoadStrokeRegion(region_files, stroke);
        if (!region || region->IsEmpty()) return nullptr;
        model->strokes.push_back(ModelStroke(commands[c], c, *region));
        ++stroke;
    }
    if (model->strokes.empty()) return nullptr;
    return model;
}

size_t StrokeCount(const CharacterModel& model) { return model.strokes.size(); }

size_t CommandOfStroke(const CharacterModel& model, size_t n) {
    return model.strokes[std::min(n, model.strokes.size() - 1)].command;
}

}  // namespace practice
