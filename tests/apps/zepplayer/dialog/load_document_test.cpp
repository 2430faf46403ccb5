#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>

#include "support/character_files.h"
#include "support/fifo.h"
#include "support/memory_limit.h"
#include "sys/files.h"
#include "zep/region_format.h"
#include "zep/region_load.h"
#include "zepplayer/load_document.h"
#include "zepplayer/player_state.h"

namespace player {
namespace {

namespace fs = std::filesystem;

void ResetPlayerState() {
    Commands.clear();
    RegionFiles.clear();
    ScriptPath.clear();
    ShownStroke = -1;
    Playing = 0;
    FrameBitmap.Clear();
}

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ResetPlayerState(); }
    void TearDown() override { ResetPlayerState(); }

    bool Load(const fs::path& path) { return LoadDocument(path, [this] { ++repaints_; }, ec_); }
    // A script of three strokes beside region files with these numbers.
    fs::path ScriptWithRegions(std::initializer_list<int> numbers, const std::string& name = "kan.zep") {
        for (int n : numbers) {
            dir_.Write((n < 10 ? "kan-0" : "kan-") + std::to_string(n) + ".rgn", std::string("h\0\0\1\1\0\1\xFF", 8));
        }
        return dir_.Write(name, "D;W;L,90;P,0,180,127,127;");
    }

    player_test::ScratchDir dir_;
    std::error_code ec_;
    int repaints_ = 0;
};

TEST_F(DocumentTest, LoadsScriptAndRegionFilesInNumberOrder) {
    const fs::path script = ScriptWithRegions({0, 1, 2, 3, 4});
    ShownStroke = 2;
    ASSERT_TRUE(Load(script));
    EXPECT_FALSE(ec_);
    EXPECT_EQ(Commands.size(), 4u);
    ASSERT_EQ(RegionFiles.size(), 5u);
    for (size_t n = 0; n < 5; ++n) EXPECT_EQ(RegionFiles[n], dir_.path() / ("kan-0" + std::to_string(n) + ".rgn"));
    EXPECT_EQ(ShownStroke, -1);
    EXPECT_EQ(ScriptPath, script);
    EXPECT_EQ(repaints_, 1);
}

TEST_F(DocumentTest, RegionSearchStopsAtTheFirstMissingNumberOrAtOneHundred) {
    ASSERT_TRUE(Load(ScriptWithRegions({0, 1, 3})));
    EXPECT_EQ(RegionFiles.size(), 2u);
    ASSERT_TRUE(Load(ScriptWithRegions({}, "other.zep")));
    EXPECT_TRUE(RegionFiles.empty());
    for (int n = 0; n <= 100; ++n) dir_.Write("kan-" + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".rgn", "");
    ASSERT_TRUE(Load(dir_.path() / "kan.zep"));
    EXPECT_EQ(RegionFiles.size(), kMaxRegionFiles);
    EXPECT_EQ(RegionFiles.back().filename(), "kan-99.rgn");
}

TEST_F(DocumentTest, ExtensionIgnoresCase) {
    ASSERT_TRUE(Load(ScriptWithRegions({}, "KAN.ZeP")));
    EXPECT_EQ(Commands.size(), 4u);
}

TEST_F(DocumentTest, ZeroLengthScriptLoadsEmpty) {
    Commands = {{CommandKind::Draw}};
    ASSERT_TRUE(Load(dir_.Write("empty.zep", "")));
    EXPECT_TRUE(Commands.empty());
}

TEST_F(DocumentTest, RefusalsEmptyCommandsAndKeepTheRest) {
    fs::create_directories(dir_.path() / "a.zep");
    dir_.Write("real.zep", "D");
    const bool fifo = testsupport::MakeFifo(dir_.path() / "fifo.zep");
    const fs::path long_name(std::string(PATH_MAX - 6, 'x') + ".zep");  // fits; its region names do not
    struct Refusal {
        fs::path path;
        std::errc reason;
    };
    const Refusal refusals[] = {
        {dir_.Write("kan.txt", "D"), std::errc::not_supported},
        {dir_.Write("kan", "D"), std::errc::not_supported},
        {dir_.Write("kan.zepx", "D"), std::errc::not_supported},
        {dir_.path() / "a.zep" / "script", std::errc::not_supported},  // the dot is in a folder name
        {dir_.path() / "missing.zep", std::errc::no_such_file_or_directory},
        {dir_.path() / "a.zep", std::errc::is_a_directory},
        // Refused, not waited on; Windows has no FIFOs.
        {dir_.path() / "fifo.zep",
         fifo ? std::errc::invalid_argument : std::errc::no_such_file_or_directory},
        {long_name, std::errc::filename_too_long},
        // Cut at the null, this would name real.zep.
        {fs::path((dir_.path() / "real.zep").native() + fs::path::value_type{} +
                  fs::path("x.zep").native()),
         std::errc::invalid_argument},
    };
    for (const Refusal& r : refusals) {
        Commands = {{CommandKind::Draw}};
        RegionFiles = {"keep.rgn"};
        ScriptPath = "old.zep";
        ShownStroke = 3;
        EXPECT_FALSE(Load(r.path)) << r.path;
        EXPECT_EQ(ec_, std::make_error_code(r.reason)) << r.path << ": " << ec_.message();
        EXPECT_TRUE(Commands.empty());
        EXPECT_TRUE(ScriptPath.empty());
        EXPECT_EQ(RegionFiles.size(), 1u);
        EXPECT_EQ(ShownStroke, 3);
    }
    // The emptied document is repainted after every refusal.
    EXPECT_EQ(repaints_, static_cast<int>(std::size(refusals)));
}

