#pragma once
// Text <-> number conversions of both programs. They never follow the desktop's locale
// (a German desktop must still read "1.5" as one and a half) and are defined for every
// input: out-of-range and NaN entries saturate instead of being undefined.
#include <cstdint>
#include <string>
#include <string_view>

namespace protocol {

// Reads a decimal floating-point number the way the C library's atof does in the "C"
// locale: leading blanks skipped, the longest valid prefix taken, 0 when there is none.
double ParseDecimal(std::string_view text);

// Truncates toward zero into the 32-bit signed range; NaN gives 0, values beyond the range
// give its nearest end.
std::int32_t TruncateToInt32(double value);

// The entry as an edit field's text goes into a register: at most the first 19 characters,
// read as a decimal number, multiplied, truncated toward zero, saturated to 32 bits.
std::int32_t ScaledEntry(std::string_view text, std::int32_t multiplier);

// An edit field read as an unsigned integer: optional blanks, then decimal digits only.
// Anything else, or a number beyond 32 bits, is not a number (ok = false, value 0).
std::uint32_t ParseUnsignedEntry(std::string_view text, bool* ok = nullptr);
// The same for a signed integer (leading '-' or '+').
std::int32_t ParseSignedEntry(std::string_view text, bool* ok = nullptr);

// printf-style "%.Nf" with '.' as the decimal point; "%f" is decimals 6.
std::string FormatFixed(double value, int decimals);

}  // namespace protocol
