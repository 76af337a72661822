#pragma once

#include "card.h"

#include <optional>

namespace velmora {

// The layout is kept in twips, as the window was designed, and drawn in
// pixels at 15 twips per pixel (96 dots per inch).
inline constexpr int kTwipsPerPixel = 15;

inline constexpr int kColumnPitchTwips = 480;
inline constexpr int kRowPitchTwips = 840;
inline constexpr int kCardWidthTwips = 450;
inline constexpr int kCardHeightTwips = 750;
inline constexpr int kClientWidthTwips = 6240;
inline constexpr int kClientHeightTwips = 3285;

constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }

inline constexpr int kColumnPitch = twipsToPixels(kColumnPitchTwips);
inline constexpr int kRowPitch = twipsToPixels(kRowPitchTwips);
inline constexpr int kCardWidth = twipsToPixels(kCardWidthTwips);
inline constexpr int kCardHeight = twipsToPixels(kCardHeightTwips);
inline constexpr int kGridWidth = (kRankCount - 1) * kColumnPitch + kCardWidth;
inline constexpr int kGridHeight = (kSuitCount - 1) * kRowPitch + kCardHeight;
// The window's client area: the grid plus a thin strip on the right and below.
inline constexpr int kClientWidth = twipsToPixels(kClientWidthTwips);
inline constexpr int kClientHeight = twipsToPixels(kClientHeightTwips);

static_assert(kColumnPitchTwips % kTwipsPerPixel == 0 && kRowPitchTwips % kTwipsPerPixel == 0 &&
                  kCardWidthTwips % kTwipsPerPixel == 0 && kCardHeightTwips % kTwipsPerPixel == 0,
              "the layout must fall on whole pixels");
static_assert(kGridWidth == 414 && kGridHeight == 218);
static_assert(kClientWidth == 416 && kClientHeight == 219);

// A pixel rectangle covering the half-open ranges [left, left + width) by [top, top + height).
struct PixelRect {
    int left;
    int top;
    int width;
    int height;

    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    constexpr bool contains(int x, int y) const
    {
        return x >= left && x < right() && y >= top && y < bottom();
    }
    friend constexpr bool operator==(const PixelRect &, const PixelRect &) = default;
};

constexpr PixelRect cellRect(Card card)
{
    return {column(card.rank) * kColumnPitch, row(card.suit) * kRowPitch, kCardWidth, kCardHeight};
}

inline constexpr PixelRect kGridRect = {0, 0, kGridWidth, kGridHeight};

// The card whose rectangle holds client pixel (x, y), played or not; none in the
// gaps, the strips and outside the grid.
constexpr std::optional<Card> cardRectAt(int x, int y)
{
    // Range first, so no arithmetic happens on points far outside the grid.
    if (!kGridRect.contains(x, y))
        return std::nullopt;
    const Card card = {kRanks[x / kColumnPitch], kSuits[y / kRowPitch]};
    if (!cellRect(card).contains(x, y))
        return std::nullopt;
    return card;
}

} // namespace velmora
