// ZEP stroke scripts: the commands that say how each stroke of a character is
// revealed, parsed from the script's bytes.
//
// Commands end at ';'. Each is trimmed of " \t\r\n" and cut into fields at
// ','; the first byte alone picks the kind (D, L, P, W, upper case), and the
// numbers are fields 1 to 4. Anything else is skipped without notice.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace player {

enum class CommandKind : int32_t { Wait = 0, LinearSweep = 1, PivotSweep = 2, Draw = 3 };

// Every command but a Wait is a stroke: the n-th of them (from 0) takes its
// shape from region file n.
struct StrokeCommand {
    CommandKind kind = CommandKind::Wait;
    int32_t param1 = 0;  // L: direction angle; P: start angle (degrees)
    int32_t param2 = 0;  // P: end angle
    int32_t param3 = 0;  // P: pivot x
    int32_t param4 = 0;  // P: pivot y
    friend bool operator==(const StrokeCommand&, const StrokeCommand&) = default;
};

// An L or a P with fewer number fields than it reads takes 0 for the missing
// ones: skipping it would give every later stroke the wrong region file. A
// UTF-8 byte-order mark before the first command, as some editors save one,
// is skipped. Pieces are looked at in place, and the list is allocated once
// at its final size, so parsing needs little more memory than the commands.
std::vector<StrokeCommand> ParseScript(std::string_view text);

// Calls each(piece) for the pieces of text cut at every byte of separators,
// in order, until each returns false: N separators give N + 1 pieces, empty
// ones included. Pieces are views into text.
template <typename Each>
void SplitString(std::string_view text, std::string_view separators, Each&& each) {
    for (;;) {
        const size_t end = text.find_first_of(separators);
        if (!each(text.substr(0, end)) || end == std::string_view::npos) return;
        text.remove_prefix(end + 1);
    }
}

// text without the bytes of blanks at either end.
[[nodiscard]] std::string_view TrimString(std::string_view text, std::string_view blanks);

}  // namespace player
