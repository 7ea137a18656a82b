#pragma once
// The transmitter's value encodings: how its 16-bit words read as text and how an entry
// becomes the word sent. Built on the shared locale-independent conversions.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace protocol {

enum class ParameterEncoding {
    SignMagnitudeTenths,  // deviations: bit 15 sign, bits 0-14 tenths
    SignMagnitude,        // limits: bit 15 sign, bits 0-14 whole units
    Hysteresis,           // tenths; a negative entry is sent as 0
    Unsigned,             // output delay: whole entry, low 16 bits
};

// "25.3", "-0.5": the magnitude as value / 10 "." value % 10.
std::string FormatTenths(bool negative, std::uint32_t magnitude);
// Bit 15 as the sign, bits 0-14 as the magnitude.
std::string FormatSignMagnitudeTenths(std::uint16_t word);
std::string FormatSignMagnitude(std::uint16_t word);
// The word as a 16-bit two's complement number of tenths (0xFF38 -> "-20.0").
std::string FormatTwosComplementTenths(std::uint16_t word);
std::string FormatUnsignedTenths(std::uint16_t word);

std::string FormatParameter(ParameterEncoding encoding, std::uint16_t word);

// The word an entry sends, or nullopt when it cannot be sent faithfully: a sign-magnitude
// magnitude (after x10 where the encoding has tenths) beyond 0x7FFF, which would spill into
// the sign bit, or an output delay beyond the 32-bit range. Text that is not a number gives 0.
std::optional<std::uint16_t> EncodeParameterEntry(ParameterEncoding encoding,
                                                  std::string_view text);

}  // namespace protocol
