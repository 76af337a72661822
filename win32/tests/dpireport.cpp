// Prints the DPI that the system reports to a per-monitor aware program, in
// every way a program can ask for it, so that a test can tell how the screen's
// DPI was set up. Declares its awareness in the same manifest as Velmora.exe.
//
//     dpireport.exe
//     awareness 2 window 192 system 192 monitor 192x192 logpixelsx 192 menu 40

#include <windows.h>

#include <shellscalingapi.h>

#include <cstdio>

namespace
{

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int main()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"DpiReport";
    if (!RegisterClassW(&windowClass))
        return 1;
    const HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, L"DPI report", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOWNORMAL);

    UINT monitorX = 0;
    UINT monitorY = 0;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    if (GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &monitorX, &monitorY) != S_OK)
        monitorX = monitorY = 0;
    const HDC screen = GetDC(nullptr);
    const int logPixelsX = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const UINT windowDpi = GetDpiForWindow(window);
    std::printf("awareness %d window %u system %u monitor %ux%u logpixelsx %d menu %d\n",
                static_cast<int>(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext())),
                windowDpi, GetDpiForSystem(), monitorX, monitorY, logPixelsX,
                GetSystemMetricsForDpi(SM_CYMENU, windowDpi));
    std::fflush(stdout);
    DestroyWindow(window);
    return 0;
}
