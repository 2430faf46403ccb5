#include "picture/bmp.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "gfx/little_endian.h"

namespace rgn {
namespace {

using gfx::Le16;
using gfx::Le32;

// Fields of the file header and of the info headers, as offsets in the file.
constexpr uint64_t kFileHeaderSize = 14;
constexpr size_t kDataOffsetAt = 10;
constexpr size_t kInfoSizeAt = 14;
constexpr size_t kWidthAt = 18;
constexpr size_t kCoreHeightAt = 20;
constexpr size_t kCorePlanesAt = 22;
constexpr size_t kCoreBitsAt = 24;
constexpr size_t kHeightAt = 22;
constexpr size_t kPlanesAt = 26;
constexpr size_t kBitsAt = 28;
constexpr size_t kCompressionAt = 30;
constexpr size_t kColoursUsedAt = 46;
// Red, green and blue masks: after a 40-byte header, inside the longer ones.
constexpr size_t kMasksAt = 54;

// Info header sizes: the OS/2 1.x core header, OS/2 2.x headers cut anywhere
// from 16 to 64 bytes, and Windows' 40 (info), 52, 56, 108 (V4) and 124 (V5).
constexpr uint32_t kCoreHeader = 12;
constexpr uint32_t kOs2ShortestHeader = 16;
constexpr uint32_t kOs2LongestHeader = 64;
constexpr uint32_t kInfoHeader = 40;
constexpr uint32_t kV2Header = 52;
constexpr uint32_t kV3Header = 56;
constexpr uint32_t kV4Header = 108;
constexpr uint32_t kV5Header = 124;
constexpr size_t kHeadersMost = kFileHeaderSize + kV5Header;

// Compression values. OS/2 2.x gives 3 and 4 other meanings (Huffman 1D, RLE24).
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitfields = 3;
constexpr uint32_t kAlphaBitfields = 6;

// RLE escapes: a zero count followed by one of these, or by a pixel count.
constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfBitmap = 1;
constexpr uint8_t kDelta = 2;

// Rows of the square closer together than this are read in one piece.
constexpr uint64_t kOneReadMost = uint64_t{1} << 20;

enum class Coding { Plain, Rle8, Rle4 };
enum class Ink : uint8_t { Missing, Colour, Black };

struct Layout {
    uint64_t data_offset = 0;
    int64_t width = 0;
    int64_t rows = 0;
    bool top_down = false;
    uint32_t bits = 0;
    Coding coding = Coding::Plain;
    uint32_t colour_mask = 0;     // 16 and 32 bits: the red, green and blue bits
    std::array<Ink, 256> inks{};  // 1 to 8 bits: what each colour index stands for
};

template <typename T>
using Or = std::variant<T, Refusal>;

bool IsOs2Header(uint32_t size) {
    return size >= kOs2ShortestHeader && size <= kOs2LongestHeader && size != kInfoHeader &&
           size != kV2Header && size != kV3Header;
}

bool IsKnownHeader(uint32_t size) {
    return size == kCoreHeader || (size >= kOs2ShortestHeader && size <= kOs2LongestHeader) ||
           size == kV4Header || size == kV5Header;
}

bool IsKnownDepth(uint32_t bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32;
}

struct Fields {
    uint32_t info_size = 0;
    int64_t width = 0;
    int64_t height = 0;
    uint32_t planes = 0;
    uint32_t bits = 0;
    uint32_t compression = kUncompressed;
    uint32_t colours_used = 0;
};

// The info header's fields; an OS/2 2.x header cut short lacks the later ones.
Fields ReadFields(std::span<const uint8_t> h, uint32_t info_size) {
    Fields f;
    f.info_size = info_size;
    if (info_size == kCoreHeader) {
        f.width = Le16(h, kWidthAt);
        f.height = Le16(h, kCoreHeightAt);
        f.planes = Le16(h, kCorePlanesAt);
        f.bits = Le16(h, kCoreBitsAt);
        return f;
    }
    f.width = static_cast<int32_t>(Le32(h, kWidthAt));
    f.height = static_cast<int32_t>(Le32(h, kHeightAt));
    f.planes = Le16(h, kPlanesAt);
    f.bits = Le16(h, kBitsAt);
    if (kFileHeaderSize + info_size >= kCompressionAt + 4) f.compression = Le32(h, kCompressionAt);
    if (kFileHeaderSize + info_size >= kColoursUsedAt + 4) f.colours_used = Le32(h, kColoursUsedAt);
    return f;
}

// How the pixels are stored, and how many mask bytes follow the header.
Or<Coding> ReadCoding(const Fields& f, bool& bitfields, uint32_t& masks_after) {
    const bool os2 = IsOs2Header(f.info_size);
    switch (f.compression) {
        case kUncompressed: return Coding::Plain;
        case kRle8: return Coding::Rle8;
        case kRle4: return Coding::Rle4;
        case kBitfields:
        case kAlphaBitfields:
            if (os2) return Refusal::Unsupported;  // Huffman 1D
            bitfields = true;
            if (f.info_size == kInfoHeader) masks_after = f.compression == kBitfields ? 12 : 16;
            return Coding::Plain;
        default: return Refusal::Unsupported;  // JPEG, PNG, OS/2's RLE24, unknown ones
    }
}

// Checks that the fields describe a picture, in the order the fields come.
std::optional<Refusal> CheckFields(const Fields& f, Coding coding, bool bitfields) {
    if (f.planes != 1) return Refusal::Corrupt;
    if (f.bits == 64) return Refusal::Unsupported;
    if (!IsKnownDepth(f.bits)) return Refusal::Corrupt;
    if (f.width <= 0 || f.height == 0 || f.height == INT32_MIN) return Refusal::Corrupt;
    if ((coding == Coding::Rle8 && f.bits != 8) || (coding == Coding::Rle4 && f.bits != 4)) {
        return Refusal::Corrupt;
    }
    // Compressed rows are always stored bottom-up.
    if (coding != Coding::Plain && f.height < 0) return Refusal::Corrupt;
    if (bitfields && f.bits != 16 && f.bits != 32) return Refusal::Corrupt;
    return std::nullopt;
}

// The colour table lies between the headers and the pixels: biClrUsed
// entries, or all that the depth can name, but never the pixels' bytes.
std::optional<Refusal> ReadInks(const ByteSource& source, const Fields& f, uint64_t table_at,
                                Layout& l) {
    const uint64_t entry_size = f.info_size == kCoreHeader ? 3 : 4;
    const uint64_t most = uint64_t{1} << f.bits;
    const uint64_t declared = f.colours_used != 0 && f.colours_used < most ? f.colours_used : most;
    const uint64_t entries = std::min(declared, (l.data_offset - table_at) / entry_size);
    std::array<uint8_t, 256 * 4> table{};
    const std::span<uint8_t> bytes =
        std::span(table).first(static_cast<size_t>(entries * entry_size));
    if (const std::optional<Refusal> refusal = ReadExactly(source, table_at, bytes)) return refusal;
    for (size_t i = 0; i < entries; ++i) {
        const uint8_t* bgr = table.data() + i * entry_size;
        l.inks[i] = (bgr[0] | bgr[1] | bgr[2]) == 0 ? Ink::Black : Ink::Colour;
    }
    return std::nullopt;
}

Or<Layout> ReadLayout(const ByteSource& source) {
    std::array<uint8_t, kHeadersMost> h{};
    const auto got = static_cast<size_t>(std::min<uint64_t>(source.size(), h.size()));
    if (const std::optional<Refusal> refusal = ReadExactly(source, 0, std::span(h).first(got))) {
        return *refusal;
    }
    if (got < kInfoSizeAt + 4) return Refusal::Truncated;
    const uint32_t info_size = Le32(h, kInfoSizeAt);
    if (!IsKnownHeader(info_size)) return Refusal::Unsupported;
    if (got < kFileHeaderSize + info_size) return Refusal::Truncated;

    const Fields f = ReadFields(h, info_size);
    bool bitfields = false;
    uint32_t masks_after = 0;
    Or<Coding> coding = ReadCoding(f, bitfields, masks_after);
    if (const Refusal* refusal = std::get_if<Refusal>(&coding)) return *refusal;
    Layout l;
    l.coding = std::get<Coding>(coding);
    if (const std::optional<Refusal> refusal = CheckFields(f, l.coding, bitfields)) return *refusal;
    l.width = f.width;
    l.rows = f.height < 0 ? -f.height : f.height;
    l.top_down = f.height < 0;
    l.bits = f.bits;

    const uint64_t headers_end = kFileHeaderSize + info_size + masks_after;
    if (got < headers_end) return Refusal::Truncated;
    if (bitfields) {
        l.colour_mask = Le32(h, kMasksAt) | Le32(h, kMasksAt + 4) | Le32(h, kMasksAt + 8);
    } else {
        l.colour_mask =
            f.bits == 16 ? 0x7FFFu : 0xFFFFFFu;  // 5-5-5, and 8-8-8 with the fourth byte ignored
    }
    l.data_offset = Le32(h, kDataOffsetAt);
    if (l.data_offset < headers_end) return Refusal::Corrupt;
    if (l.data_offset > source.size()) return Refusal::Truncated;
    if (f.bits <= 8) {
        if (const std::optional<Refusal> refusal = ReadInks(source, f, headers_end, l)) {
            return *refusal;
        }
    }
    return l;
}

// Marks the black pixels of one row of the square; false when a pixel names
// a colour that the table lacks.
bool ScanRow(std::span<const uint8_t> row, int32_t columns, const Layout& l, BitSquare& black,
             int32_t y) {
    const auto at = [](int32_t x) { return static_cast<size_t>(x); };
    switch (l.bits) {
        case 24:
            for (int32_t x = 0; x < columns; ++x) {
                if ((row[3 * at(x)] | row[3 * at(x) + 1] | row[3 * at(x) + 2]) == 0) {
                    black.Set(y, x);
                }
            }
            return true;
        case 16:
            for (int32_t x = 0; x < columns; ++x) {
                if ((Le16(row, 2 * at(x)) & l.colour_mask) == 0) black.Set(y, x);
            }
            return true;
        case 32:
            for (int32_t x = 0; x < columns; ++x) {
                if ((Le32(row, 4 * at(x)) & l.colour_mask) == 0) black.Set(y, x);
            }
            return true;
        default: {
            const uint32_t bits = l.bits;
            const uint32_t index_mask = (1u << bits) - 1;
            for (int32_t x = 0; x < columns; ++x) {
                const uint32_t bit = static_cast<uint32_t>(x) * bits;
                const uint32_t index = (uint32_t{row[bit / 8]} >> (8 - bits - bit % 8)) & index_mask;
                const Ink ink = l.inks[index];
                if (ink == Ink::Missing) return false;
                if (ink == Ink::Black) black.Set(y, x);
            }
            return true;
        }
    }
}

PictureResult DecodePlain(const ByteSource& source, const Layout& l) {
    const uint64_t row_size = (static_cast<uint64_t>(l.width) * l.bits + 31) / 32 * 4;
    if (static_cast<uint64_t>(l.rows) > (source.size() - l.data_offset) / row_size) {
        return Refusal::Truncated;
    }
    const auto rows = static_cast<int32_t>(std::min<int64_t>(l.rows, BitSquare::kSide));
    const auto columns = static_cast<int32_t>(std::min<int64_t>(l.width, BitSquare::kSide));
    const size_t needed = (static_cast<size_t>(columns) * l.bits + 7) / 8;
    // Where the square's rows lie close together (a bottom-up file keeps
    // them last), one read takes them all; otherwise each is read alone.
    const uint64_t first_stored = l.top_down ? 0 : static_cast<uint64_t>(l.rows - rows);
    const uint64_t extent = static_cast<uint64_t>(rows - 1) * row_size + needed;
    const bool at_once = extent <= kOneReadMost;
    std::vector<uint8_t> buffer(at_once ? static_cast<size_t>(extent) : needed);
    if (at_once) {
        if (auto refusal = ReadExactly(source, l.data_offset + first_stored * row_size, buffer)) {
            return *refusal;
        }
    }
    BlackSquare picture{l.width, l.rows, {}};
    for (int32_t y = 0; y < rows; ++y) {
        const uint64_t stored =
            l.top_down ? static_cast<uint64_t>(y) : static_cast<uint64_t>(l.rows - 1 - y);
        std::span<const uint8_t> row;
        if (at_once) {
            row = std::span(buffer).subspan(static_cast<size_t>((stored - first_stored) * row_size),
                                            needed);
        } else {
            if (auto refusal = ReadExactly(source, l.data_offset + stored * row_size, buffer)) {
                return *refusal;
            }
            row = buffer;
        }
        if (!ScanRow(row, columns, l, picture.black, y)) return Refusal::Corrupt;
    }
    return picture;
}

// A stream of bytes read block by block.
class Stream {
public:
    Stream(const ByteSource& source, uint64_t from) : source_(source), next_block_(from) {}

