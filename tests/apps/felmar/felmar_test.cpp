// The real felmar program: its messages, exit codes and the files it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/fifo.h"
#include "support/file_size_limit.h"
#include "support/platform.h"
#include "support/temp_dir.h"
#include "test_picture.h"
#include "zep/region_format.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using rgntest::Picture;
using rgntest::RowOrder;

using testsupport::TempDir;

struct Outcome {
    std::string output;
    int exit_code = -1;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << "exit " << o.exit_code << ", output \"" << o.output << "\"";
}

// Runs felmar in dir with the arguments, as a shell would pass them.
Outcome Felmar(const fs::path& dir, const std::vector<std::string>& args) {
    const testsupport::ChildRun run = testsupport::RunChild(FELMAR_PATH, args, dir);
    return {run.output, run.exit_code};
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes OnePixelBmp() {
    Picture picture = rgntest::WhitePicture(254, 254);
    picture.at(0, 0) = gfx::kBlack;
    return rgntest::WriteBmp(picture, 24, RowOrder::BottomUp);
}

const Bytes kOnePixelFile = {0x68, 0, 0, 1, 1, 0, 1, 0xFF};

TEST(FelmarTest, WritesTheRegionFileBesideThePictureAndSaysNothing) {
    TempDir dir;
    WriteFile(dir.path() / "a.bmp", OnePixelBmp());
    EXPECT_EQ(Felmar(dir.path(), {"a.bmp"}), (Outcome{"", 0}));
    EXPECT_EQ(ReadFile(dir.path() / "a.bmp.rgn"), kOnePixelFile);

    // An existing file is replaced, even a longer one.
    WriteFile(dir.path() / "a.bmp.rgn", Bytes(1000, 0x68));
    EXPECT_EQ(Felmar(dir.path(), {"a.bmp"}), (Outcome{"", 0}));
    EXPECT_EQ(ReadFile(dir.path() / "a.bmp.rgn"), kOnePixelFile);

    // The name is appended to whatever the argument is, in any script, and
    // to names that are no UTF-8 at all.
    std::vector<std::string> names{"kanji-03", "漢字.bmp"};
    if (testsupport::kNamesAreBytes) names.emplace_back("\xff\xfe.bmp");
    for (const std::string& name : names) {
        fs::copy_file(dir.path() / "a.bmp", dir.path() / name);
        EXPECT_EQ(Felmar(dir.path(), {(dir.path() / name).string()}), (Outcome{"", 0})) << name;
        EXPECT_EQ(ReadFile(dir.path() / (name + ".rgn")), kOnePixelFile) << name;
    }
}

TEST(FelmarTest, PathLongerThan255Characters) {
    if (!testsupport::kPathsOver259) GTEST_SKIP() << "paths stop at 259 characters here";
    TempDir dir;
    fs::path deep = dir.path();
    for (int i = 0; i < 3; ++i) deep /= std::string(100, static_cast<char>('a' + i));
    fs::create_directories(deep);
    const fs::path picture = deep / "long.bmp";
    ASSERT_GT(picture.string().size(), 255u);
    WriteFile(picture, OnePixelBmp());
    EXPECT_EQ(Felmar(dir.path(), {picture.string()}), (Outcome{"", 0}));
    EXPECT_EQ(ReadFile(deep / "long.bmp.rgn"), kOnePixelFile);
}

struct FailureCase {
    std::string name;
    std::vector<std::string> args;
    std::string output;
    void (*prepare)(const fs::path& dir) = nullptr;
};

class FelmarFailureTest : public testing::TestWithParam<FailureCase> {};

// Every failure prints its one message, ends with code 1 and leaves no
// region file behind.
TEST_P(FelmarFailureTest, ReportsAndLeavesNoFile) {
    const FailureCase& c = GetParam();
    if (!testsupport::kNamesAreBytes && c.name.starts_with("NoUtf8")) {
        GTEST_SKIP() << "names are UTF-16 here, never stray bytes";
    }
    TempDir dir;
    if (c.prepare) c.prepare(dir.path());
    EXPECT_EQ(Felmar(dir.path(), c.args), (Outcome{c.output, 1}));
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir.path())) {
        EXPECT_FALSE(entry.is_regular_file() && entry.path().extension() == ".rgn") << entry.path();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FelmarFailureTest,
    testing::Values(
        FailureCase{"NoArgument", {}, "Usage: felmar input.bmp\n"},
        FailureCase{"TwoArguments",
                    {"a.bmp", "b.bmp"},
                    "Usage: felmar input.bmp\n",
                    [](const fs::path& d) { WriteFile(d / "a.bmp", OnePixelBmp()); }},
        FailureCase{
            "MissingFile", {"./sub/../missing.bmp"}, "Cannot load bmp './sub/../missing.bmp'\n"},
        FailureCase{"TextFile",
                    {"notes.txt"},
                    "Cannot load bmp 'notes.txt'\n",
                    [](const fs::path& d) { std::ofstream(d / "notes.txt") << "not a picture\n"; }},
        FailureCase{"EmptyFile",
                    {"empty.bmp"},
                    "Cannot load bmp 'empty.bmp'\n",
                    [](const fs::path& d) { WriteFile(d / "empty.bmp", {}); }},
        FailureCase{"Directory",
                    {"pictures"},
                    "Cannot load bmp 'pictures'\n",
                    [](const fs::path& d) { fs::create_directory(d / "pictures"); }},
        // Refused at once, without waiting for a writer.
        FailureCase{"Fifo",
                    {"pipe.bmp"},
                    "Cannot load bmp 'pipe.bmp'\n",
                    [](const fs::path& d) { testsupport::MakeFifo(d / "pipe.bmp"); }},
        FailureCase{"NoUtf8Missing", {"\xff.bmp"}, "Cannot load bmp '\xff.bmp'\n"},
        FailureCase{"AllWhite",
                    {"white.bmp"},
                    "Internal error #2\n",
                    [](const fs::path& d) {
                        WriteFile(d / "white.bmp", rgntest::WriteBmp(rgntest::WhitePicture(30, 30),
                                                                     8, RowOrder::BottomUp));
                    }},
        FailureCase{"BlackOnlyBeyondTheSquare",
                    {"wide.bmp"},
                    "Internal error #2\n",
                    [](const fs::path& d) {
                        Picture picture = rgntest::WhitePicture(300, 300);
                        for (int32_t y = 0; y < 300; ++y) picture.at(254, y) = gfx::kBlack;
                        WriteFile(d / "wide.bmp", rgntest::WriteBmp(picture, 1, RowOrder::TopDown));
                    }},
        // A directory in the way: even root cannot open it as a file.
        FailureCase{"OutputIsADirectory",
                    {"a.bmp"},
                    "Cannot write file 'a.bmp.rgn'\n",
                    [](const fs::path& d) {
                        WriteFile(d / "a.bmp", OnePixelBmp());
                        fs::create_directory(d / "a.bmp.rgn");
                    }}),
    [](const testing::TestParamInfo<FailureCase>& param) { return param.param.name; });

