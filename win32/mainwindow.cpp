#include "mainwindow.h"

#include "boardaccessible.h"
#include "text.h"

#include <window/about.h>
#include <window/devicegrid.h>
#include <window/failure.h>
#include <window/config.h>

#include <pictures/pictures.h>

#include <windowsx.h>

#include <cstdlib>

namespace velmora::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"Form1";
constexpr UINT kResetCommand = 1;
constexpr UINT kAboutCommand = 2;

// A fixed frame: it can be minimised and closed, but not resized or maximised.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;

// Whole device pixels per picture pixel: 120 dpi (125 %) draws at 1, 144 and
// 168 dpi (150 %, 175 %) at 2.
int scaleForDpi(UINT dpi) { return wholeFactor(static_cast<double>(dpi) / USER_DEFAULT_SCREEN_DPI); }

MouseButton buttonOf(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return MouseButton::Right;
    default:
        return MouseButton::Other;
    }
}

BITMAPINFO pictureFormat()
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kPictureWidth;
    info.bmiHeader.biHeight = kPictureHeight; // positive: rows bottom-up, as stored
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

UniqueIcon loadIcon(HINSTANCE instance, int systemMetric)
{
    const int size = GetSystemMetrics(systemMetric);
    UniqueIcon icon(
        static_cast<HICON>(LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (!icon)
        throw FatalError("the application icon cannot be loaded");
    return icon;
}

// The class of the program's window, with its icons, registered once for the process.
class WindowClass {
public:
    WindowClass(HINSTANCE instance, WNDPROC windowProc)
        : instance_(instance), icon_(loadIcon(instance, SM_CXICON)), smallIcon_(loadIcon(instance, SM_CXSMICON))
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        // No CS_DBLCLKS: a double-click is two clicks, and the second lands on the marker.
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = icon_.get();
        windowClass.hIconSm = smallIcon_.get();
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        // The system's face colour shows in the gaps and strips; the program sets none of its own.
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kWindowClass;
        if (RegisterClassExW(&windowClass) == 0)
            throw FatalError("the window class cannot be registered");
    }
    ~WindowClass() { UnregisterClassW(kWindowClass, instance_); }
    WindowClass(const WindowClass &) = delete;
    WindowClass &operator=(const WindowClass &) = delete;

private:
    HINSTANCE instance_;
    UniqueIcon icon_;
    UniqueIcon smallIcon_;
};

UniqueMenu createMenus()
{
    UniqueMenu bar(CreateMenu());
    // A popup menu belongs to the bar once it is appended there.
    const auto appendMenu = [&bar](const wchar_t *caption, UINT command, const wchar_t *itemCaption) {
        UniqueMenu menu(CreatePopupMenu());
        if (!bar || !menu || !AppendMenuW(menu.get(), MF_STRING, command, itemCaption) ||
            !AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(menu.get()), caption))
            throw FatalError("the menus cannot be created");
        [[maybe_unused]] const HMENU ownedByTheBar = menu.release();
    };
    appendMenu(L"&File", kResetCommand, L"&Reset");
    appendMenu(L"&Help", kAboutCommand, L"&About...");
    return bar;
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance)
{
    // Made as one of the window's handlers: a failure here ends the program as any other does.
    form_.runHandler([&] { create(instance); });
}

void MainWindow::create(HINSTANCE instance)
{
    static const WindowClass windowClass(instance, &MainWindow::windowProc);
    UniqueMenu menuBar = createMenus();
    // Placed by the window system; sized for the screen's DPI once it exists.
    if (CreateWindowExW(kExStyle, kWindowClass, toWide(config::kApplicationName).c_str(), kStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menuBar.get(), instance,
                        this) == nullptr)
        throw FatalError("the window cannot be created");
    [[maybe_unused]] const HMENU ownedByTheWindow = menuBar.release(); // destroyed with the window
    fitToDpi(GetDpiForWindow(window_), nullptr);
}

MainWindow::~MainWindow()
{
    if (window_ != nullptr && IsWindow(window_))
        DestroyWindow(window_);
    releaseAccessible();
}

void MainWindow::fitToDpi(UINT dpi, const RECT *suggested)
{
    scale_ = scaleForDpi(dpi);
    const int width = kClientWidth * scale_;
    const int height = kClientHeight * scale_;
    RECT frame = {0, 0, width, height};
    if (!AdjustWindowRectExForDpi(&frame, kStyle, TRUE, kExStyle, dpi))
        throw FatalError("the window's frame cannot be measured");
    RECT placed;
    if (!GetWindowRect(window_, &placed))
        throw FatalError("the window's place cannot be read");
    if (suggested != nullptr)
        placed = *suggested;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!SetWindowPos(window_, nullptr, placed.left, placed.top, frame.right - frame.left,
                      frame.bottom - frame.top, flags))
        throw FatalError("the window cannot be sized");
    // A menu bar that wraps takes more height than the frame calculation allows for.
    RECT client;
    if (GetClientRect(window_, &client) && (client.right != width || client.bottom != height)) {
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                     frame.bottom - frame.top + height - client.bottom, flags | SWP_NOMOVE);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<MainWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<MainWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // No error may unwind into the window system's frames: each message is one of
    // Form1's handlers. After a fatal error the window only waits for the end.
    LRESULT result = 0;
    if (self == nullptr || !self->form_.runHandler([&] { result = self->handleMessage(message, wParam, lParam); }))
        return DefWindowProcW(window, message, wParam, lParam);
    return result;
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        // The release comes here even when it happens outside the window.
        SetCapture(window_);
        form_.mousePressed(buttonOf(message), picturePoint(lParam));
        return message == WM_XBUTTONDOWN ? TRUE : 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
        form_.mouseReleased(buttonOf(message), picturePoint(lParam));
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2)) == 0)
            ReleaseCapture();
        return message == WM_XBUTTONUP ? TRUE : 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window_)
            form_.mouseLost();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && LOWORD(wParam) == kResetCommand)
            form_.Reset_Click();
        else if (HIWORD(wParam) == 0 && LOWORD(wParam) == kAboutCommand)
            form_.About_Click();
        return 0;
    case WM_DPICHANGED:
        fitToDpi(HIWORD(wParam), reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_GETOBJECT:
        if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT))
            return accessibleObject(wParam);
        return DefWindowProcW(window_, message, wParam, lParam);
    case WM_DESTROY:
        releaseAccessible();
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT MainWindow::accessibleObject(WPARAM wParam)
{
    if (!accessible_) {
        // Clients in other processes reach the object through COM, which the program
        // only starts when the first of them asks.
        if (!com_.emplace().usable())
            throw FatalError("COM cannot be started for accessibility clients");
        accessible_.Attach(new BoardAccessible(this));
    }
    return LresultFromObject(__uuidof(IAccessible), wParam, accessible_.Get());
}

