#include "framewatch.h"

#include <algorithm>
#include <poll.h>
#include <stdexcept>

FrameWatch::FrameWatch() : display_(XOpenDisplay(nullptr))
{
    if (!display_)
        throw std::runtime_error("cannot open the X display");
    int errorBase = 0;
    if (!XDamageQueryExtension(display_, &damageEventBase_, &errorBase)) {
        XCloseDisplay(display_);
        throw std::runtime_error("the X server has no Damage extension");
    }
    const Window root = DefaultRootWindow(display_);
    // Damage on the root window reports drawing in every window on the screen.
    damage_ = XDamageCreate(display_, root, XDamageReportRawRectangles);
    XSelectInput(display_, root, SubstructureNotifyMask);
    XSync(display_, False);
}

FrameWatch::~FrameWatch()
{
    XDamageDestroy(display_, damage_);
    XCloseDisplay(display_);
}

void FrameWatch::watch(Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes))
        return;
    frame_ = Frame{window,
                   {static_cast<short>(attributes.x), static_cast<short>(attributes.y),
                    static_cast<unsigned short>(attributes.width), static_cast<unsigned short>(attributes.height)},
                   {}};
    undrawn_ = long{attributes.width} * attributes.height;
    drawn_.assign(static_cast<std::size_t>(undrawn_), false);
}

bool FrameWatch::draw(const XRectangle &area)
{
    const XRectangle &g = frame_->geometry;
    const int left = std::max<int>(area.x, g.x) - g.x;
    const int top = std::max<int>(area.y, g.y) - g.y;
    const int right = std::min(area.x + area.width, g.x + g.width) - g.x;
    const int bottom = std::min(area.y + area.height, g.y + g.height) - g.y;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            std::vector<bool>::reference pixel = drawn_[static_cast<std::size_t>(y) * g.width + x];
            if (!pixel) {
                pixel = true;
                --undrawn_;
            }
        }
    }
    return undrawn_ == 0;
}

std::optional<FrameWatch::Frame> FrameWatch::waitForFirstFrame(Clock::time_point deadline)
{
    for (;;) {
        while (XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect && !frame_) {
                watch(event.xmap.window);
            } else if (event.type == damageEventBase_ + XDamageNotify && frame_) {
                const auto &notify = reinterpret_cast<const XDamageNotifyEvent &>(event);
                if (draw(notify.area)) {
                    frame_->drawn = Clock::now();
                    return frame_;
                }
            }
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{ConnectionNumber(display_), POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            return std::nullopt;
    }
}
