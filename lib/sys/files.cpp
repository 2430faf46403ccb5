#include "sys/files.h"

#include "sys/input_file.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <limits>
#include <new>
#include <optional>
#include <random>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace sys {

namespace {

std::error_code LastErrno() {
    // Some C libraries leave errno at 0 after a failed stream call.
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

// Low-level descriptors for the one file we create: only they can refuse to
// open a name that already exists on both platforms.
#ifdef _WIN32
int CreateNew(const fs::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int CreateOrEmpty(const fs::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long WriteSome(int fd, const uint8_t* data, size_t size) {
    const size_t chunk = std::min<size_t>(size, 1u << 30);
    return _write(fd, data, static_cast<unsigned>(chunk));
}
int FlushToDisk(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
void TakePermissions(int, const fs::path&) {}
// Windows refuses to replace a file that a reader holds open (the refusal
// comes back as an access or an I/O error); readers of our files hold them for
// moments, so the rename is tried again for a while.
void RenameOver(const fs::path& from, const fs::path& to, std::error_code& ec) {
    constexpr int kAttempts = 200;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        fs::rename(from, to, ec);
        if (!ec) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
#else
int CreateNew(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
int CreateOrEmpty(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}
long WriteSome(int fd, const uint8_t* data, size_t size) { return ::write(fd, data, size); }
int FlushToDisk(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
// The replaced file's permission bits, so a private file stays private. Best
// effort: some file systems take no modes at all.
void TakePermissions(int fd, const fs::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
}
void RenameOver(const fs::path& from, const fs::path& to, std::error_code& ec) {
    fs::rename(from, to, ec);
}
#endif

// A short name of its own beside the target, whatever the target's name: a
// name derived from the target's could pass the system's limit on names.
fs::path TemporaryName(const fs::path& target) {
    thread_local std::mt19937 random{std::random_device{}()};
    char name[24];
    std::snprintf(name, sizeof name, ".zep-%08x.tmp", static_cast<unsigned>(random()));
    return target.parent_path() / name;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes, std::error_code& ec) {
    size_t done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const long n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ec = n == 0 ? std::make_error_code(std::errc::no_space_on_device) : LastErrno();
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool CheckPath(const fs::path& path, std::error_code& ec) {
    const auto& name = path.native();
    if (name.find(fs::path::value_type{}) != name.npos) {
        ec = std::make_error_code(std::errc::invalid_argument);
        return false;
    }
#ifdef _WIN32
    constexpr size_t kLimit = 259;  // MAX_PATH without its terminator
#else
    constexpr size_t kLimit = PATH_MAX - 1;
#endif
    if (name.size() > kLimit) {
        ec = std::make_error_code(std::errc::filename_too_long);
        return false;
    }
    ec.clear();
    return true;
}

bool PathExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

namespace {

// Reads the first min(size, max_bytes) bytes; a file larger than
// refuse_from bytes is refused instead.
bool ReadStart(const fs::path& path, uint64_t max_bytes, uint64_t refuse_from, std::string& bytes,
               std::error_code& ec) {
    bytes.clear();
    const std::optional<InputFile> file = InputFile::Open(path, ec);
    if (!file) return false;
    const uint64_t size = std::min(file->size(), max_bytes);
    if (file->size() >= refuse_from || size > std::numeric_limits<size_t>::max()) {
        ec = std::make_error_code(std::errc::file_too_large);
        return false;
    }
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        ec = std::make_error_code(std::errc::not_enough_memory);
        return false;
    }
    const std::optional<size_t> got =
        file->ReadAt(0, {reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()}, ec);
    if (!got) return false;
    bytes.resize(*got);
    return true;
}

}  // namespace

bool ReadWholeFile(const fs::path& path, std::string& bytes, std::error_code& ec) {
    constexpr uint64_t k4GiB = uint64_t{1} << 32;
    return ReadStart(path, k4GiB, k4GiB, bytes, ec);
}

bool ReadFileStart(const fs::path& path, size_t max_bytes, std::string& bytes, std::error_code& ec) {
    return ReadStart(path, max_bytes, std::numeric_limits<uint64_t>::max(), bytes, ec);
}

bool ReplaceFileContents(const fs::path& target, std::span<const uint8_t> bytes,
                         std::error_code& ec) {
    if (!CheckPath(target, ec)) return false;
    // Beside the target, so the final rename stays within one file system;
    // an existing file of that name is never touched.
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = TemporaryName(target);
        errno = 0;
        fd = CreateNew(temp);
        if (fd < 0 && errno != EEXIST) {
            ec = LastErrno();
            return false;
        }
    }
    if (fd < 0) {
        ec = std::make_error_code(std::errc::file_exists);
        return false;
    }
    TakePermissions(fd, target);
    bool ok = WriteAll(fd, bytes, ec);
    // Flushed before the rename, so a crash leaves the old file or the whole
    // new one, never an empty one.
    if (ok && FlushToDisk(fd) != 0) {
        ec = LastErrno();
        ok = false;
    }
    errno = 0;
    if (CloseFile(fd) != 0 && ok) {
        ec = LastErrno();
        ok = false;
    }
    if (ok) {
        RenameOver(temp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    ec.clear();
    return true;
}

bool WriteScratchFile(const fs::path& path, std::span<const uint8_t> bytes, std::error_code& ec) {
    if (!CheckPath(path, ec)) return false;
    errno = 0;
    const int fd = CreateOrEmpty(path);
    if (fd < 0) {
        ec = LastErrno();
        return false;
    }
    bool ok = WriteAll(fd, bytes, ec);
    errno = 0;
    if (CloseFile(fd) != 0 && ok) {
        ec = LastErrno();
        ok = false;
    }
    if (!ok) {
        std::error_code ignored;
        fs::remove(path, ignored);
        return false;
    }
    ec.clear();
    return true;
}

}  // namespace sys
