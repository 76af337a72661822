#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <optional>
#include <vector>

// Watches the X server for the next top-level window to be mapped and drawn
// whole for the first time. The server itself reports every drawing it does
// (the Damage extension), so the program under test needs no help to be timed.
class FrameWatch {
public:
    using Clock = std::chrono::steady_clock;

    struct Frame {
        Window window;
        XRectangle geometry; // on the screen
        Clock::time_point drawn;
    };

    FrameWatch();
    ~FrameWatch();
    FrameWatch(const FrameWatch &) = delete;
    FrameWatch &operator=(const FrameWatch &) = delete;

    std::optional<Frame> waitForFirstFrame(Clock::time_point deadline);

private:
    void watch(Window window);
    // Marks the part of the watched window that the rectangle covers; true once all of it is drawn.
    bool draw(const XRectangle &area);

    Display *display_;
    Damage damage_ = 0;
    int damageEventBase_ = 0;
    std::optional<Frame> frame_;
    std::vector<bool> drawn_;
    long undrawn_ = 0;
};
