#include "sys/utf.h"

#include <cstddef>
#include <cstdint>

namespace sys {

namespace {

// The bytes that may follow a lead byte, from the table of well-formed
// sequences: narrowed second bytes are how UTF-8 rules out overlong forms,
// surrogates and code points above U+10FFFF.
struct LeadByte {
    int length;           // bytes in the sequence, 0 for a byte that cannot lead
    uint8_t second_low;   // range of the second byte
    uint8_t second_high;
    char32_t bits;        // the lead byte's share of the code point
};

LeadByte ReadLead(uint8_t b) {
    if (b < 0x80) return {1, 0, 0, b};
    if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF, char32_t{b} & 0x1Fu};
    if (b == 0xE0) return {3, 0xA0, 0xBF, 0};
    if (b == 0xED) return {3, 0x80, 0x9F, 0xD};
    if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF, char32_t{b} & 0x0Fu};
    if (b == 0xF0) return {4, 0x90, 0xBF, 0};
    if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF, char32_t{b} & 0x07u};
    if (b == 0xF4) return {4, 0x80, 0x8F, 4};
    return {0, 0, 0, 0};
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const LeadByte lead = ReadLead(static_cast<uint8_t>(bytes[i]));
        ++i;
        if (lead.length == 0) {
            out.push_back(static_cast<char16_t>(kReplacementChar));
            continue;
        }
        char32_t cp = lead.bits;
        bool whole = true;
        for (int k = 1; k < lead.length; ++k) {
            const uint8_t low = k == 1 ? lead.second_low : uint8_t{0x80};
            const uint8_t high = k == 1 ? lead.second_high : uint8_t{0xBF};
            if (i == bytes.size()) {
                whole = false;
                break;
            }
            const auto b = static_cast<uint8_t>(bytes[i]);
            // A byte that does not fit ends the broken sequence and is read
            // again as the start of the next one.
            if (b < low || b > high) {
                whole = false;
                break;
            }
            cp = (cp << 6) | (b & 0x3Fu);
            ++i;
        }
        AppendUtf16(out, whole ? cp : kReplacementChar);
    }
    return out;
}

std::u32string Utf16ToCodePoints(std::u16string_view units) {
    std::u32string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (IsHighSurrogate(u) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            out.push_back(0x10000 + ((char32_t{u} - 0xD800) << 10) + (char32_t{units[i + 1]} - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            out.push_back(kReplacementChar);
        } else {
            out.push_back(u);
        }
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
    auto put = [&out](char32_t byte) { out.push_back(static_cast<char>(byte)); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xF0 | (cp >> 18));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

}  // namespace sys
