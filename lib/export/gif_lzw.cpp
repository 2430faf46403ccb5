#include "export/gif_lzw.h"

#include <array>
#include <cstddef>
#include <utility>

namespace player {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr uint32_t kMaxCodes = 1u << kMaxCodeBits;
constexpr int32_t kNone = -1;

// The strings learnt so far: code -> (prefix code, last index), looked up the
// other way in an open-addressed hash table twice the dictionary's size, so
// that probes stay short. Codes below the first free one stand for single
// indices (and the clear and end codes) and are not stored.
class Dictionary {
public:
    void Clear(uint32_t first_free) {
        slots_.fill(Slot{});
        next_ = first_free;
    }
    [[nodiscard]] int32_t Find(uint32_t prefix, uint8_t index) const {
        const uint32_t key = Key(prefix, index);
        for (size_t at = Home(key);; at = (at + 1) % kSlots) {
            if (slots_[at].key == key) return static_cast<int32_t>(slots_[at].code);
            if (slots_[at].key == 0) return kNone;
        }
    }
    // Stores the string under the next free code.
    void Add(uint32_t prefix, uint8_t index) {
        const uint32_t key = Key(prefix, index);
        size_t at = Home(key);
        while (slots_[at].key != 0) at = (at + 1) % kSlots;
        prefixes_[next_] = static_cast<uint16_t>(prefix);
        slots_[at] = {key, next_++};
    }
    // The code of the string without its last index; code must be one added.
    [[nodiscard]] uint32_t PrefixOf(uint32_t code) const { return prefixes_[code]; }
    [[nodiscard]] uint32_t next() const { return next_; }
    [[nodiscard]] bool full() const { return next_ == kMaxCodes; }

private:
    static constexpr size_t kSlots = 2 * kMaxCodes;
    struct Slot {
        uint32_t key = 0;  // (prefix << 8 | index) + 1; 0 marks a free slot
        uint32_t code = 0;
    };
    static uint32_t Key(uint32_t prefix, uint8_t index) { return (prefix << 8 | index) + 1; }
    static size_t Home(uint32_t key) { return (key * 2654435761u) >> 19 & (kSlots - 1); }

    std::array<Slot, kSlots> slots_{};
    std::array<uint16_t, kMaxCodes> prefixes_{};
    uint32_t next_ = 0;
};

class BitWriter {
public:
    void Put(uint32_t code, int bits) {
        pending_ |= uint64_t{code} << count_;
        count_ += bits;
        for (; count_ >= 8; count_ -= 8, pending_ >>= 8) {
            bytes_.push_back(static_cast<uint8_t>(pending_));
        }
    }
    std::vector<uint8_t> Finish() {
        if (count_ > 0) bytes_.push_back(static_cast<uint8_t>(pending_));
        return std::move(bytes_);
    }

private:
    std::vector<uint8_t> bytes_;
    uint64_t pending_ = 0;
    int count_ = 0;
};

struct Match {
    uint32_t code;
    size_t end;  // one past the last pixel it covers
};

class Encoder {
public:
    Encoder(std::span<const uint8_t> indices, std::span<const uint8_t> alternates,
            int min_code_size, LzwParse parse)
        : indices_(indices),
          alternates_(alternates),
          parse_(parse),
          min_bits_(min_code_size),
          clear_(1u << min_code_size),
          end_(clear_ + 1) {}

    std::vector<uint8_t> Run() {
        ResetDictionary();
        Emit(clear_);
        // Code of the last match, whose string the next match's first index
        // extends into a new entry; none right after a clear.
        int32_t previous = kNone;
        for (size_t pos = 0; pos < indices_.size();) {
            const uint8_t first = ChooseFirst(pos);
            if (previous != kNone && dictionary_.full()) {
                Emit(clear_);
                ResetDictionary();
            } else if (previous != kNone) {
                dictionary_.Add(static_cast<uint32_t>(previous), first);
            }
            const Match match = Cut(LongestMatch(first, pos), pos);
            Emit(match.code);
            previous = static_cast<int32_t>(match.code);
            pos = match.end;
        }
        Emit(end_);
        return out_.Finish();
    }

private:
    void ResetDictionary() {
        dictionary_.Clear(end_ + 1);
        bits_ = min_bits_ + 1;
    }

    // Codes grow a bit once the dictionary reaches the current width, checked
    // after each code as a decoder does after adding the entry it implies.
    void Emit(uint32_t code) {
        out_.Put(code, bits_);
        if (dictionary_.next() == 1u << bits_ && bits_ < kMaxCodeBits) ++bits_;
    }

    // The longest string in the dictionary that the pixels from pos on may be
    // sent as, starting with first. Each dictionary string is reached by one
    // path only, so the search visits every entry at most once.
    Match LongestMatch(uint8_t first, size_t pos) {
        Match best{first, pos + 1};
        stack_.assign(1, best);
        while (!stack_.empty()) {
            const Match m = stack_.back();
            stack_.pop_back();
            if (m.end > best.end) best = m;
            if (m.end == indices_.size()) continue;
            Extend(m, indices_[m.end]);
            if (alternates_[m.end] != indices_[m.end]) Extend(m, alternates_[m.end]);
        }
        return best;
    }

    void Extend(const Match& m, uint8_t index) {
        const int32_t child = dictionary_.Find(m.code, index);
        if (child != kNone) stack_.push_back({static_cast<uint32_t>(child), m.end + 1});
    }

    // Where the longest match from pos ends.
    size_t Reach(size_t pos) {
        if (pos == indices_.size()) return pos;
        return LongestMatch(ChooseFirst(pos), pos).end;
    }

    // Looking ahead, the match one index shorter than the longest when the
    // match after it then reaches further.
    Match Cut(const Match& longest, size_t pos) {
        if (parse_ == LzwParse::Greedy || longest.end - pos < 2) return longest;
        const Match shorter{dictionary_.PrefixOf(longest.code), longest.end - 1};
        return Reach(shorter.end) > Reach(longest.end) ? shorter : longest;
    }

    // Of a pixel's two indices, the one that starts the longer match.
    uint8_t ChooseFirst(size_t pos) {
        const uint8_t a = indices_[pos];
        const uint8_t b = alternates_[pos];
        if (a == b) return a;
        return LongestMatch(b, pos).end > LongestMatch(a, pos).end ? b : a;
    }

    std::span<const uint8_t> indices_;
    std::span<const uint8_t> alternates_;
    const LzwParse parse_;
    const int min_bits_;
    const uint32_t clear_;
    const uint32_t end_;
    int bits_ = 0;
    Dictionary dictionary_;
    BitWriter out_;
    std::vector<Match> stack_;
};

}  // namespace

std::vector<uint8_t> LzwEncode(std::span<const uint8_t> indices,
                               std::span<const uint8_t> alternates, int min_code_size,
                               LzwParse parse) {
    return Encoder(indices, alternates, min_code_size, parse).Run();
}

}  // namespace player
