// What the commands that read drawings share: their input (a file or standard
// input, read whole before anything is written) and the strokes of a line.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "practice/ink.h"

namespace zepkit {

// The whole of the file, or of standard input when there is none; false,
// after a message, when it cannot be read.
bool ReadCommandInput(const std::optional<std::filesystem::path>& file, std::string& bytes);

[[nodiscard]] bool IsBlankLine(std::string_view line);

// [[[x, y], ...], ...]: strokes of finite numbers, or nothing.
[[nodiscard]] std::optional<std::vector<practice::Ink>> ParseStrokes(
    const nlohmann::ordered_json& strokes);

}  // namespace zepkit
