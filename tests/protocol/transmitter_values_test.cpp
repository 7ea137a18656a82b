// The transmitter's value encodings: displays of device words and the words entries send,
// including the entries that cannot be sent faithfully.
#include "transmitter_values.h"

#include <gtest/gtest.h>

#include <string>

using namespace protocol;

TEST(TransmitterValues, WordsReadAsTheDeviceMeansThem) {
    const struct {
        std::uint16_t word;
        std::string twos, unsignedTenths, signTenths, sign;
    } cases[] = {
        {0x00FA, "25.0", "25.0", "25.0", "250"},
        {0xFF38, "-20.0", "6533.6", "-3256.8", "-32568"},
        {0x8005, "-3276.3", "3277.3", "-0.5", "-5"},
        {0x0005, "0.5", "0.5", "0.5", "5"},
        {0x0000, "0.0", "0.0", "0.0", "0"},
        {0x8000, "-3276.8", "3276.8", "-0.0", "-0"},
        {0xFFFF, "-0.1", "6553.5", "-3276.7", "-32767"},
        {0x7FFF, "3276.7", "3276.7", "3276.7", "32767"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatTwosComplementTenths(c.word), c.twos) << c.word;
        EXPECT_EQ(FormatUnsignedTenths(c.word), c.unsignedTenths) << c.word;
        EXPECT_EQ(FormatSignMagnitudeTenths(c.word), c.signTenths) << c.word;
        EXPECT_EQ(FormatSignMagnitude(c.word), c.sign) << c.word;
    }
    EXPECT_EQ(FormatParameter(ParameterEncoding::Hysteresis, 0x8005), "-0.5");
    EXPECT_EQ(FormatParameter(ParameterEncoding::Unsigned, 0xFFFF), "65535");
}

TEST(TransmitterValues, EntriesBecomeTheWordsSent) {
    using E = ParameterEncoding;
    using P = ParameterRefusal;
    const struct {
        E encoding;
        std::string text;
        P refusal;
        std::uint16_t word;
    } cases[] = {
        {E::SignMagnitudeTenths, "-0.5", P::None, 0x8005},
        {E::SignMagnitudeTenths, "2.34", P::None, 23},
        {E::SignMagnitudeTenths, "3276.7", P::None, 0x7FFF},
        {E::SignMagnitudeTenths, "-3276.7", P::None, 0xFFFF},
        {E::SignMagnitudeTenths, "3276.8", P::Magnitude, 0},  // would spill into the sign bit
        {E::SignMagnitudeTenths, "1e30", P::Magnitude, 0},
        {E::SignMagnitudeTenths, "-1e999", P::Magnitude, 0},
        {E::SignMagnitudeTenths, "-inf", P::NotANumber, 0},
        {E::SignMagnitudeTenths, "nan", P::NotANumber, 0},
        {E::SignMagnitudeTenths, "abc", P::NotANumber, 0},
        {E::SignMagnitudeTenths, "", P::NotANumber, 0},
        {E::SignMagnitude, "-3", P::None, 0x8003},
        {E::SignMagnitude, "-0.4", P::None, 0x8000},  // the sign of the entry, magnitude 0
        {E::SignMagnitude, "-0", P::None, 0x0000},
        {E::SignMagnitude, "45.9", P::None, 45},
        {E::SignMagnitude, "32767", P::None, 0x7FFF},
        {E::SignMagnitude, "-32767", P::None, 0xFFFF},
        {E::SignMagnitude, "32768", P::Magnitude, 0},
        {E::SignMagnitude, "-2147483648", P::Magnitude, 0},
        {E::SignMagnitude, "+-5", P::NotANumber, 0},
        {E::Hysteresis, "-3", P::None, 0},
        {E::Hysteresis, "1.5", P::None, 15},
        {E::Hysteresis, "3276.7", P::None, 0x7FFF},
        {E::Hysteresis, "3276.8", P::Magnitude, 0},
        {E::Hysteresis, "1e999", P::Magnitude, 0},
        {E::Hysteresis, "-1e30", P::None, 0},
        {E::Hysteresis, "5x", P::NotANumber, 0},
        {E::Unsigned, "65535", P::None, 0xFFFF},
        {E::Unsigned, "12.9", P::None, 12},
        {E::Unsigned, "1e3", P::None, 1000},
        {E::Unsigned, "-0.5", P::None, 0},
        {E::Unsigned, "70000", P::OutOfRange, 0},  // once its low 16 bits went out
        {E::Unsigned, "65536", P::OutOfRange, 0},
        {E::Unsigned, "-1", P::OutOfRange, 0},
        {E::Unsigned, "1e999", P::OutOfRange, 0},
        {E::Unsigned, " 12abc", P::NotANumber, 0},
        {E::Unsigned, "x", P::NotANumber, 0},
        {E::Unsigned, "-", P::NotANumber, 0},
    };
    for (const auto& c : cases) {
        const ParameterEntry entry = EncodeParameterEntry(c.encoding, c.text);
        EXPECT_EQ(entry.refusal, c.refusal)
            << static_cast<int>(c.encoding) << " '" << c.text << "'";
        EXPECT_EQ(entry.word, c.word) << static_cast<int>(c.encoding) << " '" << c.text << "'";
    }
}
