// What zepkit's commands share in reading their words and naming files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zepkit {

// The path as UTF-8, for a message.
std::string Printable(const std::filesystem::path& path);

// The whole number that text spells in decimal digits, when it is at most
// max; no more digits than max has are read, so nothing can overflow.
std::optional<int64_t> ParseNumber(std::u16string_view text, int64_t max);

}  // namespace zepkit
