#pragma once
// The pure half of the field helpers: register values to the texts a page shows, and edit
// texts to the register values a set writes. No Qt, no I/O.
#include <cstdint>
#include <string>
#include <string_view>

namespace fields {

// The register as an unsigned decimal 0..65535.
std::string FormatUInt(std::uint16_t raw);
// The register as signed 16-bit times `factor`, "%.1f" for decimals 1, "%.2f" for 2 and
// "%.0f" for anything else.
std::string FormatScaled(std::uint16_t raw, double factor, int decimals);
// "正常" for the normal value, else "警告" for the alarm value, else "err" (a page may name
// the two states otherwise, e.g. "无水"/"有水").
std::string FormatStatus(std::uint16_t raw, std::uint16_t normal, std::uint16_t alarm,
                         const char* normalText = "正常", const char* alarmText = "警告");
std::string FormatUInt32(std::uint32_t raw);
// High and low byte as "%d.%d" (a version number: 0x0103 is "1.3").
std::string FormatVersion(std::uint16_t raw);
// "%f" of the float ("%.Nf" for other decimals).
std::string FormatFloat(float value, int decimals = 6);

// Unsigned integer entry (not a number: 0), low 16 bits.
std::uint16_t IntFieldValue(std::string_view text);
// Decimal entry times the multiplier, truncated, saturated to 32 bits; low 16 or all 32 bits.
std::uint16_t ScaledFieldValue(std::string_view text, std::int32_t multiplier);
std::uint32_t ScaledFieldValue32(std::string_view text, std::int32_t multiplier);
// Decimal entry rounded to single precision (beyond its range: the largest finite float of
// that sign), as the float's 32 bits.
std::uint32_t FloatFieldBits(std::string_view text);

}  // namespace fields
