#include "fatalerror.h"

#include "text.h"

#include <window/config.h>

#include <windows.h>

namespace velmora::win32 {

void reportFatalError(const std::string &what)
{
    endAfterFatalError(what, [](const std::string &text) {
        // Task-modal: whatever state the window is in, it takes no more input.
        MessageBoxW(nullptr, toWide(text).c_str(), toWide(config::kApplicationName).c_str(),
                    MB_OK | MB_ICONERROR | MB_TASKMODAL);
    });
}

} // namespace velmora::win32
