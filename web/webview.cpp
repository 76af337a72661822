#include "webview.h"

#include "page.h"

#include <pictures/pictures.h>
#include <window/accessiblenames.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace velmora {

void WebView::setScale(int scale)
{
    if (scale == scale_)
        return;
    scale_ = std::max(1, scale);
    scaled_.clear();
}

const std::vector<std::uint8_t> &WebView::scaled(const Picture &picture)
{
    for (const auto &[made, rgba] : scaled_) {
        if (made == &picture)
            return rgba;
    }
    std::vector<std::uint8_t> &rgba = scaled_.emplace_back(&picture, std::vector<std::uint8_t>()).second;
    const int width = picture.width() * scale_;
    const int height = picture.height() * scale_;
    rgba.resize(static_cast<std::size_t>(width) * height * 4);
    auto out = rgba.begin();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = picture.pixel(x / scale_, y / scale_);
            *out++ = c.r;
            *out++ = c.g;
            *out++ = c.b;
            *out++ = 255;
        }
    }
    return rgba;
}

bool WebView::showCell(const CardCell &cell)
{
    const PixelRect rect = cell.rect();
    return velmora_page_put(rect.left * scale_, rect.top * scale_, rect.width * scale_, rect.height * scale_,
                            scaled(pictureNumbered(cell.shownPictureNumber())).data()) != 0;
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
    if (cell.state() == CellState::Played) {
        const std::string words = playAnnouncement(cell.card());
        velmora_page_announce(words.data(), static_cast<int>(words.size()));
    }
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
