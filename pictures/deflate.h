#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace velmora {

// A zlib stream (RFC 1950) holding one deflate block with the fixed Huffman
// codes. Back-references are sought only at the given distances, which is all
// that pictures need: the pixel to the left and the row above.
std::vector<std::uint8_t> zlibCompress(std::span<const std::uint8_t> data,
                                       std::initializer_list<std::size_t> distances);

std::uint32_t adler32(std::span<const std::uint8_t> data);

} // namespace velmora
