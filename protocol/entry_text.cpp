#include "entry_text.h"

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace protocol {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t CountDigits(std::string_view text, std::size_t from) {
    std::size_t i = from;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i - from;
}

// Whether a number whose conversion fell outside the double range was too large (rather than
// too small): the decimal order of its first significant digit plus its exponent is positive.
bool Overflows(std::string_view mantissa, std::string_view exponent) {
    const std::size_t point = mantissa.find('.');
    const std::size_t intDigits = point == std::string_view::npos ? mantissa.size() : point;
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return false;
    const long order = first < intDigits ? static_cast<long>(intDigits - first)
                                         : -static_cast<long>(first - intDigits - 1);
    bool negative = false;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        negative = exponent[0] == '-';
        exponent.remove_prefix(1);
    }
    long e = 0;
    for (char c : exponent) {
        e = e * 10 + (c - '0');
        if (e > 1'000'000) break;  // far beyond any double either way
    }
    return (negative ? order - e : order + e) > 0;
}

}  // namespace

std::optional<double> ParseEntryNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    std::size_t i = 0;
    std::size_t digits = CountDigits(text, i);
    i += digits;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = CountDigits(text, i + 1);
        digits += fraction;
        i += 1 + fraction;
    }
    if (digits == 0) return std::nullopt;
    const std::string_view mantissa = text.substr(0, i);
    std::string_view exponent;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t expDigits = CountDigits(text, j);
        if (expDigits == 0) return std::nullopt;
        exponent = text.substr(i + 1, j + expDigits - (i + 1));
        i = j + expDigits;
    }
    if (i != text.size()) return std::nullopt;

    // The text is now digits, a point and an exponent only, which from_chars reads without
    // regard to the locale.
    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        value = Overflows(mantissa, exponent) ? std::numeric_limits<double>::infinity() : 0.0;
    else if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

EntryValue ConvertEntry(double value, double multiplier, EntryRange range) {
    const double scaled = value * multiplier;
    if (std::isnan(scaled)) return {EntryError::NotANumber, 0};
    if (range == EntryRange::Float) {
        if (!(std::fabs(scaled) <= static_cast<double>(FLT_MAX)))
            return {EntryError::OutOfRange, 0};
        return {EntryError::None, std::bit_cast<std::uint32_t>(static_cast<float>(scaled))};
    }
    const double whole = std::trunc(scaled);  // infinity stays infinite and fails below
    double low = 0;
    double high = 0;
    switch (range) {
        case EntryRange::Signed16:
            low = -32768;
            high = 32767;
            break;
        case EntryRange::Unsigned16:
            high = 65535;
            break;
        case EntryRange::Unsigned32:
            high = 4294967295.0;
            break;
        case EntryRange::Unsigned8:
            high = 255;
            break;
        case EntryRange::Float:
            break;
    }
    if (!(whole >= low && whole <= high)) return {EntryError::OutOfRange, 0};
    if (whole < 0) {
        const auto v = static_cast<std::int32_t>(whole);
        return {EntryError::None, static_cast<std::uint16_t>(v)};
    }
    return {EntryError::None, static_cast<std::uint32_t>(whole)};
}

EntryValue ConvertEntryText(std::string_view text, EntryRange range, double multiplier) {
    const std::optional<double> value = ParseEntryNumber(text);
    if (!value) return {EntryError::NotANumber, 0};
    return ConvertEntry(*value, multiplier, range);
}

}  // namespace protocol
