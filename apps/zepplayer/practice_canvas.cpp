#include "zepplayer/practice_canvas.h"

#include <cstdint>

#include "gfx/region.h"
#include "gfx/text.h"
#include "zep/canvas.h"
#include "zepplayer/ink_trail.h"

namespace player {

namespace {

// Light enough that the learner's black strokes and ink stand out on it.
constexpr gfx::Color kGuide{215, 215, 215};
constexpr gfx::Rect kNoteBox{0, kCanvasSide - 24, kCanvasSide, kCanvasSide};

// Strokes placed for recall and ink may reach past the canvas, which is all
// that practice draws on.
void Fill(gfx::Bitmap& target, const gfx::Region& region, gfx::Color color) {
    target.FillRegion(region.Intersected(gfx::Region::FromRect(kCanvas)), color);
}

gfx::Region Placed(const gfx::Region& shape, const practice::Placement& placement) {
    return shape.Transformed(placement.scale, placement.dx, placement.dy);
}

// The pixels of one colour in a frame, as a region.
gfx::Region PixelsOf(const gfx::Bitmap& frame, gfx::Color color) {
    gfx::Region pixels;
    for (int32_t y = 0; y < frame.height(); ++y) {
        int32_t x = 0;
        while (x < frame.width()) {
            if (frame.GetPixel(x, y) != color) {
                ++x;
                continue;
            }
            const int32_t start = x;
            while (x < frame.width() && frame.GetPixel(x, y) == color) ++x;
            pixels.AddRect({start, y, x, y + 1});
        }
    }
    return pixels;
}

// A hint's frame is the stroke alone, black on white, painted red as it is
// swept. It is laid over the learner's picture in the learner's frame, the
// stroke grey rather than black, which would say it had been written.
void DrawHint(gfx::Bitmap& target, const gfx::Bitmap& frame, const practice::Placement& placement) {
    Fill(target, Placed(PixelsOf(frame, gfx::kBlack), placement), gfx::kGray);
    Fill(target, Placed(PixelsOf(frame, gfx::kRed), placement), gfx::kRed);
}

void DrawAcceptedStrokes(gfx::Bitmap& target, const PracticeSession& session) {
    const practice::Placement placement = SessionPlacement(session);
    const size_t accepted = session.judge->expected();
    for (size_t n = 0; n < accepted && n < session.shapes.size(); ++n) {
        const bool flashing = session.flash == PracticeFlash::Accepted && n + 1 == accepted;
        Fill(target, Placed(session.shapes[n], placement), flashing ? gfx::kRed : gfx::kBlack);
    }
}

}  // namespace

std::string ComposePractice(gfx::Bitmap& target, const gfx::Rect& area,
                            const PracticeSession& session, const gfx::Bitmap* frame) {
    target.FillRect(area, gfx::kGray);
    const bool complete = SessionComplete(session);
    const std::string counter = complete ? std::to_string(session.judge->mistakes())
                                         : std::to_string(session.judge->expected());
    if (frame && session.animation == PracticeAnimation::Whole) {
        target.CopyFrom(*frame, 0, 0, kCanvasSide, kCanvasSide);
        return counter;
    }
    target.FillRect(kCanvas, gfx::kWhite);
    if (session.mode == practice::Mode::Trace) {
        for (const gfx::Region& shape : session.shapes) Fill(target, shape, kGuide);
    }
    DrawAcceptedStrokes(target, session);
    if (frame && session.animation == PracticeAnimation::Hint) {
        DrawHint(target, *frame, SessionPlacement(session));
    }
    if (session.flash == PracticeFlash::Mistake) {
        Fill(target, gfx::Region::ThickPolyline(session.mistaken_ink, kInkWidth), gfx::kRed);
    }
    Fill(target, gfx::Region::ThickPolyline(session.ink, kInkWidth), kInkColor);
    gfx::DrawTextCentered(target, kNoteBox, session.note, complete ? gfx::kBlack : gfx::kRed);
    return counter;
}

}  // namespace player
