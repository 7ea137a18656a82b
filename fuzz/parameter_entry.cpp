// The transmitter's parameter conversions, EncodeParameterEntry and FormatParameter, in every
// encoding. First two bytes: a device word; the rest: an entry.
#include <cmath>
#include <optional>
#include <string>

#include "entry_grammar.h"
#include "fuzz_support.h"
#include "transmitter_values.h"

using protocol::ParameterEncoding;
using Word = std::optional<std::uint16_t>;

namespace {

constexpr ParameterEncoding kEncodings[] = {
    ParameterEncoding::SignMagnitudeTenths, ParameterEncoding::SignMagnitude,
    ParameterEncoding::Hysteresis, ParameterEncoding::Unsigned};
constexpr std::uint16_t kSign = 0x8000;
constexpr double kMaxMagnitude = 0x7FFF;

// The word an entry sends, or nullopt when it is refused.
Word Encode(ParameterEncoding encoding, std::string_view text) {
    const protocol::ParameterEntry entry = protocol::EncodeParameterEntry(encoding, text);
    if (entry.refusal != protocol::ParameterRefusal::None) return std::nullopt;
    return entry.word;
}

// What the page shows for a device word is a number entry, and setting it unchanged sends the
// same word: a negative hysteresis goes out as 0, and a negative zero ("-0.0") as zero.
void ShowAndSendBack(ParameterEncoding encoding, std::uint16_t word) {
    const std::string shown = protocol::FormatParameter(encoding, word);
    FUZZ_EXPECT(fuzz::EntryNumber(shown).has_value());
    const Word sent = Encode(encoding, shown);
    FUZZ_EXPECT(sent.has_value());
    if (encoding == ParameterEncoding::Hysteresis && (word & kSign))
        FUZZ_EXPECT(*sent == 0);
    else if (encoding != ParameterEncoding::Unsigned && word == kSign)
        FUZZ_EXPECT(*sent == 0 || *sent == kSign);
    else
        FUZZ_EXPECT(*sent == word);
}

// The word a number entry must send (nullopt inside: refused).
std::optional<Word> Expected(ParameterEncoding encoding, std::string_view number) {
    const double value = fuzz::ReferenceValue(number);
    switch (encoding) {
        case ParameterEncoding::SignMagnitudeTenths:
        case ParameterEncoding::SignMagnitude: {
            const double scale = encoding == ParameterEncoding::SignMagnitude ? 1 : 10;
            const double magnitude = std::trunc(std::fabs(value) * scale);
            if (magnitude > kMaxMagnitude) return Word{};
            const auto word = static_cast<std::uint16_t>(magnitude);
            return Word{static_cast<std::uint16_t>(value < 0 ? word | kSign : word)};
        }
        case ParameterEncoding::Hysteresis: {
            const double tenths = std::trunc(value * 10);
            if (tenths > kMaxMagnitude) return Word{};
            return Word{static_cast<std::uint16_t>(tenths > 0 ? tenths : 0)};
        }
        case ParameterEncoding::Unsigned: {
            const double whole = std::trunc(value);
            if (whole < 0 || whole > 0xFFFF) return Word{};
            return Word{static_cast<std::uint16_t>(whole)};
        }
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint16_t word = in.Word();
    const fuzz::Reply entry(in.Rest());
    const std::string_view text = entry.Text();
    const auto number = fuzz::EntryNumber(text);
    for (const ParameterEncoding encoding : kEncodings) {
        ShowAndSendBack(encoding, word);
        const Word sent = Encode(encoding, text);
        // A word an entry sent shows as a text that sends it again.
        if (sent) ShowAndSendBack(encoding, *sent);
        // Text that is not wholly a number sends nothing.
        if (!number) FUZZ_EXPECT(!sent);
        if (number) {
            if (const auto expected = Expected(encoding, *number)) FUZZ_EXPECT(sent == *expected);
        }
    }
    return 0;
}
