#pragma once

#include <pictures/icon.h>

#include <cstdint>
#include <vector>

namespace velmora {

// A complete .ico file holding every given image as a 4-bit bitmap with the
// standard palette and a transparency (AND) mask. Throws std::invalid_argument
// when there are no images.
std::vector<std::uint8_t> encodeIco(const std::vector<IconPicture> &images);

} // namespace velmora
