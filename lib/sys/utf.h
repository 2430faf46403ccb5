// Conversions between UTF-8 bytes, UTF-16 code units and code points.
//
// Nothing here fails: a byte sequence that is not UTF-8 and a lone surrogate
// both become U+FFFD, so text from outside never stops a program and the
// replacement is an ordinary character that nobody grades or draws.
#pragma once

#include <string>
#include <string_view>

namespace sys {

inline constexpr char32_t kReplacementChar = U'\uFFFD';

// Characters above U+FFFF become surrogate pairs. Every maximal ill-formed
// part of the input (a stray continuation byte, a cut-off or overlong
// sequence, an encoded surrogate, anything above U+10FFFF) gives one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);

// Joins surrogate pairs; a surrogate without its partner gives U+FFFD.
std::u32string Utf16ToCodePoints(std::u16string_view units);

// Appends the UTF-8 bytes of one code point of U+0000..U+10FFFF that is not
// a surrogate.
void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace sys
