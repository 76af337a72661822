#include "webview.h"

#include "page.h"

#include <pictures/pictures.h>
#include <window/accessiblenames.h>

#include <cstddef>
#include <string>
#include <vector>

namespace velmora {

bool WebView::showCell(const CardCell &cell)
{
    const Picture &picture =
        cell.state() == CellState::Played ? markerPicture() : cardPicture(cell.rank(), cell.suit());
    // Each picture pixel becomes a scale × scale block of device pixels.
    const int scale = velmora_page_scale();
    const int width = picture.width() * scale;
    const int height = picture.height() * scale;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    auto out = rgba.begin();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = picture.pixel(x / scale, y / scale);
            *out++ = c.r;
            *out++ = c.g;
            *out++ = c.b;
            *out++ = 255;
        }
    }
    const PixelRect rect = cell.rect();
    return velmora_page_put(rect.left * scale, rect.top * scale, width, height, rgba.data()) != 0;
}

bool WebView::showBoard()
{
    if (!board_)
        return false;
    for (const CardCell &cell : board_->cells()) {
        if (!showCell(cell))
            return false;
    }
    return true;
}

void WebView::showMessage(std::string_view text)
{
    velmora_page_message(text.data(), static_cast<int>(text.size()));
}

void WebView::announceCardState(const CardCell &cell)
{
    velmora_page_card_state(cardIndex(cell.card()), cell.state() == CellState::Played);
    if (cell.state() == CellState::Played) {
        const std::string words = playAnnouncement(cell.card());
        velmora_page_announce(words.data(), static_cast<int>(words.size()));
    }
}

void WebView::announceDeckReset()
{
    velmora_page_announce(kResetAnnouncement.data(), static_cast<int>(kResetAnnouncement.size()));
}

} // namespace velmora
