#pragma once
// 32-bit little-endian integers on standard streams, for the report file.
#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>

namespace zor::pagestore {

inline void writeU32(std::ostream& out, std::uint32_t v) {
    const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                       char((v >> 24) & 0xFF)};
    out.write(b, 4);
}

// Nothing when fewer than four bytes are left.
inline std::optional<std::uint32_t> readU32(std::istream& in) {
    unsigned char b[4];
    in.read(reinterpret_cast<char*>(b), 4);
    if (in.gcount() != 4) return std::nullopt;
    return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
           (std::uint32_t(b[3]) << 24);
}

}  // namespace zor::pagestore
