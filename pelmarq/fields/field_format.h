#pragma once
// The pure half of the field helpers: register values to the texts a page shows (entries
// become register values through protocol/entry_text.h). No Qt, no I/O.
#include <cstdint>
#include <string>

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

}  // namespace fields
