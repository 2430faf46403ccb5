#include "zepplayer/player_state.h"

namespace player {

std::vector<StrokeCommand> Commands;
std::vector<std::filesystem::path> RegionFiles;
std::filesystem::path ScriptPath;
std::atomic<int32_t> ShownStroke{-1};
PlayingFlag Playing;
FrameSlot FrameBitmap;

}  // namespace player
