#pragma once

#include <board/card.h>
#include <pictures/picture.h>

#include <array>

namespace velmora::win32 {

// The pictures the window draws, in their stored form. A missing picture is a
// null pointer, which only the test build that checks the fatal-error path has.
struct DeckPictures {
    std::array<const Picture *, kCardCount> cards{};
    const Picture *marker = nullptr;

    // Every card picture and the marker from the built-in artwork.
    static DeckPictures builtIn();
};

} // namespace velmora::win32
