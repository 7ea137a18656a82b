#include "field_format.h"

#include <gtest/gtest.h>

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
