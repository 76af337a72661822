#pragma once

#include "color.h"

#include <optional>
#include <span>
#include <string_view>

namespace velmora {

// The legend of the artwork, one character per pixel. A space is a hole that
// leaves whatever lies underneath; only the icons have any.
struct LegendEntry {
    char symbol;
    Rgb color;
};
inline constexpr char kHole = ' ';
inline constexpr std::array<LegendEntry, 7> kLegend = {{
    {'.', kWhite},
    {'#', kBlack},
    {'r', kRed},
    {'g', kGreen},
    {'y', kYellow},
    {'b', kBlue},
    {'m', kMagenta},
}};

// A small picture written as text, rows from the top, so that it can be read
// and edited in any text editor.
class Glyph {
public:
    // Evaluated by the compiler, so a ragged row or a character missing from
    // the legend stops the build.
    consteval Glyph(std::span<const std::string_view> rows) : rows_(rows)
    {
        if (rows.empty() || rows.front().empty())
            throw "a glyph needs at least one pixel";
        for (std::string_view row : rows) {
            if (row.size() != rows.front().size())
                throw "all rows of a glyph must be equally wide";
            for (char c : row) {
                if (c != kHole && !lookUp(c))
                    throw "character not in the legend";
            }
        }
    }

    constexpr int width() const { return static_cast<int>(rows_.front().size()); }
    constexpr int height() const { return static_cast<int>(rows_.size()); }

    // Empty where the glyph has a hole.
    constexpr std::optional<Rgb> color(int x, int y) const { return lookUp(rows_[y][x]); }

    // Whether the non-white pixels reach all four edges, so that the glyph's
    // size is also the bounding box of what it paints.
    constexpr bool inkReachesEveryEdge() const
    {
        bool left = false, right = false, top = false, bottom = false;
        for (int y = 0; y < height(); ++y) {
            for (int x = 0; x < width(); ++x) {
                if (color(x, y).value_or(kWhite) == kWhite)
                    continue;
                left |= x == 0;
                right |= x == width() - 1;
                top |= y == 0;
                bottom |= y == height() - 1;
            }
        }
        return left && right && top && bottom;
    }

private:
    static constexpr std::optional<Rgb> lookUp(char symbol)
    {
        for (const LegendEntry &entry : kLegend) {
            if (entry.symbol == symbol)
                return entry.color;
        }
        return std::nullopt;
    }

    std::span<const std::string_view> rows_;
};

} // namespace velmora
