#include "zepkit/command_words.h"

namespace zepkit {

std::string Printable(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

std::optional<int64_t> ParseNumber(std::u16string_view text, int64_t max) {
    size_t max_digits = 1;
    for (int64_t rest = max; rest >= 10; rest /= 10) ++max_digits;
    if (text.empty() || text.size() > max_digits) return std::nullopt;
    int64_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value <= max ? std::optional(value) : std::nullopt;
}

}  // namespace zepkit
