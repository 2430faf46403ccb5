#include "zepkit/import.h"

#include <mutex>
#include <thread>

#include "lookup/stroke_index.h"
#include "picture/trace.h"
#include "practice/stroke_path.h"
#include "sys/files.h"
#include "zep/region_encode.h"
#include "zep/region_format.h"
#include "zep/script_format.h"
#include "zepkit/outline_fill.h"
#include "zepkit/stroke_data.h"
#include "zepkit/sweep_choice.h"

namespace fs = std::filesystem;

namespace zepkit {

namespace {

// Points of a stroke's path in the set's look-up index: enough to tell a hook
// from a bend at the look-up's resolution.
constexpr size_t kIndexedPathPoints = 12;

bool Fail(ImportResult& result, std::string reason) {
    result.error = std::move(reason);
    return false;
}

bool Import(ImportResult& result, const ReferenceStrokes* reference) {
    std::string text;
    std::error_code ec;
    if (!sys::ReadWholeFile(result.source, text, ec)) return Fail(result, ec.message());
    std::string reason;
    auto strokes = ParseCharacter(text, reason);
    if (!strokes) return Fail(result, reason);
    if (reference) {
        const std::u8string name = result.source.stem().u8string();
        result.japanese_order = CompareWithReference(
            *strokes, *reference, std::string(name.begin(), name.end()));
        FollowReference(result.japanese_order, *strokes);
    }

    std::vector<std::string>& files = result.character.regions;
    std::vector<player::StrokeCommand> commands;
    std::vector<lookup::IndexedStroke> indexed;
    for (const StrokeData& stroke : *strokes) {
        const gfx::Region shape = FillOutline(stroke.outline);
        std::vector<uint8_t> file;
        if (!rgn::EncodeRegion(file, shape)) {
            return Fail(result, "stroke " + std::to_string(files.size()) +
                                    " has no pixel on the canvas");
        }
        files.emplace_back(file.begin(), file.end());
        const SweepChoice choice = ChooseSweep(shape, stroke.median);
        commands.push_back(choice.command);
        const practice::RevealedStroke revealed = practice::RevealStroke(choice.command, shape);
        indexed.push_back({revealed.direction_judged,
                           practice::RevealPath(revealed, kIndexedPathPoints)});
        commands.push_back({player::CommandKind::Wait});
        result.strokes.push_back(choice.order);
    }
    const std::u8string name = result.source.stem().u8string();
    result.character.name.assign(name.begin(), name.end());
    result.character.script = player::FormatScript(commands);
    result.character.stroke_paths = lookup::EncodeStrokePaths(indexed);
    return true;
}

}  // namespace

ImportResult ImportCharacter(const fs::path& source, const ReferenceStrokes* reference) {
    ImportResult result{source, {}, {}, {}, {}};
    if (!Import(result, reference)) {
        result.strokes.clear();
        result.character = {};
    }
    return result;
}

std::vector<ImportResult> ImportAll(const std::vector<fs::path>& sources,
                                    const ReferenceStrokes* reference, unsigned threads,
                                    const std::function<void(size_t)>& done) {
    std::vector<ImportResult> results(sources.size());
    std::atomic<size_t> next{0};
    size_t finished = 0;
    std::mutex progress;
    auto work = [&] {
        for (size_t i; (i = next++) < sources.size();) {
            results[i] = ImportCharacter(sources[i], reference);
            const std::lock_guard lock(progress);
            done(++finished);
        }
    };
    {
        std::vector<std::jthread> pool;
        for (unsigned t = 1; t < std::max(1u, threads); ++t) pool.emplace_back(work);
        work();
    }  // every thread has finished here
    return results;
}

}  // namespace zepkit
