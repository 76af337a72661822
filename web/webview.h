#pragma once

#include <window/formview.h>

#include <pictures/picture.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace velmora {

// Form1's view in the browser: draws cells into the page's canvas at the scale
// the page laid the board out at, and passes messages and card states to the
// page's script.
class WebView final : public FormView {
public:
    // Device pixels per picture pixel, a whole number of at least 1.
    void setScale(int scale);

    bool showCell(const CardCell &cell) override;
    bool showBoard(const Board &board) override;
    void showMessage(std::string_view text) override;
    void announceCardState(const CardCell &cell) override;
    void endWithFatalError(std::string_view text) override;
    void announceDeckReset() override;

private:
    // The picture's RGBA pixels, each picture pixel a scale × scale block; made once per scale.
    const std::vector<std::uint8_t> &scaled(const Picture &picture);

    int scale_ = 1;
    // A few dozen pictures at most: a list is enough, and small in the download.
    std::vector<std::pair<const Picture *, std::vector<std::uint8_t>>> scaled_;
};

} // namespace velmora