// Loads under a limit on the address space, which a sanitizer's own
// reservations would exceed.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
TEST_F(DocumentTest, ALargeScriptLoadsInLittleMemoryOrFailsCleanly) {
    // Eight megabytes of semicolons hold no command: they load.
    dir_.Write("empty.zep", std::string(8 << 20, ';'));
    // Sixteen megabytes of D need 160 MB of commands: memory runs out.
    std::string draws(16 << 20, ';');
    for (size_t i = 0; i < draws.size(); i += 2) draws[i] = 'D';
    dir_.Write("draws.zep", draws);
    draws = {};

    bool empty_loaded = false;
    std::error_code empty_ec;
    bool draws_loaded = true;
    {
        const testsupport::MemoryLimit limit(128u << 20);
        if (!limit.Active()) GTEST_SKIP() << "no limit on the address space here (Windows has none)";
        Commands = {{CommandKind::Draw}};
        empty_loaded = Load(dir_.path() / "empty.zep");
        empty_ec = ec_;
        draws_loaded = Load(dir_.path() / "draws.zep");
    }

    EXPECT_TRUE(empty_loaded) << empty_ec.message();
    EXPECT_FALSE(draws_loaded);
    EXPECT_EQ(ec_, std::errc::not_enough_memory);
    EXPECT_TRUE(Commands.empty());
    EXPECT_EQ(repaints_, 2);
}
#endif

TEST(ReadWholeFileTest, ReadsRefusesAndReports) {
    player_test::ScratchDir dir;
    std::string bytes = "old";
    std::error_code ec;
    EXPECT_TRUE(sys::ReadWholeFile(dir.Write("f", std::string("a\0b", 3)), bytes, ec));
    EXPECT_EQ(bytes, std::string("a\0b", 3));
    EXPECT_TRUE(sys::ReadWholeFile(dir.Write("empty", ""), bytes, ec));
    EXPECT_EQ(bytes, "");
    bytes = "old";
    EXPECT_FALSE(sys::ReadWholeFile(dir.path() / "missing", bytes, ec));
    EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
    EXPECT_EQ(bytes, "");
    // A sparse file of exactly 4 GiB is refused before anything is read.
    const fs::path huge = dir.Write("huge", "");
    std::error_code resized;
    fs::resize_file(huge, uint64_t{1} << 32, resized);
    if (!resized) {
        EXPECT_FALSE(sys::ReadWholeFile(huge, bytes, ec));
        EXPECT_EQ(ec, std::errc::file_too_large);
    }
}

TEST(LoadRegionFileTest, MissingEmptyOrBadFilesGiveNoRegion) {
    player_test::ScratchDir dir;
    EXPECT_FALSE(LoadRegionFile(dir.path() / "missing.rgn"));
    EXPECT_FALSE(LoadRegionFile(dir.Write("empty.rgn", "")));
    EXPECT_FALSE(LoadRegionFile(dir.Write("zero.rgn", std::string("\0\0\0\1\1\0\1\xFF", 8))));
    const gfx::Region shape = gfx::Region::FromRect({3, 4, 60, 9}).United(gfx::Region::FromRect({5, 20, 6, 200}));
    const fs::path file = dir.Write("ok.rgn", player_test::RegionFileBytes(shape));
    EXPECT_EQ(LoadRegionFile(file), shape);
    EXPECT_FALSE(LoadStrokeRegion(std::vector<fs::path>{file}, 1));
    // Refused at once rather than waited on for a writer.
    if (testsupport::MakeFifo(dir.path() / "fifo.rgn")) {
        EXPECT_FALSE(LoadRegionFile(dir.path() / "fifo.rgn"));
    }
}

TEST(LoadRegionFileTest, ReadsNoFurtherThanTheLongestRegionFile) {
    player_test::ScratchDir dir;
    // One row whose only pixel stands after 40,000 empty runs, past the limit.
    std::string bytes("h\0\0\1\1", 5);
    for (int i = 0; i < 40000; ++i) bytes += std::string("\0\0", 2);
    bytes += std::string("\0\1\xFF", 3);
    ASSERT_GT(bytes.size(), rgn::kMaxFileSize);
    EXPECT_FALSE(LoadRegionFile(dir.Write("long.rgn", bytes)));
    // Within the limit the same pixel is read.
    EXPECT_EQ(LoadRegionFile(dir.Write("short.rgn", bytes.substr(0, 5) + bytes.substr(bytes.size() - 3))),
              gfx::Region::FromRect({0, 0, 1, 1}));
}

}  // namespace
}  // namespace player
