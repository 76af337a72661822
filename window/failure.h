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

// The picture that the cell's state calls for cannot be shown: names it and its card.
FatalError pictureFailure(const CardCell &cell);

// What the message box says before the program closes.
std::string fatalErrorText(const std::string &what);

// The end of the program after a fatal error: says what failed on the error output,
// shows the front end's message box with fatalErrorText(what) and, once it is
// dismissed, ends the process with status 1. The state is only what is on screen,
// so there is nothing to save or clean up.
[[noreturn]] void endAfterFatalError(const std::string &what,
                                     void (*showMessageBox)(const std::string &text));

} // namespace velmora
