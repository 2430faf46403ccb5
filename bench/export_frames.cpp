#include "export_frames.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>

#include "export/animation_export.h"
#include "export/stroke_sheet.h"
#include "zep/document.h"

namespace export_bench {

namespace fs = std::filesystem;

namespace {

std::string RegionName(const std::string& name, int n) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%02d.rgn", n);
    return name + suffix;
}

std::optional<player::Document> Load(const fs::path& script) {
    std::error_code ec;
    return player::ReadDocument(script, ec);
}

}  // namespace

std::vector<player::TimedFrame> PlayFrames(const fs::path& script, int32_t hold_ms) {
    const std::optional<player::Document> document = Load(script);
    if (!document) return {};
    return player::PlayFrames(*document, hold_ms);
}

std::vector<gfx::MaybeRegion> LoadStrokeShapes(const fs::path& script) {
    const std::optional<player::Document> document = Load(script);
    if (!document) return {};
    return player::StrokeShapes(document->commands, document->region_files);
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
