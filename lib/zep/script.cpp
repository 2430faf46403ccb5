#include "zep/script.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace player {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Decimal digits after optional white space and sign; what follows is
// ignored, no digits give 0, and values beyond 32 bits stick at the limit.
int32_t ParseNumber(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && std::string_view(" \t\n\v\f\r").find(field[i]) != std::string_view::npos) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    const int64_t limit = negative ? kMax + 1 : kMax;
    int64_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = std::min(value * 10 + (field[i] - '0'), limit);
    }
    return static_cast<int32_t>(negative ? -value : value);
}

bool IsCommandLetter(char c) { return c == 'D' || c == 'L' || c == 'P' || c == 'W'; }

// The command of one piece between semicolons, if it is one.
std::optional<StrokeCommand> ParseCommand(std::string_view piece) {
    piece = TrimString(piece, kBlanks);
    if (piece.empty() || !IsCommandLetter(piece[0])) return std::nullopt;
    // Field 0 holds the letter; fields 1 to 4 the numbers, later ones are ignored.
    std::array<int32_t, 5> numbers{};
    size_t fields = 0;
    SplitString(piece, ",", [&](std::string_view field) {
        if (fields > 0) numbers[fields] = ParseNumber(field);
        return ++fields < numbers.size();
    });
    switch (piece[0]) {
        case 'D': return StrokeCommand{CommandKind::Draw};
        case 'L': return StrokeCommand{CommandKind::LinearSweep, numbers[1]};
        case 'P':
            return StrokeCommand{CommandKind::PivotSweep, numbers[1], numbers[2], numbers[3], numbers[4]};
        default: return StrokeCommand{CommandKind::Wait};
    }
}

}  // namespace

std::string_view TrimString(std::string_view text, std::string_view blanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

std::vector<StrokeCommand> ParseScript(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    size_t count = 0;
    SplitString(text, ";", [&count](std::string_view piece) {
        piece = TrimString(piece, kBlanks);
        if (!piece.empty() && IsCommandLetter(piece[0])) ++count;
        return true;
    });
    std::vector<StrokeCommand> commands;
    commands.reserve(count);
    SplitString(text, ";", [&commands](std::string_view piece) {
        if (const std::optional<StrokeCommand> command = ParseCommand(piece)) commands.push_back(*command);
        return true;
    });
    return commands;
}

}  // namespace player
