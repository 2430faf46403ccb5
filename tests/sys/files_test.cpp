// The file services' less travelled paths: every temporary name taken, and a
// file that holds fewer bytes than its size says.
#include "sys/files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

class FilesTest : public testing::Test {
protected:
    FilesTest() : dir_(fs::temp_directory_path() / ("zep_files_test_" + std::to_string(getpid()))) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~FilesTest() override { fs::remove_all(dir_); }

    fs::path Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }
    static std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};

TEST_F(FilesTest, EveryTemporaryNameTakenLeavesEveryFileAlone) {
    const fs::path target = Write("out.bmp", "old");
    for (int n = 0; n < 100; ++n) Write("out.bmp." + std::to_string(n) + ".tmp", "someone else's");
    const uint8_t bytes[] = {1, 2, 3};
    std::error_code ec;
    EXPECT_FALSE(sys::ReplaceFileContents(target, bytes, ec));
    EXPECT_EQ(ec, std::errc::file_exists);
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Read(dir_ / "out.bmp.99.tmp"), "someone else's");

    // One name free again is enough.
    fs::remove(dir_ / "out.bmp.57.tmp");
    EXPECT_TRUE(sys::ReplaceFileContents(target, bytes, ec));
    EXPECT_EQ(Read(target), "\x01\x02\x03");
    EXPECT_FALSE(fs::exists(dir_ / "out.bmp.57.tmp"));
}

TEST_F(FilesTest, ReadingStopsAtTheRealEndOfAFileWhoseSizeSaysMore) {
    // Kernel attribute files claim a page and hold a line.
    const fs::path attribute = "/sys/kernel/mm/transparent_hugepage/enabled";
    std::error_code ec;
    if (fs::file_size(attribute, ec) != 4096 || ec) GTEST_SKIP() << "no such attribute file";
    std::string bytes;
    ASSERT_TRUE(sys::ReadWholeFile(attribute, bytes, ec));
    EXPECT_FALSE(ec);
    EXPECT_EQ(bytes, Read(attribute));
    EXPECT_LT(bytes.size(), 4096u);
}

}  // namespace
