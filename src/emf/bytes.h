#pragma once
// Little-endian reading and writing of the format's fixed-size fields.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace zor::emf::bytes {

inline void putU8(std::vector<std::uint8_t>& out, std::uint8_t v) { out.push_back(v); }
inline void putU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
inline void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
inline void putI32(std::vector<std::uint8_t>& out, std::int32_t v) {
    putU32(out, static_cast<std::uint32_t>(v));
}
inline void putF32(std::vector<std::uint8_t>& out, float v) {
    putU32(out, std::bit_cast<std::uint32_t>(v));
}
inline void patchU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = std::uint8_t(v >> (8 * i));
}

inline std::uint16_t getU16(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint16_t(d[at] | (d[at + 1] << 8));
}
inline std::uint32_t getU32(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t(d[at]) | (std::uint32_t(d[at + 1]) << 8) |
           (std::uint32_t(d[at + 2]) << 16) | (std::uint32_t(d[at + 3]) << 24);
}
inline std::int32_t getI32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int32_t>(getU32(d, at));
}
inline float getF32(std::span<const std::uint8_t> d, std::size_t at) {
    return std::bit_cast<float>(getU32(d, at));
}

}  // namespace zor::emf::bytes
