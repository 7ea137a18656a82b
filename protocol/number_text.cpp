#include "number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace protocol {
namespace {

std::string_view SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\v' || text[i] == '\f'))
        ++i;
    return text.substr(i);
}

}  // namespace

double ParseDecimal(std::string_view text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // from_chars takes no sign of its own; a second sign makes the text non-numeric.
    if (text.empty() || text[0] == '+' || text[0] == '-') return 0.0;
    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ptr == text.data()) return 0.0;
    if (ec == std::errc::result_out_of_range) {
        // Like strtod: overflow gives infinity, underflow zero. Tell them apart by exponent.
        const std::string_view digits(text.data(), static_cast<std::size_t>(ptr - text.data()));
        const auto e = digits.find_first_of("eE");
        const bool tiny =
            e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

std::int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    const double t = std::trunc(value);
    if (t >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (t <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(t);
}

std::int32_t ScaledEntry(std::string_view text, std::int32_t multiplier) {
    return TruncateToInt32(ParseDecimal(text.substr(0, 19)) * multiplier);
}

std::uint32_t ParseUnsignedEntry(std::string_view text, bool* ok) {
    text = SkipBlanks(text);
    std::uint32_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool good = !text.empty() && ec == std::errc() && ptr == text.data() + text.size();
    if (ok) *ok = good;
    return good ? value : 0;
}

std::int32_t ParseSignedEntry(std::string_view text, bool* ok) {
    text = SkipBlanks(text);
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool good = !text.empty() && ec == std::errc() && ptr == text.data() + text.size();
    if (ok) *ok = good;
    return good ? value : 0;
}

std::string FormatFixed(double value, int decimals) {
    char buffer[400];
    const auto [ptr, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return {};
    return std::string(buffer, ptr);
}

}  // namespace protocol
