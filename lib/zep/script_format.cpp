#include "zep/script_format.h"

#include <string>

namespace player {

namespace {

void AppendNumbers(std::string& text, std::initializer_list<int32_t> numbers) {
    for (const int32_t n : numbers) {
        text += ',';
        text += std::to_string(n);
    }
}

}  // namespace

std::string FormatScript(const std::vector<StrokeCommand>& commands) {
    std::string text;
    for (const StrokeCommand& c : commands) {
        switch (c.kind) {
            case CommandKind::Wait: text += 'W'; break;
            case CommandKind::Draw: text += 'D'; break;
            case CommandKind::LinearSweep:
                text += 'L';
                AppendNumbers(text, {c.param1});
                break;
            case CommandKind::PivotSweep:
                text += 'P';
                AppendNumbers(text, {c.param1, c.param2, c.param3, c.param4});
                break;
        }
        text += ";\n";
    }
    return text;
}

}  // namespace player
