#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The credit line of Help > About...: "Created by " and the author's name, the
// e-mail address and the web address, joined by single carriage returns.
std::string aboutText();

// The text with every carriage return replaced by lineBreak, for message boxes
// that do not break lines at a lone carriage return.
std::string withLineBreaks(std::string_view text, std::string_view lineBreak);

} // namespace velmora
