#pragma once

#include <board/card.h>

#include <optional>

namespace velmora {

enum class MouseButton { Left, Right, Other };

// The click rule of the cards. A card is clicked when the left or the right button
// goes down and comes up again over that same unplayed card, as with a push button.
// A second press while one button is down cancels the click, and releasing over
// another card, a gap or outside the window plays nothing.
class ClickTracker {
public:
    // card: the unplayed card under the pointer, if any.
    void press(MouseButton button, std::optional<Card> card);
    // The card that this release clicks, if any.
    std::optional<Card> release(MouseButton button, std::optional<Card> card);
    // Forgets the press, as when the window loses the mouse.
    void cancel();

private:
    std::optional<MouseButton> pressedButton_;
    std::optional<Card> pressedCard_;
};

} // namespace velmora
