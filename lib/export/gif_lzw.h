// The LZW compression of GIF image data, with pixels that may be sent as
// either of two palette indices.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace player {

// How the pixels are cut into dictionary strings: always at the end of the
// longest match (the classic way), or one index earlier where the match
// after that then reaches further. The look-ahead sends fewer codes on most
// of our frames, though not on all.
enum class LzwParse { Greedy, LookAhead };

// The codes for the pixels in order, where pixel i is sent as indices[i] or
// as alternates[i], whichever gives the longer dictionary match (pass the
// same span twice for plain pixels). Both spans are equally long and hold
// palette indices below 1 << min_code_size; min_code_size lies in [2, 8]. Returns the packed
// code stream, least significant bit first, before its division into blocks.
[[nodiscard]] std::vector<uint8_t> LzwEncode(std::span<const uint8_t> indices,
                                             std::span<const uint8_t> alternates, int min_code_size,
                                             LzwParse parse = LzwParse::Greedy);

}  // namespace player
