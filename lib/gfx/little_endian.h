// Little-endian fields, the byte order of the picture and sound files we
// read and write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace gfx {

inline void PutLe16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

// The caller has checked that the field lies within b.
inline uint32_t Le16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8);
}

inline uint32_t Le32(std::span<const uint8_t> b, size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}

}  // namespace gfx
