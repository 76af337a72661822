#pragma once

#include "box.h"
#include "glyph.h"
#include "picture.h"

#include <cstddef>

namespace velmora {

// The mutable 30 × 50 surface a picture is composed on before it is frozen.
// Everything is constexpr so that the pictures can be composed by the compiler.
class Canvas {
public:
    enum class Turn { Upright, HalfTurn };

    explicit constexpr Canvas(Rgb background)
    {
        fill({{0, kPictureWidth - 1}, {0, kPictureHeight - 1}}, background);
    }

    constexpr void fill(const Box &box, Rgb color)
    {
        for (int y = box.y.from; y <= box.y.to; ++y) {
            for (int x = box.x.from; x <= box.x.to; ++x)
                set(x, y, color);
        }
    }

    constexpr void outline(const Box &box, Rgb color)
    {
        fill({box.x, {box.y.from, box.y.from}}, color);
        fill({box.x, {box.y.to, box.y.to}}, color);
        fill({{box.x.from, box.x.from}, box.y}, color);
        fill({{box.x.to, box.x.to}, box.y}, color);
    }

    // Paints the glyph with its top-left corner, after any turn, at the box's
    // top-left corner; holes leave the canvas as it was.
    constexpr void draw(const Glyph &glyph, const Box &box, Turn turn = Turn::Upright)
    {
        const int w = glyph.width();
        const int h = glyph.height();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const auto color =
                    turn == Turn::Upright ? glyph.color(x, y) : glyph.color(w - 1 - x, h - 1 - y);
                if (color)
                    set(box.x.from + x, box.y.from + y, *color);
            }
        }
    }

    constexpr Picture picture() const { return Picture(dib_); }

private:
    // Drawn straight into the stored form.
    constexpr void set(int x, int y, Rgb color)
    {
        const std::size_t at = dibOffset(x, y);
        dib_[at] = color.b;
        dib_[at + 1] = color.g;
        dib_[at + 2] = color.r;
    }

    Dib dib_{};
};

} // namespace velmora
