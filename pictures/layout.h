#pragma once

#include "box.h"

#include <board/card.h>

#include <array>

// Where each element of a card picture sits. Every box is the bounding box of
// the element's non-white pixels, x from the left 0..29, y from the top 0..49.
namespace velmora::layout {

// A black L of three pixels in each corner; the cards have no other outline.
inline constexpr std::array<Box, 8> kCornerMarks = {{
    {{0, 2}, {0, 0}}, {{0, 0}, {1, 2}},     // top left
    {{27, 29}, {0, 0}}, {{29, 29}, {1, 2}}, // top right
    {{0, 0}, {47, 48}}, {{0, 2}, {49, 49}}, // bottom left
    {{29, 29}, {47, 48}}, {{27, 29}, {49, 49}}, // bottom right
}};

// The one-pixel frame of the aces and kings, and the kings' portrait inside it,
// whose coloured pixels break the frame's sides in some rows.
inline constexpr Box kFrame = {{4, 25}, {3, 47}};
inline constexpr Box kPortrait = {{4, 25}, {4, 33}};
inline constexpr std::array<int, 8> kPortraitBreaksLeft = {20, 21, 24, 25, 26, 27, 28, 33};
inline constexpr std::array<int, 7> kPortraitBreaksRight = {19, 20, 23, 27, 28, 32, 33};

// The small index top left, the same turned through 180 degrees bottom right,
// and the large rank. Kings have none of them: the portrait takes their place.
struct RankBoxes {
    Box index;
    Box turnedIndex;
    Box largeRank;
};
inline constexpr std::array<RankBoxes, kRankCount - 1> kRankBoxes = {{
    {{{1, 3}, {4, 9}}, {{26, 28}, {40, 45}}, {{6, 23}, {5, 21}}},   // Ace
    {{{0, 4}, {4, 11}}, {{25, 29}, {38, 45}}, {{8, 20}, {1, 19}}},  // 2
    {{{0, 4}, {4, 11}}, {{25, 29}, {38, 45}}, {{9, 20}, {2, 18}}},  // 3
    {{{0, 4}, {4, 11}}, {{25, 29}, {39, 46}}, {{6, 21}, {1, 20}}},  // 4: turned index one row low
    {{{0, 4}, {3, 10}}, {{25, 29}, {39, 46}}, {{8, 19}, {1, 19}}},  // 5
    {{{0, 4}, {3, 10}}, {{25, 29}, {39, 46}}, {{10, 21}, {2, 21}}}, // 6
    {{{0, 4}, {4, 11}}, {{25, 29}, {38, 45}}, {{9, 19}, {2, 18}}},  // 7
    {{{0, 4}, {4, 11}}, {{25, 29}, {38, 45}}, {{9, 19}, {2, 19}}},  // 8
    {{{0, 4}, {4, 11}}, {{25, 29}, {38, 45}}, {{9, 18}, {2, 17}}},  // 9
    {{{0, 9}, {4, 11}}, {{20, 29}, {38, 45}}, {{10, 22}, {13, 24}}}, // 10
    {{{0, 3}, {4, 11}}, {{26, 29}, {38, 45}}, {{11, 19}, {4, 17}}}, // Jack
    {{{0, 6}, {3, 12}}, {{23, 29}, {37, 46}}, {{8, 21}, {1, 19}}},  // Queen
}};

// The one pip of each card, by rank, in suit order: clubs, diamonds, hearts, spades.
inline constexpr std::array<std::array<Box, kSuitCount>, kRankCount> kPipBoxes = {{
    {{{{10, 19}, {32, 40}}, {{10, 20}, {31, 41}}, {{10, 20}, {33, 41}}, {{9, 19}, {29, 39}}}},   // Ace
    {{{{9, 18}, {27, 35}}, {{9, 19}, {27, 37}}, {{9, 19}, {28, 36}}, {{8, 18}, {27, 37}}}},      // 2
    {{{{9, 18}, {26, 34}}, {{9, 19}, {27, 37}}, {{8, 18}, {27, 35}}, {{9, 19}, {27, 37}}}},      // 3
    {{{{9, 18}, {29, 37}}, {{9, 19}, {27, 37}}, {{9, 19}, {28, 36}}, {{9, 19}, {25, 35}}}},      // 4
    {{{{10, 19}, {26, 34}}, {{9, 19}, {27, 37}}, {{9, 19}, {26, 34}}, {{9, 19}, {25, 35}}}},     // 5
    {{{{10, 19}, {26, 34}}, {{9, 19}, {26, 36}}, {{10, 20}, {28, 36}}, {{9, 19}, {27, 37}}}},    // 6
    {{{{10, 19}, {26, 34}}, {{9, 19}, {24, 34}}, {{10, 20}, {28, 36}}, {{9, 19}, {25, 35}}}},    // 7
    {{{{10, 19}, {26, 34}}, {{9, 19}, {24, 34}}, {{9, 19}, {26, 34}}, {{9, 19}, {23, 33}}}},     // 8
    {{{{10, 19}, {26, 34}}, {{9, 19}, {23, 33}}, {{9, 19}, {26, 34}}, {{9, 19}, {24, 34}}}},     // 9
    {{{{10, 19}, {27, 35}}, {{10, 20}, {27, 37}}, {{10, 20}, {28, 36}}, {{10, 20}, {26, 36}}}},  // 10
    {{{{10, 19}, {26, 34}}, {{10, 20}, {24, 34}}, {{9, 19}, {25, 33}}, {{9, 19}, {24, 34}}}},    // Jack
    {{{{10, 19}, {26, 34}}, {{10, 20}, {24, 34}}, {{9, 19}, {27, 35}}, {{9, 19}, {25, 35}}}},    // Queen
    {{{{10, 19}, {36, 44}}, {{9, 19}, {35, 45}}, {{9, 19}, {36, 44}}, {{10, 20}, {35, 45}}}},    // King
}};

} // namespace velmora::layout
