// A square of 254 lines of 254 bits: the black pixels of a picture's canvas
// square, and the encoder's view of a shape line by line. One bit a pixel
// keeps it to 8 KB, two pages of fresh memory.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <utility>

#include "zep/region_format.h"

namespace rgn {

class BitSquare {
public:
    static constexpr int32_t kSide = kCanvasSide;

    // Sets the bits from..to-1 of a line; the caller keeps them in the square.
    void Set(int32_t line, int32_t from, int32_t to) {
        Words& words = lines_[static_cast<size_t>(line)];
        while (from < to) {
            const int32_t bit = from % kWordBits;
            const int32_t count = std::min(to - from, kWordBits - bit);
            const uint64_t ones =
                count == kWordBits ? ~uint64_t{0} : ((uint64_t{1} << count) - 1) << bit;
            words[static_cast<size_t>(from / kWordBits)] |= ones;
            from += count;
        }
    }

    void Set(int32_t line, int32_t at) {
        lines_[static_cast<size_t>(line)][static_cast<size_t>(at / kWordBits)] |=
            uint64_t{1} << (at % kWordBits);
    }

    [[nodiscard]] bool Test(int32_t line, int32_t at) const {
        return (lines_[static_cast<size_t>(line)][static_cast<size_t>(at / kWordBits)] >>
                (at % kWordBits)) &
               1;
    }

    // The first set bit of the line and one past its last, or nothing when none is set.
    [[nodiscard]] std::optional<std::pair<int32_t, int32_t>> Extent(int32_t line) const {
        const Words& words = lines_[static_cast<size_t>(line)];
        const int32_t first = Next(words, 0, true);
        if (first >= kSide) return std::nullopt;
        size_t last = words.size() - 1;
        while (words[last] == 0) --last;
        const int32_t end =
            static_cast<int32_t>(last + 1) * kWordBits - std::countl_zero(words[last]);
        return std::pair(first, end);
    }

    // Calls run(from, to) for each maximal run of set bits of the line, left to right.
    template <typename RunFn>
    void ForEachRun(int32_t line, RunFn&& run) const {
        const Words& words = lines_[static_cast<size_t>(line)];
        int32_t at = 0;
        while (at < kSide) {
            const int32_t from = Next(words, at, true);
            if (from >= kSide) return;
            const int32_t to = std::min(Next(words, from, false), kSide);
            run(from, to);
            at = to;
        }
    }

    friend bool operator==(const BitSquare&, const BitSquare&) = default;

private:
    static constexpr int32_t kWordBits = 64;
    using Words = std::array<uint64_t, (kSide + kWordBits - 1) / kWordBits>;

    // The first bit at or after at whose value is set (or clear); past the
    // last word when there is none.
    static int32_t Next(const Words& words, int32_t at, bool set) {
        auto index = static_cast<size_t>(at / kWordBits);
        uint64_t word = (set ? words[index] : ~words[index]) & (~uint64_t{0} << (at % kWordBits));
        while (word == 0) {
            if (++index == words.size()) return static_cast<int32_t>(index) * kWordBits;
            word = set ? words[index] : ~words[index];
        }
        return static_cast<int32_t>(index) * kWordBits + std::countr_zero(word);
    }

    std::array<Words, kSide> lines_{};
};

}  // namespace rgn
