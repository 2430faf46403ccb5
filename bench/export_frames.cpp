#include "export_frames.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>

#include "player/document.h"
#include "player/engine.h"
#include "player/export/stroke_sheet.h"
#include "player/player_state.h"
#include "player/recording_effects.h"

namespace export_bench {

namespace fs = std::filesystem;

namespace {

std::string RegionName(const std::string& name, int n) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%02d.rgn", n);
    return name + suffix;
}

bool Load(const fs::path& script) {
    std::error_code ec;
    return player::LoadDocument(
        script, [] {}, ec);
}

}  // namespace

std::vector<player::TimedFrame> PlayFrames(const fs::path& script, int32_t hold_ms) {
    if (!Load(script)) return {};
    player::PlayingFlag playing(1);
    player::RecordingEffects recorder(playing);
    player::RunAnimation(player::Commands, player::RegionFiles, playing, recorder);
    std::vector<player::TimedFrame> frames = recorder.Frames();
    if (!frames.empty()) frames.back().duration = hold_ms;
    return frames;
}

std::vector<gfx::MaybeRegion> LoadStrokeShapes(const fs::path& script) {
    if (!Load(script)) return {};
    return player::StrokeShapes(player::Commands, player::RegionFiles);
}

fs::path TenStrokeCharacter(const fs::path& samples, const fs::path& dir) {
    fs::create_directories(dir);
    std::string script;
    int number = 0;
    for (const char* name : {"ei", "kawa", "juu"}) {
        std::ifstream in(samples / (std::string(name) + ".zep"), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        script += text.str();
        for (int n = 0; fs::exists(samples / RegionName(name, n)); ++n) {
            fs::copy_file(samples / RegionName(name, n), dir / RegionName("ten-strokes", number++),
                          fs::copy_options::overwrite_existing);
        }
    }
    std::ofstream(dir / "ten-strokes.zep", std::ios::binary) << script;
    return dir / "ten-strokes.zep";
}

}  // namespace export_bench
