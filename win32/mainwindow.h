#pragma once

#include "deckpictures.h"

#include <board/board.h>
#include <window/cardhandlers.h>
#include <window/clicktracker.h>

#include <windows.h>

#include <optional>

namespace velmora::win32 {

class BoardAccessible;

// The program's one window: the deck on screen and the File and Help menus.
class Form1 {
public:
    Form1(HINSTANCE instance, DeckPictures pictures);
    ~Form1();
    Form1(const Form1 &) = delete;
    Form1 &operator=(const Form1 &) = delete;

    HWND handle() const { return window_; }
    const Board &board() const { return board_; }
    // Whole device pixels per picture pixel.
    int scale() const { return scale_; }

    // Plays the card, as a click on it does; an accessibility client's default action.
    void activateCard(Card card);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT accessibleObject(WPARAM wParam);
    void releaseAccessible();

    void createMenus();
    void fitToDpi(UINT dpi, const RECT *suggested);
    void paint();
    void mousePressed(MouseButton button, LPARAM position);
    void mouseReleased(MouseButton button, WPARAM keys, LPARAM position);
    std::optional<Card> cardAt(LPARAM position) const;
    RECT deviceRect(const PixelRect &rect) const;
    const Picture &pictureFor(const CardCell &cell) const;

    void cardClicked(Card card);
    void playCard(int pictureNumber);
    void showCell(Card card);
    void showBoard();

    void Reset_Click();
    void About_Click();
    VELMORA_DECLARE_CARD_HANDLERS()

    Board board_;
    ClickTracker clicks_;
    const DeckPictures pictures_;
    HMENU menuBar_ = nullptr;
    // Made when an accessibility client first asks; one reference is the window's.
    BoardAccessible *accessible_ = nullptr;
    HWND window_ = nullptr;
    int scale_ = 1;
    // After a fatal error the window only waits for the process to end.
    bool failed_ = false;
};

// Shows the window and runs the event loop until it is closed; returns the exit status.
int runForm1(HINSTANCE instance, int showCommand, DeckPictures pictures);

} // namespace velmora::win32
