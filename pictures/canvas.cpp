#include "canvas.h"

#include <stdexcept>

namespace velmora {

void Canvas::fill(const Box &box, Rgb color)
{
    for (int y = box.y.from; y <= box.y.to; ++y) {
        for (int x = box.x.from; x <= box.x.to; ++x)
            set(x, y, color);
    }
}

void Canvas::outline(const Box &box, Rgb color)
{
    fill({box.x, {box.y.from, box.y.from}}, color);
    fill({box.x, {box.y.to, box.y.to}}, color);
    fill({{box.x.from, box.x.from}, box.y}, color);
    fill({{box.x.to, box.x.to}, box.y}, color);
}

void Canvas::draw(const Glyph &glyph, const Box &box, Turn turn)
{
    const int w = glyph.width();
    const int h = glyph.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const auto color = turn == Turn::Upright ? glyph.color(x, y) : glyph.color(w - 1 - x, h - 1 - y);
            if (color)
                set(box.x.from + x, box.y.from + y, *color);
        }
    }
}

void Canvas::set(int x, int y, Rgb color)
{
    if (x < 0 || x >= kPictureWidth || y < 0 || y >= kPictureHeight)
        throw std::out_of_range("drawing outside the picture");
    pixels_[y * kPictureWidth + x] = color;
}

} // namespace velmora
