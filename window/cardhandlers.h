#pragma once

// X(n) for the number of every card picture, Image56 to Image107: each front end
// gives every card picture its own click handler, Image56_Click to Image107_Click.
#define VELMORA_FOR_EACH_CARD_PICTURE(X)                                                                     \
    X(56)                                                                                                    \
    X(57) X(58) X(59) X(60) X(61) X(62) X(63) X(64) X(65) X(66) X(67) X(68) X(69) X(70) X(71) X(72) X(73)    \
        X(74) X(75) X(76) X(77) X(78) X(79) X(80) X(81) X(82) X(83) X(84) X(85) X(86) X(87) X(88) X(89)      \
            X(90) X(91) X(92) X(93) X(94) X(95) X(96) X(97) X(98) X(99) X(100) X(101) X(102) X(103) X(104)   \
                X(105) X(106) X(107)

// Declares the click handlers in a window class.
#define VELMORA_DECLARE_CARD_HANDLER(n) void Image##n##_Click();
#define VELMORA_DECLARE_CARD_HANDLERS() VELMORA_FOR_EACH_CARD_PICTURE(VELMORA_DECLARE_CARD_HANDLER)

// Runs the click handler of the card's picture, from inside a member of the window class.
#define VELMORA_CARD_HANDLER_ADDRESS(n) &Window::Image##n##_Click,
#define VELMORA_RUN_CARD_HANDLER(WindowClass, card)                                                          \
    do {                                                                                                     \
        using Window = WindowClass;                                                                          \
        static constexpr void (Window::*handlers[])() = {                                                    \
            VELMORA_FOR_EACH_CARD_PICTURE(VELMORA_CARD_HANDLER_ADDRESS)};                                    \
        (this->*handlers[cardPictureNumber(card) - kFirstCardPicture])();                                    \
    } while (false)
