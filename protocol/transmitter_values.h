#pragma once
// The transmitter's value encodings: how its 16-bit words read as text and how an entry
// becomes the word sent. Built on the shared locale-independent conversions.
#include <cstdint>
#include <string>
#include <string_view>

namespace protocol {

enum class ParameterEncoding {
    SignMagnitudeTenths,  // deviations: bit 15 sign, bits 0-14 tenths
    SignMagnitude,        // limits: bit 15 sign, bits 0-14 whole units
    Hysteresis,           // tenths; a negative entry is sent as 0
    Unsigned,             // output delay: whole units, 0..65535
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

enum class ParameterRefusal : std::uint8_t {
    None,
    NotANumber,  // not wholly a number
    OutOfRange,  // the unsigned encoding beyond 0..65535
    Magnitude,   // a sign-magnitude or hysteresis magnitude (after x10) beyond 0x7FFF, which
                 // would spill into the sign bit
};

struct ParameterEntry {
    ParameterRefusal refusal = ParameterRefusal::NotANumber;
    std::uint16_t word = 0;  // the word sent when nothing refuses it
};

// The word an entry sends: the entry (x10 for the encodings in tenths) truncated toward
// zero. Sign-magnitude keeps the entry's own sign ("-0.4" is 0x8000); hysteresis sends a
// negative entry as 0.
ParameterEntry EncodeParameterEntry(ParameterEncoding encoding, std::string_view text);

}  // namespace protocol
