#pragma once

#include <window/failure.h>

#include <string>

namespace velmora::win32 {

// Shows a message box naming the error and ends the process with status 1.
[[noreturn]] void reportFatalError(const std::string &what);

} // namespace velmora::win32
