#pragma once

#include <objbase.h>
#include <windows.h>

#include <memory>
#include <type_traits>

namespace velmora::win32 {

// Owners of the window system's handles, so that nothing leaks on any way out.
struct MenuDestroyer {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

// COM on this thread, for as long as the object lives; ended only if started here.
class ComApartment {
public:
    ComApartment() : started_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(started_))
            CoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

    // Whether COM can be used: started here, or already in another mode.
    bool usable() const { return SUCCEEDED(started_) || started_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT started_;
};

// One WM_PAINT's drawing context, from BeginPaint to EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope &) = delete;
    PaintScope &operator=(const PaintScope &) = delete;

    HDC dc() const { return dc_; }
    const RECT &dirty() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

} // namespace velmora::win32
