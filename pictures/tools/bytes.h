#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

// Appending fixed-width integers to a byte buffer: PNG is big-endian, ICO and
// BMP are little-endian.

inline void appendBigEndian32(std::vector<std::uint8_t> &out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void appendLittleEndian16(std::vector<std::uint8_t> &out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void appendLittleEndian32(std::vector<std::uint8_t> &out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

} // namespace velmora
