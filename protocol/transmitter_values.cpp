#include "transmitter_values.h"

#include <cmath>
#include <optional>

#include "entry_text.h"

namespace protocol {
namespace {

constexpr std::uint16_t kSignBit = 0x8000;
constexpr double kMaxMagnitude = 0x7FFF;

ParameterEntry SignMagnitudeWord(double value, double multiplier) {
    const double magnitude = std::fabs(std::trunc(value * multiplier));
    if (!(magnitude <= kMaxMagnitude)) return {ParameterRefusal::Magnitude, 0};
    auto word = static_cast<std::uint16_t>(magnitude);
    if (value < 0) word |= kSignBit;
    return {ParameterRefusal::None, word};
}

ParameterEntry HysteresisWord(double value) {
    const double tenths = std::trunc(value * 10);
    if (tenths > kMaxMagnitude) return {ParameterRefusal::Magnitude, 0};
    return {ParameterRefusal::None, static_cast<std::uint16_t>(tenths > 0 ? tenths : 0)};
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

ParameterEntry EncodeParameterEntry(ParameterEncoding encoding, std::string_view text) {
    const std::optional<double> value = ParseEntryNumber(text);
    if (!value) return {ParameterRefusal::NotANumber, 0};
    switch (encoding) {
        case ParameterEncoding::SignMagnitudeTenths:
            return SignMagnitudeWord(*value, 10);
        case ParameterEncoding::SignMagnitude:
            return SignMagnitudeWord(*value, 1);
        case ParameterEncoding::Hysteresis:
            return HysteresisWord(*value);
        case ParameterEncoding::Unsigned:
            break;
    }
    const EntryValue entry = ConvertEntry(*value, 1, EntryRange::Unsigned16);
    if (entry.error != EntryError::None) return {ParameterRefusal::OutOfRange, 0};
    return {ParameterRefusal::None, static_cast<std::uint16_t>(entry.bits)};
}

}  // namespace protocol
