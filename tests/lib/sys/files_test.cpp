// The file services' less travelled paths: a name at the system's limit, a
// private file replaced, and a file that holds fewer bytes than its size says.
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

TEST_F(FilesTest, ReplacesAFileOfTheLongestLegalNameAndKeepsItsPermissions) {
    const uint8_t bytes[] = {1, 2, 3};
    for (const fs::perms mode : {fs::perms(0600), fs::perms(0751)}) {
        const fs::path target = Write(std::string(251, 'x') + ".bmp", "old");
        fs::permissions(target, mode);
        if (fs::status(target).permissions() != mode) {
            GTEST_SKIP() << "no POSIX permissions here, nor names this long (Windows)";
        }
        std::error_code ec;
        ASSERT_TRUE(sys::ReplaceFileContents(target, bytes, ec)) << ec.message();
        EXPECT_EQ(Read(target), "\x01\x02\x03");
        EXPECT_EQ(fs::status(target).permissions(), mode);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    }
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
