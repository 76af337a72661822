#include "clicktracker.h"

namespace velmora {

void ClickTracker::press(MouseButton button, std::optional<Card> card)
{
    if (button == MouseButton::Other || pressedButton_) {
        pressedCard_.reset();
        return;
    }
    pressedButton_ = button;
    pressedCard_ = card;
}

std::optional<Card> ClickTracker::release(MouseButton button, std::optional<Card> card)
{
    if (button != pressedButton_)
        return std::nullopt;
    const std::optional<Card> pressed = pressedCard_;
    cancel();
    if (pressed && card == pressed)
        return pressed;
    return std::nullopt;
}

void ClickTracker::cancel()
{
    pressedButton_.reset();
    pressedCard_.reset();
}

} // namespace velmora
