#pragma once

#include <window/boardfit.h>
#include <window/formview.h>

#include <cstdint>
#include <vector>

namespace velmora {

// Form1's view in the browser: draws cells into the page's canvas as the board
// is fitted to it, and passes messages and card states to the page's script.
class WebView final : public FormView {
public:
    // Sizes the page's board and places its cards for the fit, which clears the
    // canvas: every cell is to be drawn again.
    void setFit(const BoardFit &fit);
    const BoardFit &fit() const { return fit_; }

    bool showCell(const CardCell &cell) override;
    bool showBoard(const Board &board) override;
    void showMessage(std::string_view text) override;
    void announceCardState(const CardCell &cell) override;
    void announcePlay(const CardCell &cell) override;
    void endWithFatalError(std::string_view text) override;
    void announceDeckReset() override;

private:
    BoardFit fit_{1, 1};
    // The RGBA pixels of the cell being drawn, kept for the next one.
    std::vector<std::uint8_t> pixels_;
};

} // namespace velmora
