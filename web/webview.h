#pragma once

#include <window/formview.h>

#include <board/board.h>

namespace velmora {

// Form1's view in the browser: draws cells into the page's canvas at the page's
// current scale and passes messages and card states to the page's script.
class WebView final : public FormView {
public:
    // The board that showBoard draws; it outlives the view's use.
    void setBoard(const Board &board) { board_ = &board; }

    bool showCell(const CardCell &cell) override;
    bool showBoard() override;
    void showMessage(std::string_view text) override;
    void announceCardState(const CardCell &cell) override;
    void announceDeckReset() override;

private:
    const Board *board_ = nullptr;
};

} // namespace velmora
