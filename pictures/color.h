#pragma once

#include <array>
#include <cstdint>

namespace velmora {

struct Rgb {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;

    friend constexpr bool operator==(Rgb, Rgb) = default;
};

struct Rgba {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
    std::uint8_t a;

    friend constexpr bool operator==(Rgba, Rgba) = default;
};

// The seven pure colours the cards are painted with.
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kMagenta{255, 0, 255};

// The standard 16-colour palette of 4-bit icons, in index order.
inline constexpr std::array<Rgb, 16> kStandardPalette = {{
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, kRed,          kGreen,        kYellow,
    kBlue,           kMagenta,      {0, 255, 255}, kWhite,
}};

} // namespace velmora
