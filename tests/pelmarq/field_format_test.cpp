#include "field_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>

using namespace fields;

TEST(FieldFormat, RegisterValuesToText) {
    const struct {
        std::uint16_t raw;
        double factor;
        int decimals;
        const char* text;
    } scaled[] = {
        {0xFFF6, 0.1, 1, "-1.0"},  {0xFF9C, 0.1, 1, "-10.0"},  {355, 0.1, 1, "35.5"},
        {1234, 0.01, 2, "12.34"},  {1234, 0.1, 3, "123"},      {0x8000, 1.0, 0, "-32768"},
        {0x7FFF, 1.0, 0, "32767"}, {1000, 0.0205, 2, "20.50"}, {7, 1.0, 9, "7"},
    };
    for (const auto& c : scaled)
        EXPECT_EQ(FormatScaled(c.raw, c.factor, c.decimals), c.text) << c.raw;
    EXPECT_EQ(FormatUInt(0xFFF6), "65526");  // unsigned fields show negatives as 32768..65535
    EXPECT_EQ(FormatUInt32(0xFFFFFFFF), "4294967295");
    EXPECT_EQ(FormatFloat(0.95f), "0.950000");
    EXPECT_EQ(FormatStatus(1, 1, 2), "正常");
    EXPECT_EQ(FormatStatus(2, 1, 2), "警告");
    EXPECT_EQ(FormatStatus(0, 1, 2), "err");
}

TEST(FieldFormat, EntriesToRegisterValues) {
    const struct {
        const char* text;
        std::int32_t multiplier;
        std::uint16_t value;
    } scaled[] = {
        {"2.5", 10, 25},       {"-1.5", 10, 0xFFF1}, {"abc", 10, 0},      {"", 10, 0},
        {"2.3", 100, 229},     {"4.35", 10, 43},     {"-5.5", 10, 65481}, {"35.5", 10, 355},
        {"1e30", 10, 0xFFFF},   // saturated to 0x7FFFFFFF, low 16 bits
        {"-1e30", 10, 0x0000},  // saturated to -0x80000000, low 16 bits
        {"nan", 10, 0},
    };
    for (const auto& c : scaled)
        EXPECT_EQ(ScaledFieldValue(c.text, c.multiplier), c.value) << c.text;
    EXPECT_EQ(ScaledFieldValue32("1e30", 1), 0x7FFFFFFFu);
    EXPECT_EQ(ScaledFieldValue32("-2", 1), 0xFFFFFFFEu);
    EXPECT_EQ(ScaledFieldValue32("123456.7", 10), 1234567u);
    EXPECT_EQ(IntFieldValue("70000"), 4464);
    EXPECT_EQ(IntFieldValue("-5"), 0);
    EXPECT_EQ(IntFieldValue("abc"), 0);
    EXPECT_EQ(FloatFieldBits("0.95"), 0x3F733333u);
    EXPECT_EQ(FloatFieldBits("1e300"), std::bit_cast<std::uint32_t>(FLT_MAX));
    EXPECT_EQ(FloatFieldBits("-1e300"), std::bit_cast<std::uint32_t>(-FLT_MAX));
    EXPECT_EQ(FloatFieldBits("junk"), 0u);
}
