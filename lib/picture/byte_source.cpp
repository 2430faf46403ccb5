#include "picture/byte_source.h"

#include <algorithm>
#include <system_error>

namespace rgn {

std::optional<size_t> MemorySource::ReadAt(uint64_t offset, std::span<uint8_t> out) const {
    if (offset >= bytes_.size()) return 0;
    const auto count = static_cast<size_t>(std::min<uint64_t>(out.size(), bytes_.size() - offset));
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
    return count;
}

std::optional<size_t> FileSource::ReadAt(uint64_t offset, std::span<uint8_t> out) const {
    std::error_code ignored;
    return file_.ReadAt(offset, out, ignored);
}

std::optional<Refusal> ReadExactly(const ByteSource& source, uint64_t offset,
                                   std::span<uint8_t> out) {
    const std::optional<size_t> got = source.ReadAt(offset, out);
    if (!got) return Refusal::Unreadable;
    if (*got < out.size()) return Refusal::Truncated;
    return std::nullopt;
}

}  // namespace rgn
