#pragma once

#include <window/clicktracker.h>
#include <window/formview.h>

#include <board/board.h>

#include <exception>
#include <optional>

namespace velmora {

// A point of the client area in picture pixels. Front ends that scale the deck
// pass fractions: pixel (x, y) covers [x, x + 1) by [y, y + 1).
struct PicturePoint {
    double x;
    double y;
};

// The program's one window, whatever draws it: it owns the board, turns clicks
// into card handlers, carries out Reset and About, and tells its view what to
// show again. Every way in runs as a handler (runHandler): an error escaping one
// is fatal, and after it the window takes no more input.
class Form1 {
public:
    explicit Form1(FormView &view) : view_(view) {}
    Form1(const Form1 &) = delete;
    Form1 &operator=(const Form1 &) = delete;

    const Board &board() const { return board_; }

    // Mouse input from the front end. A card is clicked by the click rule of
    // ClickTracker; each clicked card runs its own picture's handler.
    void mousePressed(MouseButton button, PicturePoint point);
    void mouseReleased(MouseButton button, PicturePoint point);
    // The window lost the mouse in the middle of a click.
    void mouseLost();

    // Assistive technology's press on a card: a click, if the card is unplayed.
    void activateCard(Card card);

    // The view lost what it showed, as a page's canvas does when it is resized.
    void showBoardAgain();

    // The menus.
    void Reset_Click();
    void About_Click();

    // The click handlers of the 52 card pictures.
    void Image56_Click();
    void Image57_Click();
    void Image58_Click();
    void Image59_Click();
    void Image60_Click();
    void Image61_Click();
    void Image62_Click();
    void Image63_Click();
    void Image64_Click();
    void Image65_Click();
    void Image66_Click();
    void Image67_Click();
    void Image68_Click();
    void Image69_Click();
    void Image70_Click();
    void Image71_Click();
    void Image72_Click();
    void Image73_Click();
    void Image74_Click();
    void Image75_Click();
    void Image76_Click();
    void Image77_Click();
    void Image78_Click();
    void Image79_Click();
    void Image80_Click();
    void Image81_Click();
    void Image82_Click();
    void Image83_Click();
    void Image84_Click();
    void Image85_Click();
    void Image86_Click();
    void Image87_Click();
    void Image88_Click();
    void Image89_Click();
    void Image90_Click();
    void Image91_Click();
    void Image92_Click();
    void Image93_Click();
    void Image94_Click();
    void Image95_Click();
    void Image96_Click();
    void Image97_Click();
    void Image98_Click();
    void Image99_Click();
    void Image100_Click();
    void Image101_Click();
    void Image102_Click();
    void Image103_Click();
    void Image104_Click();
    void Image105_Click();
    void Image106_Click();
    void Image107_Click();

    // Runs one of the toolkit's own handlers (a repaint, a change of screen, a
    // call from assistive technology) as Form1 runs its own: refused once a
    // fatal error has happened, and any error it raises is fatal. Returns whether
    // it ran to its end.
    template <class Handler>
    bool runHandler(Handler &&handler);

private:
    using ClickHandler = void (Form1::*)();
    // The handler of the card's picture.
    static ClickHandler clickHandler(Card card);

    void play(Card card);
    // The error output names the failure, and the view ends the program with it.
    void fail(const char *what);

    FormView &view_;
    Board board_;
    ClickTracker clicks_;
    bool failed_ = false;
};

template <class Handler>
bool Form1::runHandler(Handler &&handler)
{
    if (failed_)
        return false;
    try {
        handler();
        return !failed_;
    } catch (const std::exception &e) {
        fail(e.what());
    } catch (...) {
        fail("unknown error");
    }
    return false;
}

// The card whose rectangle holds the point, played or not: what assistive
// technology finds there. None in the gaps and strips.
std::optional<Card> cardUnder(PicturePoint point);

} // namespace velmora
