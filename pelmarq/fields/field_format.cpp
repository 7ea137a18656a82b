#include "field_format.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>

#include "number_text.h"

namespace fields {

std::string FormatUInt(std::uint16_t raw) {
    return std::to_string(raw);
}

std::string FormatScaled(std::uint16_t raw, double factor, int decimals) {
    const double value = static_cast<std::int16_t>(raw) * factor;
    return protocol::FormatFixed(value, decimals == 1 || decimals == 2 ? decimals : 0);
}

std::string FormatStatus(std::uint16_t raw, std::uint16_t normal, std::uint16_t alarm,
                         const char* normalText, const char* alarmText) {
    if (raw == normal) return normalText;
    if (raw == alarm) return alarmText;
    return "err";
}

std::string FormatUInt32(std::uint32_t raw) {
    return std::to_string(raw);
}

std::string FormatVersion(std::uint16_t raw) {
    return std::to_string(raw >> 8) + "." + std::to_string(raw & 0xFF);
}

std::string FormatFloat(float value, int decimals) {
    return protocol::FormatFixed(value, decimals);
}

std::uint16_t IntFieldValue(std::string_view text) {
    return static_cast<std::uint16_t>(protocol::ParseUnsignedEntry(text));
}

std::uint16_t ScaledFieldValue(std::string_view text, std::int32_t multiplier) {
    return static_cast<std::uint16_t>(protocol::ScaledEntry(text, multiplier));
}

std::uint32_t ScaledFieldValue32(std::string_view text, std::int32_t multiplier) {
    return static_cast<std::uint32_t>(protocol::ScaledEntry(text, multiplier));
}

std::uint32_t FloatFieldBits(std::string_view text) {
    double value = protocol::ParseDecimal(text);
    // Narrowing a double beyond the float range is undefined; keep the sign, saturate.
    if (!std::isnan(value))
        value = std::clamp(value, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX));
    return std::bit_cast<std::uint32_t>(static_cast<float>(value));
}

}  // namespace fields
