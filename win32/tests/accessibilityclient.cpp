// An accessibility client, as a screen reader is one: finds Velmora's window,
// reads every card through Microsoft Active Accessibility, and plays the cards
// named on the command line through their default action. Prints one line per
// card before and after: child id, name, role, state, default action and
// location relative to the client area. Built for the tests only.
//   accessibilityclient "Queen of Hearts" ...

#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring take(BSTR text)
{
    std::wstring result = text != nullptr ? text : L"";
    SysFreeString(text);
    return result;
}

VARIANT child(LONG id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

int fail(const char *what, HRESULT result)
{
    std::printf("error: %s (0x%08lx)\n", what, static_cast<unsigned long>(result));
    return 1;
}

void list(IAccessible *deck, HWND window, LONG count)
{
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    for (LONG id = 1; id <= count; ++id) {
        BSTR name = nullptr;
        BSTR action = nullptr;
        VARIANT role;
        VARIANT state;
        VariantInit(&role);
        VariantInit(&state);
        LONG x = 0, y = 0, w = 0, h = 0;
        deck->get_accName(child(id), &name);
        deck->get_accDefaultAction(child(id), &action);
        deck->get_accRole(child(id), &role);
        deck->get_accState(child(id), &state);
        deck->accLocation(&x, &y, &w, &h, child(id));
        std::printf("%ld|%ls|%ld|%ld|%ls|%ld,%ld,%ld,%ld\n", id, take(name).c_str(), role.lVal, state.lVal,
                    take(action).c_str(), x - origin.x, y - origin.y, w, h);
    }
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND window = FindWindowW(L"Form1", L"Velmora");
    if (window == nullptr)
        return fail("no Velmora window", 0);
    IAccessible *deck = nullptr;
    HRESULT result = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                                __uuidof(IAccessible), reinterpret_cast<void **>(&deck));
    if (FAILED(result) || deck == nullptr)
        return fail("AccessibleObjectFromWindow", result);
    LONG count = 0;
    if (FAILED(result = deck->get_accChildCount(&count)))
        return fail("get_accChildCount", result);
    std::printf("children %ld\n", count);
    list(deck, window, count);

    for (int i = 1; i < argc; ++i) {
        for (LONG id = 1; id <= count; ++id) {
            BSTR name = nullptr;
            deck->get_accName(child(id), &name);
            if (take(name) == argv[i]) {
                result = deck->accDoDefaultAction(child(id));
                std::printf("played %ls: 0x%08lx\n", argv[i], static_cast<unsigned long>(result));
            }
        }
    }
    std::printf("after\n");
    list(deck, window, count);
    deck->Release();
    CoUninitialize();
    return 0;
}
