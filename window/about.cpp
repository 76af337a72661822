#include "about.h"

#include <window/config.h>

namespace velmora {

namespace {

constexpr char kCarriageReturn = 13;

} // namespace

std::string aboutText()
{
    std::string text = "Created by ";
    text += config::kAuthorName;
    text += kCarriageReturn;
    text += config::kAuthorEmail;
    text += kCarriageReturn;
    text += config::kAuthorWebsite;
    return text;
}

std::string withLineBreaks(std::string_view text, std::string_view lineBreak)
{
    std::string result;
    result.reserve(text.size() + 2 * lineBreak.size());
    for (char c : text) {
        if (c == kCarriageReturn)
            result += lineBreak;
        else
            result += c;
    }
    return result;
}

} // namespace velmora
