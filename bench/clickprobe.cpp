#include "clickprobe.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Core and XInput 2 events number their button press and release alike.
constexpr std::uint16_t kButtonPress = 4;
constexpr std::uint16_t kButtonRelease = 5;

double microseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

void attach() { new ClickProbe(QCoreApplication::instance()); }

} // namespace

Q_COREAPP_STARTUP_FUNCTION(attach)

ClickProbe::ClickProbe(QObject *application) : QObject(application)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
    application->installEventFilter(this);
}

// Qt reads the mouse through XInput 2 when the server has it; those events
// arrive as generic events tagged with the extension's opcode.
std::uint8_t ClickProbe::inputExtension()
{
    if (!inputExtension_) {
        inputExtension_ = 0;
        if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            xcb_connection_t *connection = x11->connection();
            const char name[] = "XInputExtension";
            xcb_query_extension_reply_t *reply = xcb_query_extension_reply(
                connection, xcb_query_extension(connection, std::strlen(name), name), nullptr);
            if (reply && reply->present)
                inputExtension_ = reply->major_opcode;
            std::free(reply);
        }
    }
    return *inputExtension_;
}

bool ClickProbe::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    std::uint16_t type = event->response_type & 0x7f;
    if (type == XCB_GE_GENERIC) {
        const auto *generic = static_cast<const xcb_ge_generic_event_t *>(message);
        if (generic->extension != inputExtension())
            return false;
        type = generic->event_type;
    }
    if (type == kButtonPress && !pressed_)
        pressed_ = Clock::now();
    else if (type == kButtonRelease && pressed_)
        released_ = Clock::now();
    return false;
}

bool ClickProbe::eventFilter(QObject *watched, QEvent *event)
{
    // A window repaints and flushes what changed while it handles its update
    // request. The filter delivers that request itself, so as to see it end.
    if (event->type() != QEvent::UpdateRequest || !released_ || repainting_)
        return false;
    repainting_ = true;
    watched->event(event);
    repainting_ = false;
    const Clock::time_point done = Clock::now();
    std::printf("click %.1f %.1f\n", microseconds(done - *pressed_), microseconds(done - *released_));
    std::fflush(stdout);
    pressed_.reset();
    released_.reset();
    return true;
}
