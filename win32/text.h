#pragma once

#include <string>
#include <string_view>

namespace velmora::win32 {

// UTF-8, as the credits are configured, to the UTF-16 of the Windows API.
std::wstring toWide(std::string_view utf8);

} // namespace velmora::win32
