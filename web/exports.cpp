// The core as the page's script calls it: plain C functions on one WebApp that
// the page creates at start-up and keeps for the life of the page.

#include "page.h"
#include "webview.h"

#include <window/failure.h>
#include <window/form1.h>

#include <emscripten/emscripten.h>

#include <cstdio>
#include <exception>
#include <string>

namespace velmora {

struct WebApp {
    WebApp() { view.setBoard(form.board()); }

    WebView view;
    Form1 form{view};
};

namespace {

// A failure ends the page as it ends the desktop program: the error output names
// it, the page shows it in a message box and takes no more input.
void fail(const std::string &what)
{
    std::fprintf(stderr, "velmora: fatal error: %s\n", what.c_str());
    const std::string text = fatalErrorText(what);
    velmora_page_fatal(text.data(), static_cast<int>(text.size()));
}

template <typename Action>
void guarded(Action action)
{
    try {
        action();
    } catch (const std::exception &e) {
        fail(e.what());
    }
}

MouseButton mouseButton(int button)
{
    // The DOM's numbering: 0 the main button (also touch and pen), 2 the secondary one.
    switch (button) {
    case 0:
        return MouseButton::Left;
    case 2:
        return MouseButton::Right;
    default:
        return MouseButton::Other;
    }
}

} // namespace

} // namespace velmora

using velmora::WebApp;

extern "C" {

// Creates the window's logic and lays the accessible cards over the board; the
// page then draws it with velmora_show_board.
EMSCRIPTEN_KEEPALIVE WebApp *velmora_start()
{
    WebApp *app = nullptr;
    velmora::guarded([&] {
        app = new WebApp;
        for (const velmora::CardCell &cell : app->form.board().cells()) {
            const std::string name = velmora::cardName(cell.card());
            const velmora::PixelRect r = cell.rect();
            velmora_page_add_card(velmora::cardIndex(cell.card()), name.data(), static_cast<int>(name.size()),
                                  r.left, r.top, r.width, r.height);
        }
    });
    return app;
}

EMSCRIPTEN_KEEPALIVE int velmora_client_width() { return velmora::kClientWidth; }
EMSCRIPTEN_KEEPALIVE int velmora_client_height() { return velmora::kClientHeight; }

// The page's canvas was cleared (a new size or scale): draw every cell again.
EMSCRIPTEN_KEEPALIVE void velmora_show_board(WebApp *app)
{
    velmora::guarded([&] {
        if (!app->view.showBoard())
            throw velmora::FatalError("the deck cannot be shown");
    });
}

// Pointer input in picture pixels, fractions included.
EMSCRIPTEN_KEEPALIVE void velmora_press(WebApp *app, int button, double x, double y)
{
    velmora::guarded([&] { app->form.mousePressed(velmora::mouseButton(button), {x, y}); });
}

EMSCRIPTEN_KEEPALIVE void velmora_release(WebApp *app, int button, double x, double y)
{
    velmora::guarded([&] { app->form.mouseReleased(velmora::mouseButton(button), {x, y}); });
}

EMSCRIPTEN_KEEPALIVE void velmora_lost(WebApp *app)
{
    velmora::guarded([&] { app->form.mouseLost(); });
}

// Assistive technology pressed the card's checkbox.
EMSCRIPTEN_KEEPALIVE void velmora_activate(WebApp *app, int index)
{
    velmora::guarded([&] {
        if (index >= 0 && index < velmora::kCardCount)
            app->form.activateCard(velmora::cardAt(index));
    });
}

EMSCRIPTEN_KEEPALIVE void velmora_reset(WebApp *app)
{
    velmora::guarded([&] { app->form.Reset_Click(); });
}

EMSCRIPTEN_KEEPALIVE void velmora_about(WebApp *app)
{
    velmora::guarded([&] { app->form.About_Click(); });
}

} // extern "C"
