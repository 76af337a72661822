#pragma once

namespace velmora {

// Inclusive pixel ranges, written the way the layout tables are: x 4–25, y 3–47.
struct Span {
    int from;
    int to;

    constexpr int length() const { return to - from + 1; }
    constexpr bool contains(int v) const { return v >= from && v <= to; }
    friend constexpr bool operator==(Span, Span) = default;
};

struct Box {
    Span x;
    Span y;

    constexpr int width() const { return x.length(); }
    constexpr int height() const { return y.length(); }
    constexpr bool contains(int px, int py) const { return x.contains(px) && y.contains(py); }
    friend constexpr bool operator==(Box, Box) = default;
};

} // namespace velmora
