#include "cardcell.h"

namespace velmora {

std::string pictureName(int number) { return "Image" + std::to_string(number); }

std::string clickHandlerName(int number) { return pictureName(number) + "_Click"; }

} // namespace velmora
