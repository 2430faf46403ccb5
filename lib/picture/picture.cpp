#include "picture/picture.h"

#include <algorithm>
#include <array>
#include <optional>
#include <system_error>
#include <vector>

#include "picture/bmp.h"
#include "picture/png.h"

namespace rgn {
namespace {

constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

PictureResult DecodePicture(const ByteSource& source) {
    std::array<uint8_t, kPngSignature.size()> start{};
    const std::optional<size_t> got = source.ReadAt(0, start);
    if (!got) return Refusal::Unreadable;
    if (*got >= 2 && start[0] == 'B' && start[1] == 'M') return DecodeBmp(source);
    if (*got < start.size() || start != kPngSignature) return Refusal::Unsupported;
    // PNG is decoded from memory, whole.
    if (source.size() > kMaxPngFileSize) return Refusal::TooLarge;
    std::vector<uint8_t> bytes(static_cast<size_t>(source.size()));
    if (const std::optional<Refusal> refusal = ReadExactly(source, 0, bytes)) return *refusal;
    return DecodePng(bytes);
}

PictureResult DecodePicture(std::span<const uint8_t> bytes) {
    return DecodePicture(MemorySource(bytes));
}

PictureResult LoadPicture(const std::filesystem::path& path) {
    std::error_code ec;
    std::optional<sys::InputFile> file = sys::InputFile::Open(path, ec);
    if (!file) return Refusal::Unreadable;
    return DecodePicture(FileSource(std::move(*file)));
}

}  // namespace rgn
