#pragma once

#include "color.h"

#include <cstdint>
#include <span>
#include <vector>

namespace velmora {

// A complete PNG file, 8-bit RGBA, of width × height pixels given row by row
// from the top-left. Throws std::invalid_argument when the sizes do not agree.
std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<Rgba> &pixels);

// The CRC-32 that guards every PNG chunk (ISO 3309, as in zip and gzip).
std::uint32_t crc32(std::span<const std::uint8_t> data);

} // namespace velmora
