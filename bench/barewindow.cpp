// The bare Win32 window Velmora.exe's start-up is compared with: the same fixed
// frame and client size, the same two menus, and 52 solid rectangles where the
// cards would be, painted with GDI alone. Nothing else is loaded or drawn.

#include <board/geometry.h>

#include <windows.h>

namespace
{

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT kAboutCommand = 2;

void paint(HWND window)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    for (int i = 0; i < velmora::kCardCount; ++i) {
        const velmora::PixelRect cell = velmora::cellRect(velmora::cardAt(i));
        const RECT r = {cell.left, cell.top, cell.right(), cell.bottom()};
        FillRect(dc, &r, white);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kAboutCommand)
            MessageBoxW(window, L"Baseline", L"", MB_OK | MB_ICONINFORMATION);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    if (!RegisterClassExW(&windowClass))
        return 1;

    const HMENU menuBar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    const HMENU help = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 1, L"&Reset");
    AppendMenuW(menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(help, MF_STRING, kAboutCommand, L"&About...");
    AppendMenuW(menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");

    RECT frame = {0, 0, velmora::kClientWidth, velmora::kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Baseline", kStyle, CW_USEDEFAULT,
                                        CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                        nullptr, menuBar, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, showCommand);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
