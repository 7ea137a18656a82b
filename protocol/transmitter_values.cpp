#include "transmitter_values.h"

#include <cstdlib>

#include "number_text.h"

namespace protocol {
namespace {

constexpr std::uint16_t kSignBit = 0x8000;
constexpr std::int64_t kMaxMagnitude = 0x7FFF;
constexpr std::size_t kEntryChars = 19;  // as much of an entry as ScaledEntry reads

// The sign-magnitude word of an entry: the sign is the entry's own (so "-0.4" keeps it with a
// magnitude of 0), the magnitude the truncated, scaled entry; nullopt beyond 15 bits.
std::optional<std::uint16_t> SignMagnitudeWord(std::string_view text, std::int32_t multiplier) {
    const std::int64_t magnitude = std::llabs(std::int64_t{ScaledEntry(text, multiplier)});
    if (magnitude > kMaxMagnitude) return std::nullopt;
    auto word = static_cast<std::uint16_t>(magnitude);
    if (ParseDecimal(text.substr(0, kEntryChars)) < 0) word |= kSignBit;
    return word;
}

// What atoi reads: blanks, an optional sign and the digits after them.
std::string_view LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i == digits ? std::string_view{} : text.substr(start, i - start);
}

}  // namespace

std::string FormatTenths(bool negative, std::uint32_t magnitude) {
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 10);
    text += '.';
    text += std::to_string(magnitude % 10);
    return text;
}

std::string FormatSignMagnitudeTenths(std::uint16_t word) {
    return FormatTenths(word & kSignBit, word & 0x7FFFu);
}

std::string FormatSignMagnitude(std::uint16_t word) {
    std::string text = word & kSignBit ? "-" : "";
    text += std::to_string(word & 0x7FFFu);
    return text;
}

std::string FormatTwosComplementTenths(std::uint16_t word) {
    if (!(word & kSignBit)) return FormatTenths(false, word);
    return FormatTenths(true, static_cast<std::uint16_t>(-word));
}

std::string FormatUnsignedTenths(std::uint16_t word) {
    return FormatTenths(false, word);
}

std::string FormatParameter(ParameterEncoding encoding, std::uint16_t word) {
    switch (encoding) {
        case ParameterEncoding::SignMagnitudeTenths:
        case ParameterEncoding::Hysteresis:
            return FormatSignMagnitudeTenths(word);
        case ParameterEncoding::SignMagnitude:
            return FormatSignMagnitude(word);
        case ParameterEncoding::Unsigned:
            break;
    }
    return std::to_string(word);
}

std::optional<std::uint16_t> EncodeParameterEntry(ParameterEncoding encoding,
                                                  std::string_view text) {
    switch (encoding) {
        case ParameterEncoding::SignMagnitudeTenths:
            return SignMagnitudeWord(text, 10);
        case ParameterEncoding::SignMagnitude:
            return SignMagnitudeWord(text, 1);
        case ParameterEncoding::Hysteresis: {
            const std::int32_t value = ScaledEntry(text, 10);
            if (value > kMaxMagnitude) return std::nullopt;
            return static_cast<std::uint16_t>(value < 0 ? 0 : value);
        }
        case ParameterEncoding::Unsigned:
            break;
    }
    const std::string_view digits = LeadingInteger(text);
    if (digits.empty()) return 0;
    bool ok = false;
    const std::int32_t value = ParseSignedEntry(digits, &ok);
    if (!ok) return std::nullopt;  // beyond the 32-bit range
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}

}  // namespace protocol
