#include "webview.h"

#include "page.h"

#include <pictures/pictures.h>
#include <window/accessiblenames.h>

#include <algorithm>
#include <cstddef>
#include <string>

namespace velmora {

void WebView::setFit(const BoardFit &fit)
{
    fit_ = fit;
    velmora_page_size_board(fit.width(), fit.height());
    for (int index = 0; index < kCardCount; ++index) {
        const PixelRect r = fit.toDevice(cellRect(cardAt(index)));
        velmora_page_place_card(index, r.left, r.top, r.width, r.height);
    }
}

bool WebView::showCell(const CardCell &cell)
{
    const PixelRect picture = cell.rect();
    const PixelRect device = fit_.toDevice(picture);
    if (device.width == 0 || device.height == 0)
        return true; // shrunk away: nothing to draw
    const Picture &shown = pictureNumbered(cell.shownPictureNumber());
    pixels_.resize(static_cast<std::size_t>(device.width) * device.height * 4);
    auto out = pixels_.begin();
    for (int y = device.top; y < device.bottom(); ++y) {
        const int row = fit_.toPicture(y) - picture.top;
        for (int x = device.left; x < device.right(); ++x) {
            const Rgb c = shown.pixel(fit_.toPicture(x) - picture.left, row);
            *out++ = c.r;
            *out++ = c.g;
            *out++ = c.b;
            *out++ = 255;
        }
    }
    return velmora_page_put(device.left, device.top, device.width, device.height, pixels_.data()) != 0;
}

bool WebView::showBoard(const Board &board)
{
    return std::all_of(board.cells().begin(), board.cells().end(),
                       [this](const CardCell &cell) { return showCell(cell); });
}

void WebView::showMessage(std::string_view text)
{
    velmora_page_message(text.data(), static_cast<int>(text.size()));
}

void WebView::announceCardState(const CardCell &cell)
{
    velmora_page_card_state(cardIndex(cell.card()), cell.state() == CellState::Played);
}

void WebView::announcePlay(const CardCell &cell)
{
    const std::string words = playAnnouncement(cell.card());
    velmora_page_announce(words.data(), static_cast<int>(words.size()));
}

void WebView::announceDeckReset()
{
    velmora_page_announce(kResetAnnouncement.data(), static_cast<int>(kResetAnnouncement.size()));
}

void WebView::endWithFatalError(std::string_view text)
{
    velmora_page_fatal(text.data(), static_cast<int>(text.size()));
}

} // namespace velmora
