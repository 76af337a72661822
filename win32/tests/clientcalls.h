#pragma once

// What an accessibility client passes and gets back: child ids and strings.

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace velmora::test {

// The VARIANT naming one child of an accessible object (CHILDID_SELF: the object).
inline VARIANT childId(LONG id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// The string's text, freeing the string.
inline std::wstring take(BSTR text)
{
    std::wstring result = text != nullptr ? text : L"";
    SysFreeString(text);
    return result;
}

} // namespace velmora::test
