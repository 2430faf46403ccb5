// export_gif_frames: the animations of the bundled characters and of a
// ten-stroke one, for comparing our GIF files with other optimisers' of the
// same frames (compare_gif.sh).
//
//   export_gif_frames SAMPLES_DIR OUT_DIR
//
// writes for each character OUT_DIR/NAME/NNN.png, one picture per frame that
// is on screen for at least a centisecond, OUT_DIR/NAME/frames.txt with a line
// "DELAY_CS NNN.png" for each, and our own OUT_DIR/NAME.gif of the same frames.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "export/gif_encoder.h"
#include "export/png_write.h"
#include "export_frames.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t kHoldMs = 1500;

bool WriteCharacter(const fs::path& script, const fs::path& out) {
    const std::vector<player::TimedFrame> frames = export_bench::PlayFrames(script, kHoldMs);
    if (frames.empty()) return false;
    const std::string name = script.stem().string();
    std::error_code ec;
    if (!player::SaveGif(out / (name + ".gif"), frames, player::GifLoop::Forever, ec)) return false;

    std::vector<int64_t> durations;
    for (const player::TimedFrame& f : frames) durations.push_back(f.duration);
    const std::vector<int64_t> delays = player::CentisecondDelays(durations);
    fs::create_directories(out / name);
    std::ofstream list(out / name / "frames.txt");
    for (size_t i = 0; i < frames.size(); ++i) {
        if (delays[i] == 0 && i + 1 < frames.size()) continue;
        char file[32];
        std::snprintf(file, sizeof file, "%03zu.png", i);
        if (!player::SavePng(out / name / file, *frames[i].frame, ec)) return false;
        list << delays[i] << ' ' << file << '\n';
    }
    return static_cast<bool>(list);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: export_gif_frames SAMPLES_DIR OUT_DIR\n");
        return 1;
    }
    const fs::path samples = argv[1];
    const fs::path out = argv[2];
    std::vector<fs::path> scripts;
    for (const fs::directory_entry& entry : fs::directory_iterator(samples)) {
        if (entry.path().extension() == ".zep") scripts.push_back(entry.path());
    }
    std::sort(scripts.begin(), scripts.end());
    scripts.push_back(export_bench::TenStrokeCharacter(samples, out / "ten-strokes-source"));
    for (const fs::path& script : scripts) {
        std::fprintf(stderr, "\r%s      ", script.stem().string().c_str());
        if (!WriteCharacter(script, out)) {
            std::fprintf(stderr, "\nexport_gif_frames: cannot export %s\n",
                         script.string().c_str());
            return 1;
        }
    }
    std::fprintf(stderr, "\n");
    return 0;
}
