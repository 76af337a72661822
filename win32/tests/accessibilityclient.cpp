// An accessibility client, as a screen reader is one: finds Velmora's window,
// reads every card through Microsoft Active Accessibility, and plays the cards
// named on the command line through their default action. Prints one line per
// card before and after: child id, name, role, state, default action and
// location relative to the client area. Built for the tests only.
//   accessibilityclient "Queen of Hearts" ...
// With --events COUNT it listens instead, as a screen reader does, for the
// window's state-change and focus events: prints "ready" once it listens, then
// "statechange ID" or "focus ID" for each of the first COUNT events, and gives
// up after 60 seconds (status 1).
//   accessibilityclient --events 3
// With --capture held|free it waits until the window has taken the mouse capture,
// as it does on a button press, or let it go again, as after the release, and
// prints "capture held" or "capture free": how a test knows that the program has
// handled a button before it moves the pointer on.
//   accessibilityclient --capture held

#include "clientcalls.h"

#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

using velmora::test::childId;
using velmora::test::take;

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
        deck->get_accName(childId(id), &name);
        deck->get_accDefaultAction(childId(id), &action);
        deck->get_accRole(childId(id), &role);
        deck->get_accState(childId(id), &state);
        deck->accLocation(&x, &y, &w, &h, childId(id));
        std::printf("%ld|%ls|%ld|%ld|%ls|%ld,%ld,%ld,%ld\n", id, take(name).c_str(), role.lVal, state.lVal,
                    take(action).c_str(), x - origin.x, y - origin.y, w, h);
    }
}

int eventsLeft = 0;

// Only notes the event: reading the card's state back from inside the callback
// would call into the window's thread while it may still be sending the event.
void CALLBACK heard(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG id, DWORD, DWORD)
{
    if (object != OBJID_CLIENT || eventsLeft == 0 ||
        (event != EVENT_OBJECT_FOCUS && event != EVENT_OBJECT_STATECHANGE))
        return;
    std::printf("%s %ld\n", event == EVENT_OBJECT_FOCUS ? "focus" : "statechange", id);
    std::fflush(stdout);
    --eventsLeft;
}

int listen(HWND window, int count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // One hook for the range from focus to state change; the selection events between are ignored.
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, nullptr, heard, process, 0,
                                         WINEVENT_OUTOFCONTEXT);
    if (hook == nullptr)
        return fail("SetWinEventHook", HRESULT_FROM_WIN32(GetLastError()));
    eventsLeft = count;
    std::printf("ready\n");
    std::fflush(stdout);
    const ULONGLONG deadline = GetTickCount64() + 60'000;
    while (eventsLeft > 0 && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    UnhookWinEvent(hook);
    return eventsLeft == 0 ? 0 : fail("too few events", 0);
}

// The window, looked for until it appears or 60 seconds have passed.
HWND findVelmora()
{
    const ULONGLONG deadline = GetTickCount64() + 60'000;
    HWND window;
    while ((window = FindWindowW(L"Form1", L"Velmora")) == nullptr && GetTickCount64() < deadline)
        Sleep(50);
    return window;
}

int waitForCapture(HWND window, bool held)
{
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    const ULONGLONG deadline = GetTickCount64() + 60'000;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    while (GetGUIThreadInfo(thread, &info) && (info.hwndCapture == window) != held) {
        if (GetTickCount64() >= deadline)
            return fail("the capture did not change", 0);
        Sleep(20);
    }
    std::printf("capture %s\n", held ? "held" : "free");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND window = findVelmora();
    if (window == nullptr)
        return fail("no Velmora window", 0);
    if (argc == 3 && std::wcscmp(argv[1], L"--events") == 0) {
        const int status = listen(window, static_cast<int>(std::wcstol(argv[2], nullptr, 10)));
        CoUninitialize();
        return status;
    }
    if (argc == 3 && std::wcscmp(argv[1], L"--capture") == 0)
        return waitForCapture(window, std::wcscmp(argv[2], L"held") == 0);
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
            deck->get_accName(childId(id), &name);
            if (take(name) == argv[i]) {
                result = deck->accDoDefaultAction(childId(id));
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
