#include "sys/input_file.h"

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sys {

namespace {

std::error_code LastErrno() { return std::error_code(errno != 0 ? errno : EIO, std::generic_category()); }

#ifdef _WIN32
// Windows refuses to open a folder at all; say what POSIX says of it.
int OpenForReading(const std::filesystem::path& path) {
    const int fd = _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
    std::error_code ignored;
    if (fd < 0 && errno == EACCES && std::filesystem::is_directory(path, ignored)) errno = EISDIR;
    return fd;
}
int CloseFile(int fd) { return _close(fd); }
bool StatOf(int fd, bool& regular, bool& folder, uint64_t& size) {
    struct _stat64 st {};
    if (_fstat64(fd, &st) != 0) return false;
    regular = (st.st_mode & _S_IFMT) == _S_IFREG;
    folder = (st.st_mode & _S_IFMT) == _S_IFDIR;
    size = static_cast<uint64_t>(st.st_size);
    return true;
}
long ReadSome(int fd, uint64_t offset, uint8_t* data, size_t size) {
    if (_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0) return -1;
    return _read(fd, data, static_cast<unsigned>(size < (1u << 30) ? size : (1u << 30)));
}
#else
// Non-blocking, so that opening a FIFO with no writer returns at once; the
// flag is cleared again once the file is known to be regular.
int OpenForReading(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}
int CloseFile(int fd) { return ::close(fd); }
bool StatOf(int fd, bool& regular, bool& folder, uint64_t& size) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    regular = S_ISREG(st.st_mode);
    folder = S_ISDIR(st.st_mode);
    size = static_cast<uint64_t>(st.st_size);
    return regular ? ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0 : true;
}
long ReadSome(int fd, uint64_t offset, uint8_t* data, size_t size) {
    return static_cast<long>(::pread(fd, data, size, static_cast<off_t>(offset)));
}
#endif

}  // namespace

std::optional<InputFile> InputFile::Open(const std::filesystem::path& path, std::error_code& ec) {
    errno = 0;
    const int fd = OpenForReading(path);
    if (fd < 0) {
        ec = LastErrno();
        return std::nullopt;
    }
    bool regular = false;
    bool folder = false;
    uint64_t size = 0;
    errno = 0;
    if (!StatOf(fd, regular, folder, size) || !regular) {
        ec = regular ? LastErrno()
                     : std::make_error_code(folder ? std::errc::is_a_directory : std::errc::invalid_argument);
        CloseFile(fd);
        return std::nullopt;
    }
    ec.clear();
    return InputFile(fd, size);
}

InputFile::InputFile(InputFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) CloseFile(fd_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

InputFile::~InputFile() {
    if (fd_ >= 0) CloseFile(fd_);
}

std::optional<size_t> InputFile::ReadAt(uint64_t offset, std::span<uint8_t> out, std::error_code& ec) const {
    size_t done = 0;
    while (done < out.size()) {
        errno = 0;
        const long n = ReadSome(fd_, offset + done, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ec = LastErrno();
            return std::nullopt;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    ec.clear();
    return done;
}

}  // namespace sys
