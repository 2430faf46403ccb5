// The imported set as one file: what goes in comes out byte for byte, a file
// that is not a whole set of ours is refused with a reason, and a reader
// never sees a set half replaced.
#include <gtest/gtest.h>

#include <algorithm>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "support/character_files.h"
#include "sys/files.h"
#include "zep/character_files.h"
#include "zep/character_store.h"
#include "zep/region_format.h"

namespace {

namespace fs = std::filesystem;
using player::StoredCharacter;
using player_test::ScratchDir;

const fs::path kSamples = fs::path(ZEP_SOURCE_DIR) / "samples";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Each sample as a record: its script and region files as they lie on disk.
std::vector<StoredCharacter> Samples() {
    std::vector<StoredCharacter> samples;
    for (const fs::directory_entry& entry : fs::directory_iterator(kSamples)) {
        if (entry.path().extension() != ".zep") continue;
        StoredCharacter c{entry.path().stem().string(), ReadBytes(entry.path()), {}, {}, {}};
        for (size_t n = 0;; ++n) {
            const fs::path region = kSamples / (c.name + rgn::RegionFileSuffix(n));
            if (!fs::exists(region)) break;
            c.regions.push_back(ReadBytes(region));
        }
        samples.push_back(std::move(c));
    }
    return samples;
}

std::string WrittenSet(const ScratchDir& dir, const std::vector<StoredCharacter>& characters) {
    std::string error;
    EXPECT_TRUE(player::WriteCharacterStore(dir.path() / "whole.sqlite", characters, error))
        << error;
    return ReadBytes(dir.path() / "whole.sqlite");
}

TEST(CharacterStore, EverySampleComesBackAsTheSameFiles) {
    const ScratchDir dir;
    std::vector<StoredCharacter> samples = Samples();
    ASSERT_GE(samples.size(), 10u);
    samples.front().grade = 1;
    std::string error;
    const fs::path store = dir.path() / "kanji.sqlite";
    ASSERT_TRUE(player::WriteCharacterStore(store, samples, error)) << error;
    fs::create_directories(dir.path() / "out");
    for (const StoredCharacter& sample : samples) {
        const auto record = player::ReadStoredCharacter(store, sample.name, error);
        ASSERT_TRUE(record) << sample.name << ": " << error;
        EXPECT_EQ(record->grade, sample.grade) << sample.name;
        ASSERT_TRUE(player::WriteCharacterFiles(*record, dir.path() / "out", error)) << error;
    }
    size_t files = 0;
    for (const fs::directory_entry& made : fs::directory_iterator(dir.path() / "out")) {
        EXPECT_EQ(ReadBytes(made.path()), ReadBytes(kSamples / made.path().filename()))
            << made.path().filename();
        ++files;
    }
    size_t sample_files = 0;
    for (const StoredCharacter& sample : samples) sample_files += 1 + sample.regions.size();
    EXPECT_EQ(files, sample_files);
    EXPECT_FALSE(player::ReadStoredCharacter(store, "none", error));
    EXPECT_EQ(error, "");
}

// Whatever a file holds, nothing is read from it unless it is a whole set of
// ours; a refusal names the file.
TEST(CharacterStore, RefusesWhatIsNotAWholeSet) {
    const ScratchDir dir;
    const std::vector<StoredCharacter> samples = Samples();
    const std::string whole = WrittenSet(dir, samples);
    std::string foreign = whole;
    foreign[68] = 'X';  // the header's application id
    std::string later = whole;
    later[63] = 2;  // the schema version, as a later program might write it
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"text", "L 0 0 0 0\n"},
        {"foreign", foreign},
        {"later", later},
        {"torn", whole.substr(0, whole.size() / 2)},
    };
    for (const auto& c : cases) {
        const fs::path store = dir.Write(std::string(c.name) + ".sqlite", c.bytes);
        size_t refused = 0;
        for (const StoredCharacter& sample : samples) {
            std::string error;
            const auto record = player::ReadStoredCharacter(store, sample.name, error);
            if (record) {
                // Only a torn set may still hold whole records: the ones it kept.
                EXPECT_EQ(record->script, sample.script) << c.name;
                EXPECT_EQ(record->regions, sample.regions) << c.name;
                continue;
            }
            EXPECT_NE(error.find(store.filename().string()), std::string::npos)
                << c.name << ": " << error;
            ++refused;
        }
        EXPECT_GT(refused, 0u) << c.name;
    }
}

// The look-up's stroke paths come back as written, for the characters that
// have them; a set written before they were kept (the fuzzer's seed) still
// gives its characters, and its missing paths are refused with advice.
TEST(CharacterStore, KeepsStrokePathsBesideTheRecords) {
    const ScratchDir dir;
    std::vector<StoredCharacter> samples = Samples();
    samples[0].stroke_paths = std::string("\x01\x01\x01\x05\x06", 5);
    samples[2].stroke_paths = "paths";
    std::string error;
    const fs::path store = dir.path() / "kanji.sqlite";
    ASSERT_TRUE(player::WriteCharacterStore(store, samples, error)) << error;
    const auto all = player::ReadAllStrokePaths(store, error);
    ASSERT_TRUE(all) << error;
    ASSERT_EQ(all->size(), 2u);
    for (const player::StoredStrokePaths& paths : *all) {
        const auto written = std::find_if(samples.begin(), samples.end(),
                                          [&](const auto& c) { return c.name == paths.name; });
        ASSERT_NE(written, samples.end());
        EXPECT_EQ(paths.stroke_paths, written->stroke_paths);
    }

    const fs::path older =
        fs::path(ZEP_SOURCE_DIR) / "fuzz/corpus/fuzz_character_store/two_characters";
    EXPECT_TRUE(player::ReadStoredCharacter(older, "右", error)) << error;
    EXPECT_FALSE(player::ReadAllStrokePaths(older, error));
    EXPECT_NE(error.find("import the set again"), std::string::npos) << error;
    EXPECT_FALSE(player::ReadAllStrokePaths(dir.Write("text.sqlite", "L 0;"), error));
    EXPECT_NE(error.find("text.sqlite"), std::string::npos) << error;
}

// One thread replaces the set over and over with one of two versions while
// another reads from it: every read finds one version, whole.
TEST(CharacterStore, AReaderSeesTheOldSetOrTheNewNeverAHalfOne) {
    const ScratchDir dir;
    const fs::path store = dir.path() / "kanji.sqlite";
    const std::vector<StoredCharacter> versions[] = {
        {{"kawa", "old", {"a", "b"}, {}, {}}}, {{"kawa", "new", {"c", "d", "e"}, 2, {}}}};
    std::string error;
    ASSERT_TRUE(player::WriteCharacterStore(store, versions[0], error)) << error;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        std::string write_error;
        for (int round = 1; round <= 20; ++round) {
            EXPECT_TRUE(player::WriteCharacterStore(store, versions[round % 2], write_error))
                << write_error;
        }
        done = true;
    });
    int reads = 0;
    while (!done || reads == 0) {
        const auto record = player::ReadStoredCharacter(store, "kawa", error);
        ASSERT_TRUE(record) << error;
        const StoredCharacter& expected = versions[record->script == "new" ? 1 : 0][0];
        EXPECT_EQ(record->script, expected.script);
        EXPECT_EQ(record->regions, expected.regions);
        EXPECT_EQ(record->grade, expected.grade);
        ++reads;
    }
    writer.join();
}

}  // namespace
