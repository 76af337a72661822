#pragma once

#include <board/board.h>

#include <string_view>

namespace velmora {

// What the window needs from the toolkit that draws it. Each front end implements
// this and nothing of the window's behaviour: Form1 decides, the view shows.
class FormView {
public:
    // The cell's state changed: draw its rectangle again with the picture it
    // shows now. Returns whether the toolkit could.
    virtual bool showCell(const CardCell &cell) = 0;
    // Every cell may have changed: draw the whole grid again from the board.
    // Returns whether the toolkit could.
    virtual bool showBoard(const Board &board) = 0;
    // A modal message box titled with the application's name, with one OK
    // button and no icon; returns once it is dismissed. The text's lines are
    // joined by lone carriage returns.
    virtual void showMessage(std::string_view text) = 0;
    // Tells assistive technology that the card's checked state changed, by a
    // play or by a Reset.
    virtual void announceCardState(const CardCell &cell) = 0;
    // The card was just played: a screen reader says so, wherever it was.
    virtual void announcePlay(const CardCell &cell) = 0;
    // A fatal error: shows the text in a message box and ends the program (the
    // process, or the page) once it is dismissed. Where a box cannot wait (the
    // page), it returns at once; Form1 takes no more input meanwhile.
    virtual void endWithFatalError(std::string_view text) = 0;
    // Tells assistive technology, once, that Reset brought the whole deck back,
    // so that a screen reader says so rather than 52 cards one by one.
    virtual void announceDeckReset() = 0;

protected:
    FormView() = default;
    FormView(const FormView &) = default;
    FormView &operator=(const FormView &) = default;
    ~FormView() = default;
};

} // namespace velmora
