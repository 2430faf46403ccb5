#include "animation/engine.h"

#include <memory>
#include <optional>
#include <utility>

#include "animation/engine_geometry.h"
#include "gfx/region.h"
#include "zep/canvas.h"
#include "zep/region_load.h"

namespace player {

namespace {

constexpr int32_t kStartPause = 200;
constexpr int32_t kWaitPause = 500;
constexpr int32_t kDrawPause = 50;
constexpr int32_t kFramePause = 35;
constexpr int32_t kEndPause = 500;

// A sweep that has turned twice past its start angle has covered every
// direction twice over; a longer one (angles far apart in the 32-bit range)
// ends there instead of running for hours. Ordinary scripts never reach it.
constexpr int64_t kMaxSweepDegrees = 720;

// One run's drawing state. The canvas is private to the run and always holds
// the base picture (white, the whole character in black) with every pixel
// painted so far in red; frames are published as copies of it.
struct Run {
    std::span<const StrokeCommand> commands;
    std::span<const std::filesystem::path> region_files;
    const PlayingFlag& playing;
    AnimationEffects& effects;
    gfx::Region whole;
    gfx::Bitmap canvas;
};

bool Stopped(const Run& run) { return run.playing.load() == 0; }

void DrawBase(Run& run) {
    run.canvas.FillRect(kCanvas, gfx::kWhite);
    run.canvas.FillRegion(run.whole, gfx::kBlack);
}

void ShowFrame(Run& run, bool erase) {
    run.effects.PublishFrame(std::make_shared<const gfx::Bitmap>(run.canvas));
    run.effects.RequestRepaint(erase);
}

// The part of shape that lies in the stroke, and whether it was found empty.
// A missing stroke makes the intersection fail, which is not "empty": such a
// stroke takes its full time and paints nothing.
struct StrokePart {
    gfx::Region pixels;
    bool found_empty;
};

StrokePart PartInStroke(const gfx::MaybeRegion& shape, const gfx::MaybeRegion& stroke) {
    gfx::MaybeRegion part = gfx::Region();
    const bool empty = gfx::CombineRegions(part, shape, stroke, gfx::CombineMode::And) == gfx::RegionKind::Null;
    return {std::move(*part), empty};
}

gfx::MaybeRegion Band(int32_t angle, int32_t t) { return gfx::Region::Polygon(BandCorners(angle, t)); }

// Returns false when stopped.
bool LinearSweep(Run& run, const StrokeCommand& command, const gfx::MaybeRegion& stroke) {
    const int32_t angle = command.param1;
    // Bands before the first one that meets the stroke cost no frame and no time.
    std::optional<int32_t> first;
    for (int32_t t = kFirstBand; t < kBandLimit && !first; t += kBandStep) {
        if (Stopped(run)) return false;
        if (!PartInStroke(Band(angle, t), stroke).found_empty) first = t;
    }
    if (!first) return true;
    for (int32_t t = *first; t < kBandLimit; t += kBandStep) {
        if (Stopped(run)) return false;
        const StrokePart part = PartInStroke(Band(angle, t), stroke);
        run.canvas.FillRegion(part.pixels, gfx::kRed);
        ShowFrame(run, false);
        if (part.found_empty) break;
        run.effects.Sleep(kFramePause);
    }
    return true;
}

int32_t CircleMisses(const StrokeCommand& command, const gfx::MaybeRegion& stroke) {
    int32_t misses = 0;
    while (misses < kCircleCount) {
        const gfx::MaybeRegion circle =
            gfx::Region::Ellipse(CircleBox(command.param3, command.param4, misses * kCircleStep));
        if (!PartInStroke(circle, stroke).found_empty) break;
        ++misses;
    }
    return misses;
}

// Returns false when stopped.
bool PivotSweep(Run& run, const StrokeCommand& command, const gfx::MaybeRegion& stroke) {
    // Angles are 64-bit so that stepping past either end of the 32-bit range
    // cannot overflow.
    const int64_t a1 = command.param1;
    const int64_t a2 = command.param2;
    const int64_t d = a1 <= a2 ? 1 : -1;
    const int64_t step = AngularStep(CircleMisses(command, stroke));
    bool painted_yet = false;
    for (int64_t b0 = a1;;) {
        if (Stopped(run)) return false;
        const int64_t b1 = b0 + d * step;
        const gfx::MaybeRegion slice =
            gfx::Region::Polygon(SliceCorners(b0, b1, command.param3, command.param4));
        const StrokePart part = PartInStroke(slice, stroke);
        run.canvas.FillRegion(part.pixels, gfx::kRed);
        ShowFrame(run, true);
        if (part.found_empty && painted_yet) break;
        if (!part.found_empty) painted_yet = true;
        run.effects.Sleep(kFramePause);
        if (d * b1 > d * a2 || d * (b1 - a1) > kMaxSweepDegrees) break;
        b0 = b1;
    }
    return true;
}

// Returns false when stopped.
bool PlayCommands(Run& run) {
    size_t stroke_number = 0;
    for (const StrokeCommand& command : run.commands) {
        // A sweep checks before each of its frames; a Wait and a Draw check
        // here, so that a stop in the pause before them ends the run at once.
        const bool sweep =
            command.kind == CommandKind::LinearSweep || command.kind == CommandKind::PivotSweep;
        if (!sweep && Stopped(run)) return false;
        if (command.kind == CommandKind::Wait) {
            run.effects.Sleep(kWaitPause);
            if (Stopped(run)) return false;
            run.effects.PlayClick();
            continue;
        }
        const gfx::MaybeRegion stroke = LoadStrokeRegion(run.region_files, stroke_number++);
        switch (command.kind) {
            case CommandKind::Draw:
                if (stroke) run.canvas.FillRegion(*stroke, gfx::kRed);
                ShowFrame(run, true);
                run.effects.Sleep(kDrawPause);
                break;
            case CommandKind::LinearSweep:
                if (!LinearSweep(run, command, stroke)) return false;
                break;
            case CommandKind::PivotSweep:
                if (!PivotSweep(run, command, stroke)) return false;
                break;
            case CommandKind::Wait:
                break;
        }
    }
    return !Stopped(run);
}

// The still picture again after a pause, held for another.
void PlayEnd(Run& run) {
    run.effects.Sleep(kEndPause);
    if (Stopped(run)) return;
    DrawBase(run);
    ShowFrame(run, false);
    run.effects.Sleep(kEndPause);
}

}  // namespace

int32_t RunAnimation(std::span<const StrokeCommand> commands,
                     std::span<const std::filesystem::path> region_files, const PlayingFlag& playing,
                     AnimationEffects& effects) {
    std::optional<gfx::Bitmap> canvas = gfx::Bitmap::Create(kCanvasSide, kCanvasSide, gfx::PixelFormat::Rgb32);
    if (!canvas) return 0;
    Run run{commands, region_files, playing, effects, LoadWholeCharacter(commands, region_files),
            std::move(*canvas)};

    DrawBase(run);
    ShowFrame(run, false);
    effects.BringToFront();
    if (!Stopped(run)) {
        effects.Sleep(kStartPause);
        if (!Stopped(run)) {
            effects.PlayClick();
            if (PlayCommands(run)) PlayEnd(run);
        }
    }
    effects.PublishFrame(nullptr);
    return 0;
}

}  // namespace player
