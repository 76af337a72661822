#pragma once

#include "handles.h"

#include <window/form1.h>
#include <window/formview.h>

#include <windows.h>
#include <wrl/client.h>

#include <optional>

namespace velmora::win32 {

class BoardAccessible;

// The Win32 window around the program's Form1: its window procedure turns
// messages into Form1's calls and runs its own as Form1's handlers, and it
// draws, repaints and announces what Form1 asks it to.
class MainWindow : public FormView {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow();
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    HWND handle() const { return window_; }
    // The window's logic, for the accessibility clients' calls.
    Form1 &form() { return form_; }
    const Board &board() const { return form_.board(); }
    // Whole device pixels per picture pixel.
    int scale() const { return scale_; }

    // Shows the window and runs the event loop until it is closed; returns the exit status.
    int run(int showCommand);

    bool showCell(const CardCell &cell) override;
    bool showBoard(const Board &board) override;
    void showMessage(std::string_view text) override;
    void announceCardState(const CardCell &cell) override;
    void announcePlay(const CardCell &cell) override;
    void endWithFatalError(std::string_view text) override;
    void announceDeckReset() override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void create(HINSTANCE instance);
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
};

} // namespace velmora::win32
