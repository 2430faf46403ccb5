// An imported set from any bytes: reading a character never crashes and
// either refuses with a reason or gives a record within the format's limits,
// which unpacks into files that load as a document of as many region files,
// and which a set written afresh gives back unchanged. The look-up's stroke
// paths are read too: each either refused or kept exactly as it is stored.
#include <string>
#include <system_error>

#include "fuzz_targets.h"
#include "lookup/stroke_index.h"
#include "scratch_folder.h"
#include "zep/character_files.h"
#include "zep/character_store.h"
#include "zep/document.h"
#include "zep/region_format.h"

namespace fs = std::filesystem;

namespace zepfuzz {

namespace {

// The names the seeds hold, and one that no seed holds.
constexpr const char* kNames[] = {"右", "ei", "kawa", "none"};

void CheckRecord(const fs::path& folder, const player::StoredCharacter& record) {
    Require(record.regions.size() <= rgn::kMaxRegionFiles, "a record has at most 100 strokes");
    for (const std::string& region : record.regions) {
        Require(region.size() <= rgn::kMaxFileSize, "a record's region file fits the format");
    }
    // Under a name of its own: the fuzzer's name could be anything.
    player::StoredCharacter renamed = record;
    renamed.name = "c";
    std::string error;
    Require(player::WriteCharacterFiles(renamed, folder, error), "a record unpacks");
    std::error_code ec;
    const auto document = player::ReadDocument(player::CharacterScriptIn(folder, "c"), ec);
    Require(document.has_value(), "an unpacked record loads");
    Require(document->region_files.size() == record.regions.size(),
            "an unpacked record's region files are all found");

    const fs::path copy = folder / "copy.sqlite";
    Require(player::WriteCharacterStore(copy, {record}, error), "a record writes into a set");
    const auto again = player::ReadStoredCharacter(copy, record.name, error);
    Require(again && again->script == record.script && again->regions == record.regions &&
                again->grade == record.grade,
            "a set written afresh gives the record back");
}

}  // namespace

void FuzzCharacterStore(const uint8_t* data, size_t size) {
    static const ScratchFolder folder("zep_fuzz_store");
    const fs::path store = folder.path() / "kanji.sqlite";
    WriteFile(store, {reinterpret_cast<const char*>(data), size});
    for (const char* name : kNames) {
        std::string error;
        const auto record = player::ReadStoredCharacter(store, name, error);
        if (!record) continue;
        Require(error.empty(), "a record found comes without a refusal");
        CheckRecord(folder.path(), *record);
    }
    std::string error;
    const auto all = player::ReadAllStrokePaths(store, error);
    Require(all.has_value() == error.empty(), "stroke paths come, or a refusal");
    if (!all) return;
    for (const player::StoredStrokePaths& record : *all) {
        const auto strokes = lookup::DecodeStrokePaths(record.stroke_paths);
        if (!strokes) continue;
        Require(lookup::EncodeStrokePaths(*strokes) == record.stroke_paths,
                "decoded stroke paths encode to the same bytes");
    }
}

}  // namespace zepfuzz
