#pragma once

#include "box.h"
#include "glyph.h"
#include "picture.h"

namespace velmora {

// The mutable 30 × 50 surface a picture is composed on before it is frozen.
class Canvas {
public:
    enum class Turn { Upright, HalfTurn };

    explicit Canvas(Rgb background) { pixels_.fill(background); }

    void fill(const Box &box, Rgb color);
    void outline(const Box &box, Rgb color);
    // Paints the glyph with its top-left corner, after any turn, at the box's
    // top-left corner; holes leave the canvas as it was.
    void draw(const Glyph &glyph, const Box &box, Turn turn = Turn::Upright);

    Picture picture() const { return Picture(pixels_); }

private:
    void set(int x, int y, Rgb color);

    Picture::Pixels pixels_;
};

} // namespace velmora