    // The next byte; nothing at the end of the file or after a read error.
    std::optional<uint8_t> Next() {
        if (at_ == block_.size() && !Refill()) return std::nullopt;
        return block_[at_++];
    }

    // The next count bytes, into the front of into.
    bool Take(uint64_t count, std::span<uint8_t> into) {
        for (uint8_t& byte : into.first(static_cast<size_t>(count))) {
            const std::optional<uint8_t> next = Next();
            if (!next) return false;
            byte = *next;
        }
        return true;
    }

    // Why the stream stopped.
    [[nodiscard]] Refusal failure() const {
        return read_error_ ? Refusal::Unreadable : Refusal::Truncated;
    }

private:
    static constexpr size_t kBlockSize = size_t{1} << 16;

    bool Refill() {
        if (next_block_ >= source_.size()) return false;
        block_.resize(
            static_cast<size_t>(std::min<uint64_t>(kBlockSize, source_.size() - next_block_)));
        const std::optional<size_t> got = source_.ReadAt(next_block_, block_);
        read_error_ = !got;
        if (!got || *got == 0) return false;
        block_.resize(*got);
        next_block_ += *got;
        at_ = 0;
        return true;
    }

    const ByteSource& source_;
    uint64_t next_block_;
    std::vector<uint8_t> block_;
    size_t at_ = 0;
    bool read_error_ = false;
};

// Walks an RLE8 or RLE4 stream to its end, keeping the square's black
// pixels. Pixels that the stream skips (end of line, delta) are left out,
// and pixels past a row's end are dropped.
PictureResult DecodeRle(const ByteSource& source, const Layout& l) {
    BlackSquare picture{l.width, l.rows, {}};
    const int64_t columns = std::min<int64_t>(l.width, BitSquare::kSide);
    const bool four_bits = l.coding == Coding::Rle4;
    Stream in(source, l.data_offset);
    int64_t x = 0;
    int64_t stored = 0;  // rows counted from the bottom
    bool missing_colour = false;
    const auto paint = [&](int64_t count, const auto& index_of) {
        const int64_t y = l.rows - 1 - stored;
        for (int64_t i = 0; y < BitSquare::kSide && i < count && x + i < columns; ++i) {
            const Ink ink = l.inks[static_cast<size_t>(index_of(i))];
            missing_colour |= ink == Ink::Missing;
            if (ink == Ink::Black) {
                picture.black.Set(static_cast<int32_t>(y), static_cast<int32_t>(x + i));
            }
        }
        x += count;
    };
    std::array<uint8_t, 256> absolute{};
    while (stored < l.rows && !missing_colour) {
        const std::optional<uint8_t> count = in.Next();
        const std::optional<uint8_t> value = count ? in.Next() : std::nullopt;
        if (!value) return in.failure();
        if (*count > 0) {
            paint(*count, [&](int64_t i) {
                return four_bits ? (i % 2 == 0 ? *value >> 4 : *value & 15) : *value;
            });
        } else if (*value == kEndOfLine) {
            ++stored;
            x = 0;
        } else if (*value == kEndOfBitmap) {
            break;
        } else if (*value == kDelta) {
            const std::optional<uint8_t> dx = in.Next();
            const std::optional<uint8_t> dy = dx ? in.Next() : std::nullopt;
            if (!dy) return in.failure();
            x += *dx;
            stored += *dy;
        } else {
            // Absolute mode: that many pixels as they stand, padded to 16 bits.
            const uint64_t bytes = four_bits ? (*value + 1u) / 2 : *value;
            if (!in.Take(bytes + bytes % 2, absolute)) return in.failure();
            paint(*value, [&](int64_t i) {
                const auto byte = absolute[static_cast<size_t>(four_bits ? i / 2 : i)];
                return four_bits ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte;
            });
        }
    }
    if (missing_colour) return Refusal::Corrupt;
    return picture;
}

}  // namespace

PictureResult DecodeBmp(const ByteSource& source) {
    const Or<Layout> layout = ReadLayout(source);
    if (const Refusal* refusal = std::get_if<Refusal>(&layout)) return *refusal;
    const Layout& l = std::get<Layout>(layout);
    return l.coding == Coding::Plain ? DecodePlain(source, l) : DecodeRle(source, l);
}

}  // namespace rgn
