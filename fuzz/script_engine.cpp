// A script and its region files from any bytes, loaded as a document from a
// scratch folder and played by the engine with effects that only record: no
// time passes, and Stop is pressed after a few frames so that every input
// stays quick. The engine must end with the null frame, do nothing more once
// stopped, and paint red only on the character; a run that was not stopped
// ends on the still picture.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "animation/engine.h"
#include "animation/recording_effects.h"
#include "fuzz_targets.h"
#include "scratch_folder.h"
#include "gfx/bitmap.h"
#include "zep/canvas.h"
#include "zep/document.h"
#include "zep/region_load.h"
#include "zep/script.h"

namespace fs = std::filesystem;

namespace zepfuzz {

namespace {

constexpr size_t kFrameBudget = 12;
constexpr int32_t kGridStep = 3;

fs::path RegionFileName(const fs::path& folder, size_t n) {
    char name[16];
    std::snprintf(name, sizeof name, "c-%02zu.rgn", n);
    return folder / name;
}

// The script, then the region files in order.
std::vector<std::string_view> SplitInput(std::string_view input) {
    std::vector<std::string_view> parts;
    const std::string_view marker = kRegionMarker;
    size_t start = 0;
    for (size_t at = input.find(marker); at != std::string_view::npos; at = input.find(marker, start)) {
        parts.push_back(input.substr(start, at - start));
        start = at + marker.size();
    }
    parts.push_back(input.substr(start));
    return parts;
}

}  // namespace

void FuzzScriptEngine(const uint8_t* data, size_t size) {
    static const ScratchFolder folder("zep_fuzz");
    const std::vector<std::string_view> parts = SplitInput({reinterpret_cast<const char*>(data), size});
    const size_t region_files = std::min(parts.size() - 1, player::kMaxRegionFiles);

    const fs::path script = folder.path() / "c.zep";
    WriteFile(script, parts[0]);
    for (size_t n = 0; n < region_files; ++n) WriteFile(RegionFileName(folder.path(), n), parts[n + 1]);
    // The list of region files ends at the first missing number.
    std::error_code ec;
    fs::remove(RegionFileName(folder.path(), region_files), ec);

    const std::optional<player::Document> document = player::ReadDocument(script, ec);
    Require(document.has_value(), "a script in a readable file loads");
    Require(document->commands == player::ParseScript(parts[0]), "the document holds the parsed script");
    Require(document->region_files.size() == region_files, "the document lists every region file");

    player::PlayingFlag playing(1);
    player::RecordingEffects recorder(playing);
    recorder.StopAfterFrames(kFrameBudget);
    player::RunAnimation(document->commands, document->region_files, playing, recorder);
    const std::vector<player::Effect>& effects = recorder.effects();
    using player::EffectKind;
    Require(effects.back().kind == EffectKind::End, "the animation ends with the null frame");
    Require(recorder.Of(EffectKind::End).size() == 1, "nothing is published after the null frame");
    const std::vector<const player::Effect*> frames = recorder.Of(EffectKind::Frame);
    Require(!frames.empty(), "the animation shows the character first");
    for (const player::Effect* frame : frames) {
        const gfx::Bitmap& bitmap = *frame->frame;
        Require(bitmap.width() == player::kCanvasSide && bitmap.height() == player::kCanvasSide,
                "a frame is the canvas");
    }
    // The stop comes as a frame is shown: its repaint and pause may follow,
    // but no other frame and no click.
    if (const std::optional<size_t> stop = recorder.stopped_at()) {
        for (size_t i = *stop; i < effects.size(); ++i) {
            Require(effects[i].kind != EffectKind::Frame && effects[i].kind != EffectKind::Click,
                    "nothing is shown or sounded after a stop");
        }
    }
    const gfx::Bitmap& last = *frames.back()->frame;

    // The still picture is the whole character black on white; a frame may
    // differ from it only by red on the character's pixels. Checked on a grid
    // of pixels, as a full comparison would cost more than the run itself.
    const gfx::Region whole = player::LoadWholeCharacter(document->commands, document->region_files);
    const bool finished = playing.load() == 1;
    for (int32_t y = 0; y < player::kCanvasSide; y += kGridStep) {
        for (int32_t x = y / kGridStep % kGridStep; x < player::kCanvasSide; x += kGridStep) {
            const gfx::Color want = whole.Contains(x, y) ? gfx::kBlack : gfx::kWhite;
            const gfx::Color got = *last.GetPixel(x, y);
            if (got == want) continue;
            Require(!finished, "a finished animation ends on the still picture");
            Require(want == gfx::kBlack && got == gfx::kRed, "only the character's pixels turn red");
        }
    }
}

}  // namespace zepfuzz
