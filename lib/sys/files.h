// Whole-file reading and writing, path checks. Reasons for failure come back
// as std::error_code values in the generic (errno) category.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>

namespace sys {

// Refuses a path this platform would open under another name: one with an
// embedded null (the system would cut it there), or one longer than the
// system's path limit (259 characters on Windows, PATH_MAX - 1 bytes on POSIX).
bool CheckPath(const std::filesystem::path& path, std::error_code& ec);

// Whether a file or folder of that name exists; an error counts as no.
bool PathExists(const std::filesystem::path& path);

// Empties bytes, then fills it with the whole file in one read; anything but
// a regular file is refused without blocking (see InputFile). Fails on files
// of 4 GiB or more (file_too_large) and when memory runs out
// (not_enough_memory). After a read error the string keeps the file's full
// length, zero where nothing was read; a short read shrinks it.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes, std::error_code& ec);

// As ReadWholeFile, but of a longer file only the first max_bytes: for a
// format that can use no more, a huge file costs no more than a full one.
bool ReadFileStart(const std::filesystem::path& path, size_t max_bytes, std::string& bytes,
                   std::error_code& ec);

// Writes bytes as the file's new contents: first into a fresh file of a short
// name of its own in the target's folder, which replaces the target only once
// every write and the close succeeded, with the replaced file's permissions.
// On failure the temporary file is removed and the target is as it was. On
// Windows, a target that a reader holds open is waited for, up to 2 seconds.
bool ReplaceFileContents(const std::filesystem::path& target, std::span<const uint8_t> bytes,
                         std::error_code& ec);

// Writes bytes as the file's contents, in place and without waiting for the
// disk: for files of a private folder that matter only while this process
// runs and that nobody reads meanwhile. On failure the file is removed.
bool WriteScratchFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                  std::error_code& ec);

}  // namespace sys
