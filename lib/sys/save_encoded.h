// Writing an encoded picture in place of a file's contents.
#pragma once

#include <cstdint>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>
#include <vector>

#include "sys/files.h"

namespace sys {

// Writes what encode returns in place of path's contents; nothing when it
// returns nothing (the error is then `refused`) or runs out of memory
// (not_enough_memory).
template <typename Encode>
bool SaveEncoded(const std::filesystem::path& path, Encode&& encode, std::error_code& ec,
                 std::errc refused = std::errc::invalid_argument) {
    std::optional<std::vector<uint8_t>> bytes;
    try {
        bytes = encode();
    } catch (const std::bad_alloc&) {
        ec = std::make_error_code(std::errc::not_enough_memory);
        return false;
    }
    if (!bytes) {
        ec = std::make_error_code(refused);
        return false;
    }
    return ReplaceFileContents(path, *bytes, ec);
}

}  // namespace sys
