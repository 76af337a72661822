#include "text.h"

#include <window/failure.h>

#include <windows.h>

namespace velmora::win32 {

std::wstring toWide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length == 0 || MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length) != length)
        throw FatalError("text cannot be converted to UTF-16");
    return wide;
}

} // namespace velmora::win32
