#include "failure.h"

#include <cstdio>
#include <cstdlib>

namespace velmora {

FatalError pictureFailure(const CardCell &cell)
{
    const bool played = cell.state() == CellState::Played;
    const std::string name = played ? cell.markerPictureName() : cell.cardPictureName();
    return FatalError("picture " + name + " (" + cardName(cell.card()) + ") cannot be shown");
}

std::string fatalErrorText(const std::string &what)
{
    return "Velmora has to close because of an error:\n" + what;
}

void endAfterFatalError(const std::string &what, void (*showMessageBox)(const std::string &text))
{
    std::fprintf(stderr, "velmora: fatal error: %s\n", what.c_str());
    std::fflush(stderr);
    showMessageBox(fatalErrorText(what));
    std::_Exit(EXIT_FAILURE);
}

} // namespace velmora
