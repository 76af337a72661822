#pragma once

namespace velmora {

// Inclusive pixel ranges, written the way the layout tables are: x 4–25, y 3–47.
struct Span {
    int from;
    int to;

    constexpr int length() const { return to - from + 1; }
    friend constexpr bool operator==(Span, Span) = default;
};

struct Box {
    Span x;
    Span y;

    constexpr int width() const { return x.length(); }
    constexpr int height() const { return y.length(); }
    friend constexpr bool operator==(Box, Box) = default;
};

} // namespace velmora
