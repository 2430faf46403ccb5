#include "animation/compose.h"

#include "gfx/text.h"
#include "zep/canvas.h"
#include "zep/region_load.h"

namespace player {

std::string ComposeFrame(gfx::Bitmap& target, const gfx::Rect& area, const CanvasState& state) {
    target.FillRect(area, gfx::kGray);
    const int32_t shown = state.shown_stroke;
    if (shown == -1) {
        if (state.frame) {
            target.CopyFrom(*state.frame, 0, 0, kCanvasSide, kCanvasSide);
        } else if (!state.commands.empty()) {
            target.FillRect(kCanvas, gfx::kWhite);
            target.FillRegion(LoadWholeCharacter(state.commands, state.region_files), gfx::kBlack);
        } else {
            target.FillRect(kCanvas, gfx::kLightGray);
            gfx::DrawTextCentered(target, kCanvas, kDropPrompt, gfx::kBlack);
        }
        return {};
    }
    target.FillRect(kCanvas, gfx::kWhite);
    if (shown < 0 || static_cast<size_t>(shown) >= state.region_files.size()) return {};
    // A broken file shows nothing, but the counter still names the stroke.
    const gfx::MaybeRegion stroke = LoadRegionFile(state.region_files[static_cast<size_t>(shown)]);
    if (stroke) {
        target.FillRegion(*stroke, gfx::kBlack);
    }
    return std::to_string(shown);
}

}  // namespace player
