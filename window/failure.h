#pragma once

#include <board/cardcell.h>

#include <stdexcept>
#include <string>

namespace velmora {

// A failure the program cannot recover from, such as a picture that cannot be shown.
class FatalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The picture that the cell shows now cannot be shown: names it and its card.
FatalError pictureFailure(const CardCell &cell);

// What the message box says before the program closes.
std::string fatalErrorText(const std::string &what);

} // namespace velmora
