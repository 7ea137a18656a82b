#pragma once
// What the user typed into a numeric entry, and the register value it becomes. One strict
// reading serves every entry of both programs: text that is not wholly a number is refused
// instead of read as 0 or as its leading digits, and a value that does not fit its register
// is refused instead of cut to its low bits. Locale-independent; no input is undefined.
#include <cstdint>
#include <optional>
#include <string_view>

namespace protocol {

// Spaces and tabs around the number are ignored. The number: an optional sign, decimal
// digits with at most one decimal point and at least one digit (".5" and "5." are numbers),
// an optional exponent (e or E, an optional sign, at least one digit). Anything else is no
// number: empty text, "+-5", "5x", "0x10", "inf", "nan", a newline, full-width digits.
// A number too large for a double is infinite; one too small is 0.
std::optional<double> ParseEntryNumber(std::string_view text);

// The registers an entry can go into.
enum class EntryRange : std::uint8_t {
    Signed16,    // -32768..32767, sent as 16-bit two's complement
    Unsigned16,  // 0..65535
    Unsigned32,  // 0..4294967295, two registers
    Float,       // a finite single-precision value, sent as its 32 bits (not truncated)
    Unsigned8,   // 0..255 (a device address)
};

enum class EntryError : std::uint8_t { None, NotANumber, OutOfRange };

struct EntryValue {
    EntryError error = EntryError::NotANumber;
    // What the register (or the register pair, high word first) receives; 0 on an error.
    std::uint32_t bits = 0;
};

// `value` times `multiplier`, truncated toward zero (2.3 x 100 -> 229, -0.5 -> 0), checked
// against the range. NaN is no number; infinity is out of range.
EntryValue ConvertEntry(double value, double multiplier, EntryRange range);
// ParseEntryNumber, then ConvertEntry.
EntryValue ConvertEntryText(std::string_view text, EntryRange range, double multiplier = 1);

}  // namespace protocol
