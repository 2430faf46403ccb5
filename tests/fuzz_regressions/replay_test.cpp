// Replays every seed and every input that once broke a fuzz target through
// the target's own body, so that the ordinary and the sanitizer builds keep
// them working. A broken property aborts the test program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_targets.h"

namespace {

namespace fs = std::filesystem;

struct Target {
    const char* name;
    void (*body)(const uint8_t*, size_t);
};

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    if (!fs::is_directory(folder)) return files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void Replay(const Target& target, const fs::path& file) {
    // An abort gives no test result, so say first which input it was.
    std::fprintf(stderr, "%s\n", file.string().c_str());
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    target.body(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

class ReplayTest : public ::testing::TestWithParam<Target> {};

TEST_P(ReplayTest, SeedsAndRegressionsPass) {
    const Target& target = GetParam();
    const std::vector<fs::path> seeds = FilesIn(fs::path(FUZZ_DIR) / "corpus" / target.name);
    EXPECT_FALSE(seeds.empty()) << "no seed corpus for " << target.name;
    for (const fs::path& file : seeds) Replay(target, file);
    for (const fs::path& file : FilesIn(fs::path(FUZZ_DIR) / "regressions" / target.name)) Replay(target, file);
}

INSTANTIATE_TEST_SUITE_P(Targets, ReplayTest,
                         ::testing::Values(Target{"fuzz_script_engine", zepfuzz::FuzzScriptEngine},
                                           Target{"fuzz_region_bytes", zepfuzz::FuzzRegionBytes},
                                           Target{"fuzz_picture_trace", zepfuzz::FuzzPictureTrace},
                                           Target{"fuzz_bmp_decode", zepfuzz::FuzzBmpDecode},
                                           Target{"fuzz_dorvik_grade", zepfuzz::FuzzDorvikGrade},
                                           Target{"fuzz_character_store",
                                                  zepfuzz::FuzzCharacterStore}),
                         [](const ::testing::TestParamInfo<Target>& param) { return std::string(param.param.name); });

}  // namespace