void MainWindow::releaseAccessible()
{
    if (accessible_) {
        accessible_->disconnect();
        accessible_.Reset();
    }
    com_.reset();
}

RECT MainWindow::deviceRect(const PixelRect &rect) const
{
    return {rect.left * scale_, rect.top * scale_, rect.right() * scale_, rect.bottom() * scale_};
}

// A device pixel covers [x, x + 1): at a scale of 2 it is half a picture pixel.
PicturePoint MainWindow::picturePoint(LPARAM position) const
{
    return {static_cast<double>(GET_X_LPARAM(position)) / scale_,
            static_cast<double>(GET_Y_LPARAM(position)) / scale_};
}

void MainWindow::paint()
{
    const PaintScope paint(window_);
    if (paint.dc() == nullptr)
        throw FatalError("the window cannot be painted");
    static const BITMAPINFO format = pictureFormat();
    SetStretchBltMode(paint.dc(), COLORONCOLOR); // whole-pixel copies, never smoothed
    for (const CardCell &cell : form_.board().cells()) {
        const RECT target = deviceRect(cell.rect());
        RECT overlap;
        if (!IntersectRect(&overlap, &target, &paint.dirty()))
            continue;
        const Picture &picture = pictureNumbered(cell.shownPictureNumber());
        const int lines = scale_ == 1
                              ? SetDIBitsToDevice(paint.dc(), target.left, target.top, kPictureWidth,
                                                  kPictureHeight, 0, 0, 0, kPictureHeight,
                                                  picture.dib().data(), &format, DIB_RGB_COLORS)
                              : StretchDIBits(paint.dc(), target.left, target.top, kPictureWidth * scale_,
                                              kPictureHeight * scale_, 0, 0, kPictureWidth, kPictureHeight,
                                              picture.dib().data(), &format, DIB_RGB_COLORS, SRCCOPY);
        if (lines <= 0)
            throw pictureFailure(cell);
    }
}

bool MainWindow::showCell(const CardCell &cell)
{
    const RECT rect = deviceRect(cell.rect());
    return InvalidateRect(window_, &rect, FALSE) != FALSE;
}

bool MainWindow::showBoard(const Board &)
{
    const RECT grid = deviceRect(kGridRect);
    return InvalidateRect(window_, &grid, FALSE) != FALSE;
}

void MainWindow::showMessage(std::string_view text)
{
    // Message boxes break lines at CR LF; the credit text joins them with a lone CR.
    const std::wstring shown = toWide(withLineBreaks(text, "\r\n"));
    // No icon, one OK button, modal: the window takes no input until it is dismissed.
    if (MessageBoxW(window_, shown.c_str(), toWide(config::kApplicationName).c_str(), MB_OK | MB_APPLMODAL) == 0)
        throw FatalError("the message box cannot be shown");
}

void MainWindow::announceCardState(const CardCell &cell)
{
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window_, OBJID_CLIENT, BoardAccessible::childId(cell.card()));
}

// A reader speaks a state change only of what it is on; a focus event makes it
// read the played card, name and state, wherever it was. Keys stay with the window.
void MainWindow::announcePlay(const CardCell &cell)
{
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window_, OBJID_CLIENT, BoardAccessible::childId(cell.card()));
}

// The reader goes to the deck, whose description says that no card is played.
void MainWindow::announceDeckReset() { NotifyWinEvent(EVENT_OBJECT_FOCUS, window_, OBJID_CLIENT, CHILDID_SELF); }

void MainWindow::endWithFatalError(std::string_view text)
{
    // Task-modal: whatever state the window is in, it takes no more input.
    MessageBoxW(nullptr, toWide(text).c_str(), toWide(config::kApplicationName).c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
    // The state is only what is on screen: there is nothing to save or clean up.
    std::_Exit(EXIT_FAILURE);
}

int MainWindow::run(int showCommand)
{
    int status = EXIT_FAILURE;
    form_.runHandler([&] {
        ShowWindow(window_, showCommand);
        MSG message;
        BOOL got;
        while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (got < 0)
            throw FatalError("the event loop failed");
        status = static_cast<int>(message.wParam);
    });
    return status;
}

} // namespace velmora::win32
