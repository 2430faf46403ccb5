// Exports of a document's animation: its frames as Play shows them, the
// animated GIF of them and the stroke-order sheet. Each export runs an
// animation of its own, so the player's window and state are never touched.
#pragma once

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "animation/timed_frame.h"
#include "export/gif_encoder.h"
#include "export/stroke_sheet.h"
#include "zep/document.h"

namespace player {

// How long a GIF holds the finished character before it loops or ends.
inline constexpr int32_t kDefaultGifHoldMs = 1500;

// Every frame the canvas shows while Play runs over document, from the first
// to the finished character, each lasting until the next; the finished
// character lasts hold_ms instead of the animation's closing pause.
[[nodiscard]] std::vector<TimedFrame> PlayFrames(const Document& document, int32_t hold_ms);

// The animated GIF of those frames at path, or false with the reason in ec
// (invalid_argument when it has no strokes to animate).
bool ExportGif(const Document& document, const std::filesystem::path& path, int32_t hold_ms,
               GifLoop loop, std::error_code& ec);

// The stroke-order sheet of document at path, or false with the reason in ec
// (invalid_argument when it has no strokes to show).
bool ExportSheet(const Document& document, const std::filesystem::path& path, int32_t columns,
                 std::error_code& ec);

}  // namespace player
