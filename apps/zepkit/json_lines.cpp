#include "zepkit/json_lines.h"

#include <cmath>
#include <cstdio>
#include <system_error>

#include "sys/files.h"
#include "zepkit/command_words.h"

namespace zepkit {

namespace {

using Json = nlohmann::ordered_json;

bool ReadStandardInput(std::string& bytes) {
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) bytes.append(buffer, got);
    return !std::ferror(stdin);
}

std::optional<practice::Ink> ParseInk(const Json& stroke) {
    if (!stroke.is_array()) return std::nullopt;
    practice::Ink ink;
    for (const Json& point : stroke) {
        if (!point.is_array() || point.size() != 2 || !point[0].is_number() ||
            !point[1].is_number()) {
            return std::nullopt;
        }
        const double x = point[0].get<double>(), y = point[1].get<double>();
        if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
        ink.push_back({x, y});
    }
    return ink;
}

}  // namespace

bool ReadCommandInput(const std::optional<std::filesystem::path>& file, std::string& bytes) {
    if (!file) {
        if (ReadStandardInput(bytes)) return true;
        std::fputs("zepkit: cannot read standard input\n", stderr);
        return false;
    }
    std::error_code ec;
    if (sys::ReadWholeFile(*file, bytes, ec)) return true;
    std::fprintf(stderr, "zepkit: cannot read '%s': %s\n", Printable(*file).c_str(),
                 ec.message().c_str());
    return false;
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

std::optional<std::vector<practice::Ink>> ParseStrokes(const Json& strokes) {
    if (!strokes.is_array()) return std::nullopt;
    std::vector<practice::Ink> parsed;
    for (const Json& stroke : strokes) {
        std::optional<practice::Ink> ink = ParseInk(stroke);
        if (!ink) return std::nullopt;
        parsed.push_back(std::move(*ink));
    }
    return parsed;
}

}  // namespace zepkit
