#include "player_state.h"

namespace player {

std::vector<StrokeCommand> Commands;
std::vector<std::filesystem::path> RegionFiles;
std::atomic<int32_t> ShownStroke{-1};
PlayingFlag Playing;
FrameSlot FrameBitmap;

}  // namespace player
