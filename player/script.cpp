#include "script.h"

#include <algorithm>
#include <limits>

namespace player {

namespace {

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

int32_t NumberField(const std::vector<std::string>& fields, size_t index) {
    return index < fields.size() ? ParseNumber(fields[index]) : 0;
}

}  // namespace

void SplitString(std::string_view text, std::string_view separators, std::vector<std::string>& pieces) {
    pieces.clear();
    size_t start = 0;
    for (size_t end = text.find_first_of(separators); end != std::string_view::npos;
         end = text.find_first_of(separators, start)) {
        pieces.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    pieces.emplace_back(text.substr(start));
}

void TrimString(std::string& text, std::string_view blanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(text.find_last_not_of(blanks) + 1);
    text.erase(0, first);
}

std::vector<StrokeCommand> ParseScript(std::string_view text) {
    std::vector<StrokeCommand> commands;
    std::vector<std::string> pieces;
    std::vector<std::string> fields;
    SplitString(text, ";", pieces);
    for (std::string& piece : pieces) {
        TrimString(piece, " \t\r\n");
        if (piece.empty()) continue;
        SplitString(piece, ",", fields);
        switch (piece[0]) {
            case 'D':
                commands.push_back({CommandKind::Draw});
                break;
            case 'L':
                commands.push_back({CommandKind::LinearSweep, NumberField(fields, 1)});
                break;
            case 'P':
                commands.push_back({CommandKind::PivotSweep, NumberField(fields, 1), NumberField(fields, 2),
                                    NumberField(fields, 3), NumberField(fields, 4)});
                break;
            case 'W':
                commands.push_back({CommandKind::Wait});
                break;
            default:
                break;
        }
    }
    return commands;
}

}  // namespace player