// The write fails (no file may grow past 0 bytes): the failure is reported,
// the old file stays as it was and nothing else is left behind.
TEST(FelmarTest, FailedWriteKeepsTheOldFile) {
    TempDir dir;
    WriteFile(dir.path() / "a.bmp", OnePixelBmp());
    const Bytes old(100, 0x68);
    WriteFile(dir.path() / "a.bmp.rgn", old);
    {
        const testsupport::FileSizeLimit limit(0);
        if (!limit.Active()) GTEST_SKIP() << "no file size limit here (Windows has none)";
        EXPECT_EQ(Felmar(dir.path(), {"a.bmp"}), (Outcome{"Cannot write file 'a.bmp.rgn'\n", 1}));
    }
    EXPECT_EQ(ReadFile(dir.path() / "a.bmp.rgn"), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

// Random pictures of every kind: the file that felmar writes holds exactly
// the black pixels of the top-left 254 by 254 square, in canonical form.
TEST(FelmarTest, RandomPicturesGiveExactlyTheirBlackPixels) {
    const gfx::Color near_black[] = {{8, 0, 0}, {0, 8, 0}, {0, 0, 8}, {8, 8, 8}};
    std::mt19937 random(7);
    TempDir dir;
    for (int round = 0; round < 48; ++round) {
        const int bits = std::vector<int>{1, 4, 8, 16, 24, 32}[static_cast<size_t>(round % 6)];
        const RowOrder order = round % 12 < 6 ? RowOrder::BottomUp : RowOrder::TopDown;
        const auto size = [&] { return std::uniform_int_distribution<int32_t>(1, 320)(random); };
        Picture picture = rgntest::WhitePicture(size(), size());
        // Black in a random box, near-black sprinkled anywhere.
        const int32_t x0 = std::uniform_int_distribution<int32_t>(0, picture.width - 1)(random);
        const int32_t y0 = std::uniform_int_distribution<int32_t>(0, picture.height - 1)(random);
        std::bernoulli_distribution black(
            std::uniform_real_distribution<double>(0.05, 1.0)(random));
        std::bernoulli_distribution sprinkle(0.1);
        for (int32_t y = 0; y < picture.height; ++y) {
            for (int32_t x = 0; x < picture.width; ++x) {
                if (x >= x0 && y >= y0 && black(random)) {
                    picture.at(x, y) = gfx::kBlack;
                } else if (bits > 1 && sprinkle(random)) {
                    picture.at(x, y) = near_black[(x + y) % 4];
                }
            }
        }
        const std::string name = "r" + std::to_string(round) + ".bmp";
        const auto header = round % 4 < 2 ? rgntest::BmpHeader::Info : rgntest::BmpHeader::V5;
        WriteFile(dir.path() / name, rgntest::WriteBmp(picture, bits, order, header));
        const std::string what = name + ": " + std::to_string(picture.width) + "x" +
                                 std::to_string(picture.height) + ", " + std::to_string(bits) +
                                 " bits";

        const gfx::Region expected = rgntest::BlackPixels(picture);
        const Outcome outcome = Felmar(dir.path(), {name});
        if (expected.IsEmpty()) {
            EXPECT_EQ(outcome, (Outcome{"Internal error #2\n", 1})) << what;
            EXPECT_FALSE(fs::exists(dir.path() / (name + ".rgn"))) << what;
            continue;
        }
        ASSERT_EQ(outcome, (Outcome{"", 0})) << what;
        const Bytes file = ReadFile(dir.path() / (name + ".rgn"));
        const gfx::MaybeRegion decoded = rgn::RegionFromBytes(file);
        ASSERT_TRUE(decoded) << what;
        EXPECT_EQ(*decoded, expected) << what;
        const gfx::Rect box = expected.Bounds();
        EXPECT_EQ(file[0], box.right - box.left < box.bottom - box.top ? rgn::kColumns : rgn::kRows)
            << what;
        EXPECT_EQ(Bytes(file.begin() + 1, file.begin() + 5),
                  (Bytes{static_cast<uint8_t>(box.left), static_cast<uint8_t>(box.top),
                         static_cast<uint8_t>(box.right - box.left),
                         static_cast<uint8_t>(box.bottom - box.top)}))
            << what;
    }
}

}  // namespace
