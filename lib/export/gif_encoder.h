// Animated GIF files of the canvas's frames, with their real timing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

#include "animation/timed_frame.h"
#include "gfx/bitmap.h"

namespace player {

enum class GifLoop { Forever, Once };

// Whole centiseconds for frames shown for these times in ms (below 0 counts
// as 0). Frame i lasts from its nominal start rounded to the nearest
// centisecond to the next frame's, so every frame starts within 5 ms of its
// nominal time and the rounding never adds up over the file.
[[nodiscard]] std::vector<int64_t> CentisecondDelays(std::span<const int64_t> durations_ms);

// The GIF89a file showing each frame for its duration (rounded as above),
// looping forever or played once. A frame that does not last a whole
// centisecond is left out, except the last, and a frame equal to the one
// before it lengthens that one instead. Nothing when there are no frames, a
// frame is missing, not 32-bit or of another size than the first, a side is
// over 65,535, or the frames hold more than 256 colours.
[[nodiscard]] std::optional<std::vector<uint8_t>> EncodeGif(std::span<const TimedFrame> frames,
                                                            GifLoop loop);

// Writes that file in place of path's contents, or nothing (invalid_argument
// when the frames cannot be encoded).
bool SaveGif(const std::filesystem::path& path, std::span<const TimedFrame> frames, GifLoop loop,
             std::error_code& ec);

}  // namespace player
