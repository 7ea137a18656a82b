#include "field_format.h"

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

}  // namespace fields
