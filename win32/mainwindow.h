#pragma once

#include "fatalerror.h"
#include "handles.h"

#include <window/form1.h>
#include <window/formview.h>

#include <windows.h>
#include <wrl/client.h>

#include <exception>
#include <optional>

namespace velmora::win32 {

class BoardAccessible;

// The Win32 window around the program's Form1: its window procedure turns
// messages into Form1's calls, and it draws, repaints and announces what Form1
// asks it to.
class MainWindow : public FormView {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow();
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    HWND handle() const { return window_; }
    const Board &board() const { return form_.board(); }
    // Whole device pixels per picture pixel.
    int scale() const { return scale_; }

    // An accessibility client's default action on the card.
    void activateCard(Card card) { form_.activateCard(card); }

    bool showCell(const CardCell &cell) override;
    bool showBoard() override;
    void showMessage(std::string_view text) override;
    void announceCardState(const CardCell &cell) override;
    void announceDeckReset() override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT accessibleObject(WPARAM wParam);
    void releaseAccessible();

    void fitToDpi(UINT dpi, const RECT *suggested);
    void paint();
    PicturePoint picturePoint(LPARAM position) const;
    RECT deviceRect(const PixelRect &rect) const;

    Form1 form_{*this};
    // COM and the accessible object are made when an accessibility client first
    // asks; the window holds one reference to the object.
    std::optional<ComApartment> com_;
    Microsoft::WRL::ComPtr<BoardAccessible> accessible_;
    HWND window_ = nullptr;
    int scale_ = 1;
    // After a fatal error the window only waits for the process to end.
    bool failed_ = false;
};

// Shows the window and runs the event loop until it is closed; returns the exit status.
int runEventLoop(HWND window, int showCommand);

// The program: a window of the given class, run until it is closed. Any error is fatal.
template <class Window = MainWindow>
int runProgram(HINSTANCE instance, int showCommand)
{
    try {
        Window window(instance);
        return runEventLoop(window.handle(), showCommand);
    } catch (const std::exception &e) {
        reportFatalError(e.what());
    }
}

} // namespace velmora::win32
