#include "failure.h"

namespace velmora {

FatalError pictureFailure(const CardCell &cell)
{
    return FatalError("picture " + pictureName(cell.shownPictureNumber()) + " (" + cardName(cell.card()) +
                      ") cannot be shown");
}

std::string fatalErrorText(const std::string &what)
{
    return "Velmora has to close because of an error:\n" + what;
}

} // namespace velmora
