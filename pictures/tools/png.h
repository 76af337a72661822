#pragma once

#include <pictures/color.h>
#include <pictures/icon.h>

#include <cstdint>
#include <vector>

namespace velmora {

// A complete PNG file, 8-bit RGBA, of width × height pixels given row by row
// from the top-left. The same pixels always give the same bytes. Throws
// std::invalid_argument when the sizes do not agree.
std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<Rgba> &pixels);

// The icon as a PNG file, each of its pixels drawn as a factor × factor block.
std::vector<std::uint8_t> encodeIconPng(const IconPicture &icon, int factor = 1);

} // namespace velmora
