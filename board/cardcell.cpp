#include "cardcell.h"

namespace velmora {

std::string pictureName(int number) { return "Image" + std::to_string(number); }

} // namespace velmora
