#include "export/animation_export.h"

#include <algorithm>
#include <optional>

#include "animation/engine.h"
#include "animation/playing_flag.h"
#include "animation/recording_effects.h"
#include "export/png_write.h"

namespace player {

std::vector<TimedFrame> PlayFrames(const Document& document, int32_t hold_ms) {
    PlayingFlag playing(1);
    RecordingEffects recorder(playing);
    RunAnimation(document.commands, document.region_files, playing, recorder);
    std::vector<TimedFrame> frames = recorder.Frames();
    if (!frames.empty()) frames.back().duration = hold_ms;
    return frames;
}

bool ExportGif(const Document& document, const std::filesystem::path& path, int32_t hold_ms,
               GifLoop loop, std::error_code& ec) {
    // Without a stroke there is no animation, only a blank canvas.
    if (std::none_of(document.commands.begin(), document.commands.end(),
                     [](const StrokeCommand& c) { return c.kind != CommandKind::Wait; })) {
        ec = std::make_error_code(std::errc::invalid_argument);
        return false;
    }
    const std::vector<TimedFrame> frames = PlayFrames(document, hold_ms);
    return SaveGif(path, frames, loop, ec);
}

bool ExportSheet(const Document& document, const std::filesystem::path& path, int32_t columns,
                 std::error_code& ec) {
    const std::optional<gfx::Bitmap> sheet =
        DrawStrokeSheet(StrokeShapes(document.commands, document.region_files), columns);
    if (!sheet) {
        ec = std::make_error_code(std::errc::invalid_argument);
        return false;
    }
    return SavePng(path, *sheet, ec, kSheetPixelsPerMetre);
}

}  // namespace player
