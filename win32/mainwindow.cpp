#include "form1.h"

#include "boardaccessible.h"
#include "fatalerror.h"
#include "text.h"

#include <window/about.h>
#include <window/config.h>

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <exception>

namespace velmora::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"Form1";
constexpr UINT kResetCommand = 1;
constexpr UINT kAboutCommand = 2;

// A fixed frame: it can be minimised and closed, but not resized or maximised.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;

// Whole device pixels per picture pixel, so that every picture pixel stays a sharp
// square: 120 dpi (125 %) draws at 1, 144 and 168 dpi (150 %, 175 %) at 2.
int scaleForDpi(UINT dpi)
{
    return std::max(1, static_cast<int>((dpi + USER_DEFAULT_SCREEN_DPI / 2) / USER_DEFAULT_SCREEN_DPI));
}

// Rounds towards minus infinity, so that points left of or above the client area stay outside it.
int floorDivide(int value, int divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

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

HICON loadIcon(HINSTANCE instance, int systemMetric)
{
    const int size = GetSystemMetrics(systemMetric);
    auto *icon =
        static_cast<HICON>(LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (icon == nullptr)
        throw FatalError("the application icon cannot be loaded");
    return icon;
}

void registerWindowClass(HINSTANCE instance, WNDPROC windowProc)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    // No CS_DBLCLKS: a double-click is two clicks, and the second lands on the marker.
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = loadIcon(instance, SM_CXICON);
    windowClass.hIconSm = loadIcon(instance, SM_CXSMICON);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    // The system's face colour shows in the gaps and strips; the program sets none of its own.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    // A second window in the same process (the tests make several) finds the class there.
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw FatalError("the window class cannot be registered");
}

} // namespace

Form1::Form1(HINSTANCE instance, DeckPictures pictures) : pictures_(pictures)
{
    registerWindowClass(instance, &Form1::windowProc);
    createMenus();
    // Placed by the window system; sized for the screen's DPI once it exists.
    window_ = CreateWindowExW(kExStyle, kWindowClass, toWide(config::kApplicationName).c_str(), kStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menuBar_,
                              instance, this);
    if (window_ == nullptr)
        throw FatalError("the window cannot be created");
    fitToDpi(GetDpiForWindow(window_), nullptr);
}

Form1::~Form1()
{
    if (window_ != nullptr && IsWindow(window_))
        DestroyWindow(window_);
    releaseAccessible();
}

void Form1::createMenus()
{
    menuBar_ = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU help = CreatePopupMenu();
    if (menuBar_ == nullptr || file == nullptr || help == nullptr ||
        !AppendMenuW(file, MF_STRING, kResetCommand, L"&Reset") ||
        !AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File") ||
        !AppendMenuW(help, MF_STRING, kAboutCommand, L"&About...") ||
        !AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help"))
        throw FatalError("the menus cannot be created");
}

void Form1::fitToDpi(UINT dpi, const RECT *suggested)
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

LRESULT CALLBACK Form1::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *form = static_cast<Form1 *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto *form = reinterpret_cast<Form1 *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr || form->failed_)
        return DefWindowProcW(window, message, wParam, lParam);
    // No error may unwind into the window system's frames: every handler's error ends here.
    try {
        return form->handleMessage(message, wParam, lParam);
    } catch (const std::exception &e) {
        form->failed_ = true;
        reportFatalError(e.what());
    } catch (...) {
        form->failed_ = true;
        reportFatalError("unknown error");
    }
}

LRESULT Form1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        mousePressed(buttonOf(message), lParam);
        return message == WM_XBUTTONDOWN ? TRUE : 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
        mouseReleased(buttonOf(message), wParam, lParam);
        return message == WM_XBUTTONUP ? TRUE : 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window_)
            clicks_.cancel();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && LOWORD(wParam) == kResetCommand)
            Reset_Click();
        else if (HIWORD(wParam) == 0 && LOWORD(wParam) == kAboutCommand)
            About_Click();
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

LRESULT Form1::accessibleObject(WPARAM wParam)
{
    if (accessible_ == nullptr) {
        // Clients in other processes reach the object through COM, which the program
        // only starts when the first of them asks.
        const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(started) && started != RPC_E_CHANGED_MODE)
            throw FatalError("COM cannot be started for accessibility clients");
        accessible_ = new BoardAccessible(this);
    }
    return LresultFromObject(__uuidof(IAccessible), wParam, accessible_);
}

void Form1::releaseAccessible()
{
    if (accessible_ == nullptr)
        return;
    accessible_->disconnect();
    accessible_->Release();
    accessible_ = nullptr;
}

RECT Form1::deviceRect(const PixelRect &rect) const
{
    return {rect.left * scale_, rect.top * scale_, rect.right() * scale_, rect.bottom() * scale_};
}

