#include "zepplayer/lookup_canvas.h"

#include <vector>

#include "gfx/region.h"
#include "zep/canvas.h"
#include "zepplayer/ink_trail.h"

namespace player {

namespace {

void DrawInk(gfx::Bitmap& target, const std::vector<gfx::PointF>& ink, gfx::Color color) {
    const gfx::Region line = gfx::Region::ThickPolyline(ink, kInkWidth);
    target.FillRegion(line.Intersected(gfx::Region::FromRect(kCanvas)), color);
}

}  // namespace

void ComposeLookup(gfx::Bitmap& target, const gfx::Rect& area, const LookupSession& session) {
    target.FillRect(area, gfx::kGray);
    target.FillRect(kCanvas, gfx::kWhite);
    std::vector<gfx::PointF> points;
    for (const practice::Ink& stroke : session.strokes) {
        points.clear();
        for (const practice::Point& p : stroke) points.push_back({p.x, p.y});
        DrawInk(target, points, gfx::kBlack);
    }
    DrawInk(target, session.ink, kInkColor);
}

}  // namespace player
