// The core as the page's script calls it: plain C functions on the page's one
// window, made when the page starts it and kept for the life of the page.

#include "page.h"
#include "webview.h"

#include <window/form1.h>

#include <emscripten/emscripten.h>

#include <string>

namespace velmora {

namespace {

struct WebApp {
    WebView view;
    Form1 form{view};
};

WebApp &app()
{
    static WebApp instance;
    return instance;
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

using velmora::app;

extern "C" {

// Makes the accessible cards; the page then lays the board out with
// velmora_layout, which places them and draws it.
EMSCRIPTEN_KEEPALIVE void velmora_start()
{
    for (const velmora::CardCell &cell : app().form.board().cells()) {
        const std::string name = velmora::cardName(cell.card());
        velmora_page_add_card(velmora::cardIndex(cell.card()), name.data(), static_cast<int>(name.size()));
    }
}

// The page has width × height device pixels for the board, at `ratio` device
// pixels per CSS pixel: the board is fitted to them and drawn.
EMSCRIPTEN_KEEPALIVE void velmora_layout(int width, int height, double ratio)
{
    app().view.setFit(velmora::BoardFit::within(width, height, ratio));
    app().form.showBoardAgain();
}

// The canvas lost what it showed (the browser resized its pixels): every cell is drawn again.
EMSCRIPTEN_KEEPALIVE void velmora_redraw() { app().form.showBoardAgain(); }

// Pointer input in device pixels of the board, fractions included.
EMSCRIPTEN_KEEPALIVE void velmora_press(int button, double x, double y)
{
    app().form.mousePressed(velmora::mouseButton(button), app().view.fit().toPicture(x, y));
}

EMSCRIPTEN_KEEPALIVE void velmora_release(int button, double x, double y)
{
    app().form.mouseReleased(velmora::mouseButton(button), app().view.fit().toPicture(x, y));
}

EMSCRIPTEN_KEEPALIVE void velmora_lost() { app().form.mouseLost(); }

// Assistive technology pressed the card's checkbox.
EMSCRIPTEN_KEEPALIVE void velmora_activate(int index)
{
    if (index >= 0 && index < velmora::kCardCount)
        app().form.activateCard(velmora::cardAt(index));
}

EMSCRIPTEN_KEEPALIVE void velmora_reset() { app().form.Reset_Click(); }

EMSCRIPTEN_KEEPALIVE void velmora_about() { app().form.About_Click(); }

} // extern "C"
