// Writes one PNG for reviewing the artwork: the 52 cards as the window lays
// them out, then the marker and both icons, all enlarged four times.

#include "writefile.h"

#include <board/geometry.h>
#include <pictures/pictures.h>
#include <pictures/tools/png.h>

#include <exception>
#include <iostream>

namespace velmora {

namespace {

constexpr int kScale = 4;
constexpr int kMargin = 4;
// Between the grid and the row below it, and between the pictures of that row.
constexpr int kGap = kRowPitch - kCardHeight;
constexpr Rgba kFelt{0, 96, 48, 255};

// A felt-green surface measured in source pixels, stored enlarged.
class Sheet {
public:
    Sheet(int width, int height)
        : width_(width * kScale), height_(height * kScale), pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kFelt)
    {
    }

    // Paints one source pixel as a kScale × kScale block; transparent pixels leave the felt.
    void put(int x, int y, Rgba color)
    {
        if (color.a == 0)
            return;
        for (int dy = 0; dy < kScale; ++dy) {
            for (int dx = 0; dx < kScale; ++dx)
                pixels_.at((y * kScale + dy) * width_ + x * kScale + dx) = color;
        }
    }

    void draw(const Picture &picture, int left, int top)
    {
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const Rgb p = picture.pixel(x, y);
                put(left + x, top + y, {p.r, p.g, p.b, 255});
            }
        }
    }

    void draw(const IconPicture &icon, int left, int top)
    {
        for (int y = 0; y < icon.size(); ++y) {
            for (int x = 0; x < icon.size(); ++x)
                put(left + x, top + y, icon.rgba(x, y));
        }
    }

    std::vector<std::uint8_t> png() const { return encodePng(width_, height_, pixels_); }

private:
    int width_;
    int height_;
    std::vector<Rgba> pixels_;
};

std::vector<std::uint8_t> contactSheet()
{
    const int extrasTop = kMargin + kGridHeight + kGap;
    Sheet sheet(2 * kMargin + kGridWidth, extrasTop + kCardHeight + kMargin);
    for (int i = 0; i < kCardCount; ++i) {
        const Card card = cardAt(i);
        const PixelRect cell = cellRect(card);
        sheet.draw(cardPicture(card.rank, card.suit), kMargin + cell.left, kMargin + cell.top);
    }
    int left = kMargin;
    sheet.draw(markerPicture(), left, extrasTop);
    left += kCardWidth + kGap;
    for (int size : {32, 16}) {
        sheet.draw(appIcon(size), left, extrasTop);
        left += size + kGap;
    }
    return sheet.png();
}

} // namespace

} // namespace velmora

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <out.png>\n";
        return 2;
    }
    try {
        velmora::writeFile(argv[1], velmora::contactSheet());
    } catch (const std::exception &e) {
        std::cerr << argv[0] << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
