#include "number_text.h"

#include <gtest/gtest.h>

#include "comma_locale.h"

using namespace protocol;

TEST(NumberText, FormatFixedLikePrintf) {
    EXPECT_EQ(FormatFixed(-1.0, 1), "-1.0");
    EXPECT_EQ(FormatFixed(35.5, 1), "35.5");
    EXPECT_EQ(FormatFixed(0.95f, 6), "0.950000");
    EXPECT_EQ(FormatFixed(12.345, 2), "12.35");  // binary value lies above the tie
    EXPECT_EQ(FormatFixed(2.5, 0), "2");         // exact tie rounds to even, as printf does
    EXPECT_EQ(FormatFixed(65535, 0), "65535");
}

// A German desktop sets LC_NUMERIC to a comma locale; nothing may change.
TEST(NumberText, CommaLocaleChangesNothing) {
    protocoltest::CommaLocale comma("number_text_locales");
    if (!comma.Built()) GTEST_SKIP() << "localedef with the de_DE source is not installed";
    ASSERT_TRUE(comma.Ok());
    EXPECT_EQ(FormatFixed(-1.0, 1), "-1.0");
    EXPECT_EQ(FormatFixed(0.95f, 6), "0.950000");
}
