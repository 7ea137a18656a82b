#pragma once
// Number -> text for both programs. It never follows the desktop's locale (a German desktop
// must still show "1.5", not "1,5"). Entries are read by entry_text.h.
#include <string>

namespace protocol {

// printf-style "%.Nf" with '.' as the decimal point; "%f" is decimals 6.
std::string FormatFixed(double value, int decimals);

}  // namespace protocol