const Picture &Form1::pictureFor(const CardCell &cell) const
{
    const Picture *picture =
        cell.state() == CellState::Played ? pictures_.marker : pictures_.cards[cardIndex(cell.card())];
    if (picture == nullptr)
        throw pictureFailure(cell);
    return *picture;
}

void Form1::paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    if (dc == nullptr)
        throw FatalError("the window cannot be painted");
    // Ends the painting however this handler is left.
    struct EndPaintGuard {
        HWND window;
        PAINTSTRUCT *paint;
        ~EndPaintGuard() { EndPaint(window, paint); }
    } guard{window_, &paint};

    static const BITMAPINFO format = pictureFormat();
    SetStretchBltMode(dc, COLORONCOLOR); // whole-pixel copies, never smoothed
    for (const CardCell &cell : board_.cells()) {
        const RECT target = deviceRect(cell.rect());
        RECT overlap;
        if (!IntersectRect(&overlap, &target, &paint.rcPaint))
            continue;
        const Picture &picture = pictureFor(cell);
        const int lines =
            scale_ == 1 ? SetDIBitsToDevice(dc, target.left, target.top, kPictureWidth, kPictureHeight, 0, 0,
                                            0, kPictureHeight, picture.dib().data(), &format, DIB_RGB_COLORS)
                        : StretchDIBits(dc, target.left, target.top, kPictureWidth * scale_,
                                        kPictureHeight * scale_, 0, 0, kPictureWidth, kPictureHeight,
                                        picture.dib().data(), &format, DIB_RGB_COLORS, SRCCOPY);
        if (lines <= 0)
            throw pictureFailure(cell);
    }
}

std::optional<Card> Form1::cardAt(LPARAM position) const
{
    return board_.hitTest(floorDivide(GET_X_LPARAM(position), scale_),
                          floorDivide(GET_Y_LPARAM(position), scale_));
}

void Form1::mousePressed(MouseButton button, LPARAM position)
{
    // The release comes here even when it happens outside the window.
    SetCapture(window_);
    clicks_.press(button, cardAt(position));
}

void Form1::mouseReleased(MouseButton button, WPARAM keys, LPARAM position)
{
    const std::optional<Card> clicked = clicks_.release(button, cardAt(position));
    if ((keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2)) == 0)
        ReleaseCapture();
    if (clicked)
        cardClicked(*clicked);
}

void Form1::activateCard(Card card)
{
    if (board_.cell(card).state() == CellState::Unplayed)
        cardClicked(card);
}

void Form1::cardClicked(Card card)
{
    // Each card picture has its own click handler, as the window was designed.
    VELMORA_RUN_CARD_HANDLER(Form1, card);
}

#define VELMORA_DEFINE_CARD_HANDLER(n)                                                                       \
    void Form1::Image##n##_Click()                                                                           \
    {                                                                                                        \
        playCard(n);                                                                                         \
    }
VELMORA_FOR_EACH_CARD_PICTURE(VELMORA_DEFINE_CARD_HANDLER)
#undef VELMORA_DEFINE_CARD_HANDLER

void Form1::playCard(int pictureNumber)
{
    const Card card = *cardWithPicture(pictureNumber);
    if (board_.markPlayed(card))
        showCell(card);
}

void Form1::showCell(Card card)
{
    // Hide the card picture and show the marker: only this cell is drawn again.
    const CardCell &cell = board_.cell(card);
    pictureFor(cell);
    const RECT rect = deviceRect(cell.rect());
    if (!InvalidateRect(window_, &rect, FALSE))
        throw pictureFailure(cell);
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window_, OBJID_CLIENT, BoardAccessible::childId(card));
}

void Form1::showBoard()
{
    for (const CardCell &cell : board_.cells())
        pictureFor(cell);
    const RECT grid = deviceRect(kGridRect);
    if (!InvalidateRect(window_, &grid, FALSE))
        throw FatalError("the board cannot be shown");
}

void Form1::Reset_Click()
{
    board_.resetBoard();
    showBoard();
}

void Form1::About_Click()
{
    // Message boxes break lines at CR LF; the credit text joins them with a lone CR.
    const std::wstring text = toWide(withLineBreaks(aboutText(), "\r\n"));
    // No icon, one OK button, modal: the window takes no input until it is dismissed.
    if (MessageBoxW(window_, text.c_str(), toWide(config::kApplicationName).c_str(), MB_OK | MB_APPLMODAL) ==
        0)
        throw FatalError("the About box cannot be shown");
}

int runForm1(HINSTANCE instance, int showCommand, DeckPictures pictures)
{
    try {
        Form1 window(instance, pictures);
        ShowWindow(window.handle(), showCommand);
        MSG message;
        BOOL got;
        while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (got < 0)
            throw FatalError("the event loop failed");
        return static_cast<int>(message.wParam);
    } catch (const std::exception &e) {
        reportFatalError(e.what());
    }
}

} // namespace velmora::win32
