// Loading a character from the imported set: the record alone, and what the
// player's first load of it costs (the record, its files unpacked into a
// fresh private folder, the document read). The set is build/share/zepplayer/kanji.sqlite when the
// import has made it, else one of the same shape: 2,941 characters of 11
// strokes of 170 bytes each.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "zep/character_files.h"
#include "zep/character_store.h"
#include "zep/document.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCharacters = 2941;

std::string NameOf(int n) {
    std::string name;
    // CJK ideographs from U+4E00, as UTF-8.
    const int c = 0x4E00 + n;
    name += static_cast<char>(0xE0 | (c >> 12));
    name += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    name += static_cast<char>(0x80 | (c & 0x3F));
    return name;
}

struct BenchSet {
    fs::path store = fs::path(ZEP_BINARY_DIR) / "share" / "zepplayer" / "kanji.sqlite";
    fs::path scratch = fs::temp_directory_path() / "zep_store_bench";
    std::vector<std::string> names;

    BenchSet() {
        fs::create_directories(scratch);
        std::error_code ec;
        if (fs::exists(store, ec)) {
            names = {"右", "永", "書", "曜", "鬱", "一"};
            return;
        }
        store = scratch / "kanji.sqlite";
        std::vector<player::StoredCharacter> characters;
        for (int n = 0; n < kCharacters; ++n) {
            characters.push_back({NameOf(n), std::string(120, 'L'),
                                  std::vector<std::string>(11, std::string(170, 'h')), {}, {}});
            names.push_back(NameOf(n));
        }
        std::string error;
        if (!player::WriteCharacterStore(store, characters, error)) names.clear();
    }
    ~BenchSet() {
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
    }
};

const BenchSet& Set() {
    static const BenchSet set;
    return set;
}

void BM_ReadRecord(benchmark::State& state) {
    const BenchSet& set = Set();
    size_t i = 0;
    std::string error;
    for (auto _ : state) {
        const std::string& name = set.names[i++ % set.names.size()];
        benchmark::DoNotOptimize(player::ReadStoredCharacter(set.store, name, error));
    }
}
BENCHMARK(BM_ReadRecord)->Unit(benchmark::kMillisecond);

void BM_FirstLoad(benchmark::State& state) {
    const BenchSet& set = Set();
    // Every load's folder is fresh, across the library's repeated runs too.
    static size_t i = 0;
    std::string error;
    std::error_code ec;
    for (auto _ : state) {
        const std::string& name = set.names[i++ % set.names.size()];
        const fs::path folder = set.scratch / std::to_string(i);
        fs::create_directory(folder, ec);
        const auto record = player::ReadStoredCharacter(set.store, name, error);
        if (!record ||
            !player::WriteCharacterFiles(*record, folder, error, player::FileWrite::Scratch)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(player::ReadDocument(player::CharacterScriptIn(folder, name), ec));
    }
}
BENCHMARK(BM_FirstLoad)->Unit(benchmark::kMillisecond);

}  // namespace
