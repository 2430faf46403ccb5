#include "zepkit/import.h"

#include <mutex>
#include <thread>

#include "picture/trace.h"
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

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

bool Fail(ImportResult& result, std::string reason) {
    result.error = std::move(reason);
    return false;
}

bool Import(ImportResult& result, const fs::path& out_dir, const ReferenceStrokes* reference) {
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

    std::vector<std::vector<uint8_t>> files;
    std::vector<player::StrokeCommand> commands;
    for (const StrokeData& stroke : *strokes) {
        const gfx::Region shape = FillOutline(stroke.outline);
        files.emplace_back();
        if (!rgn::EncodeRegion(files.back(), shape)) {
            return Fail(result, "stroke " + std::to_string(files.size() - 1) +
                                    " has no pixel on the canvas");
        }
        const SweepChoice choice = ChooseSweep(shape, stroke.median);
        commands.push_back(choice.command);
        commands.push_back({player::CommandKind::Wait});
        result.strokes.push_back(choice.order);
    }
    const fs::path base = out_dir / result.source.stem();
    for (size_t n = 0; n < files.size(); ++n) {
        fs::path name = base;
        name += rgn::RegionFileSuffix(n);
        if (!sys::ReplaceFileContents(name, files[n], ec)) return Fail(result, ec.message());
    }
    // A file numbered after the last stroke, left from an earlier import,
    // would be taken for one more stroke.
    fs::path surplus = base;
    surplus += rgn::RegionFileSuffix(files.size());
    fs::remove(surplus, ec);
    fs::path script = base;
    script += ".zep";
    if (!sys::ReplaceFileContents(script, Bytes(player::FormatScript(commands)), ec)) {
        return Fail(result, ec.message());
    }
    return true;
}

}  // namespace

ImportResult ImportCharacter(const fs::path& source, const fs::path& out_dir,
                             const ReferenceStrokes* reference) {
    ImportResult result{source, {}, {}, {}};
    if (!Import(result, out_dir, reference)) result.strokes.clear();
    return result;
}

std::vector<ImportResult> ImportAll(const std::vector<fs::path>& sources, const fs::path& out_dir,
                                    const ReferenceStrokes* reference, unsigned threads,
                                    const std::function<void(size_t)>& done) {
    std::vector<ImportResult> results(sources.size());
    std::atomic<size_t> next{0};
    size_t finished = 0;
    std::mutex progress;
    auto work = [&] {
        for (size_t i; (i = next++) < sources.size();) {
            results[i] = ImportCharacter(sources[i], out_dir, reference);
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
