#pragma once

#include <window/failure.h>

#include <exception>
#include <string>

namespace velmora {

// Shows a message box naming the error and ends the process with a failure status.
[[noreturn]] void reportFatalError(const std::string &what);

// Runs one event handler; any error escaping it is fatal. Errors must not unwind
// through the toolkit's own frames, so every handler goes through here.
template <class Handler>
void runHandler(Handler &&handler)
{
    try {
        handler();
    } catch (const std::exception &e) {
        reportFatalError(e.what());
    }
}

} // namespace velmora
