#include "animation/bmpwrite.h"

#include <limits>

#include "gfx/little_endian.h"
#include "sys/save_encoded.h"

namespace player {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

}  // namespace

std::optional<std::vector<uint8_t>> EncodeBitmapFile(const gfx::Bitmap& bitmap) {
    const gfx::DibRows rows = bitmap.ToDibRows();
    const uint32_t table_entries = rows.bits_per_pixel < 16 ? 1u << rows.bits_per_pixel : 0;
    const uint64_t row_size = (uint64_t{rows.bits_per_pixel} * static_cast<uint64_t>(rows.width) + 31) / 32 * 4;
    const uint64_t image_size = row_size * static_cast<uint64_t>(rows.height);
    const uint64_t offset = kFileHeaderSize + kInfoHeaderSize + 4 * uint64_t{table_entries};
    if (offset + image_size > std::numeric_limits<uint32_t>::max() || rows.bits.size() != image_size) {
        return std::nullopt;
    }

    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(offset + image_size));
    out.push_back('B');
    out.push_back('M');
    gfx::PutLe32(out, static_cast<uint32_t>(offset + image_size));
    gfx::PutLe32(out, 0);  // two reserved words
    gfx::PutLe32(out, static_cast<uint32_t>(offset));

    gfx::PutLe32(out, kInfoHeaderSize);
    gfx::PutLe32(out, static_cast<uint32_t>(rows.width));
    gfx::PutLe32(out, static_cast<uint32_t>(rows.height));  // positive: bottom row first
    gfx::PutLe16(out, 1);                                   // planes
    gfx::PutLe16(out, rows.bits_per_pixel);
    gfx::PutLe32(out, 0);  // uncompressed
    gfx::PutLe32(out, static_cast<uint32_t>(image_size));
    for (int i = 0; i < 4; ++i) gfx::PutLe32(out, 0);  // resolution, colours used and important

    for (uint32_t i = 0; i < table_entries; ++i) {
        const gfx::Color c = i < rows.color_table.size() ? rows.color_table[i] : gfx::Color{};
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    out.insert(out.end(), rows.bits.begin(), rows.bits.end());
    return out;
}

bool SaveBitmapFile(const std::filesystem::path& path, const gfx::Bitmap& bitmap, std::error_code& ec) {
    return sys::SaveEncoded(path, [&] { return EncodeBitmapFile(bitmap); }, ec, std::errc::file_too_large);
}

}  // namespace player
