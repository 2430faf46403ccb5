#include "compose.h"

#include "gfx/text.h"
#include "player_state.h"
#include "regionload.h"

namespace player {

std::string ComposeFrame(gfx::Bitmap& target, const gfx::Rect& area) {
    target.FillRect(area, gfx::kGray);
    const int32_t shown = ShownStroke.load();
    if (shown == -1) {
        if (const std::shared_ptr<const gfx::Bitmap> frame = FrameBitmap.Current()) {
            target.CopyFrom(*frame, 0, 0, kCanvasSide, kCanvasSide);
        } else if (!Commands.empty()) {
            target.FillRect(kCanvas, gfx::kWhite);
            target.FillRegion(LoadWholeCharacter(Commands, RegionFiles), gfx::kBlack);
        } else {
            target.FillRect(kCanvas, gfx::kLightGray);
            gfx::DrawTextCentered(target, kCanvas, kDropPrompt, gfx::kBlack);
        }
        return {};
    }
    target.FillRect(kCanvas, gfx::kWhite);
    if (shown < 0 || static_cast<size_t>(shown) >= RegionFiles.size()) return {};
    if (const gfx::MaybeRegion stroke = LoadRegionFile(RegionFiles[static_cast<size_t>(shown)])) {
        target.FillRegion(*stroke, gfx::kBlack);
    }
    return std::to_string(shown);
}

}  // namespace player
