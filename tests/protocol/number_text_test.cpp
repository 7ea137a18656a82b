#include "number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>

using namespace protocol;

TEST(NumberText, ParseDecimalReadsLikeAtofInTheCLocale) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"2.5", 2.5}, {"-1.5", -1.5}, {"  35.5", 35.5}, {"+4", 4},   {"4.35abc", 4.35},
        {"", 0},      {"abc", 0},     {"-", 0},         {"--1", 0},  {"1e3", 1000},
        {"1,5", 1},   {".5", 0.5},    {"1e-400", 0},    {"0x10", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(ParseDecimal(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isinf(ParseDecimal("1e400")));
    EXPECT_TRUE(std::isnan(ParseDecimal("nan")));
}

TEST(NumberText, ScaledEntryTruncatesAndSaturates) {
    const struct {
        const char* text;
        std::int32_t multiplier;
        std::int32_t value;
    } cases[] = {
        {"2.5", 10, 25},
        {"-1.5", 10, -15},
        {"2.3", 100, 229},  // 2.3 * 100 is 229.99999...: truncated, not rounded
        {"4.35", 10, 43},
        {"-5.5", 10, -55},
        {"abc", 10, 0},
        {"", 100, 0},
        {"1e30", 10, std::numeric_limits<std::int32_t>::max()},
        {"-1e30", 10, std::numeric_limits<std::int32_t>::min()},
        {"nan", 10, 0},
        {"inf", 1, std::numeric_limits<std::int32_t>::max()},
        {"12345678901234567895", 1, std::numeric_limits<std::int32_t>::max()},
        {"1234567890123456789.5", 1, std::numeric_limits<std::int32_t>::max()},
        // Only 19 characters are read: the exponent of this entry is cut off.
        {"1.00000000000000000e2", 1, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaledEntry(c.text, c.multiplier), c.value) << c.text << " x" << c.multiplier;
    EXPECT_EQ(static_cast<std::uint16_t>(ScaledEntry("-1.5", 10)), 0xFFF1);
    EXPECT_EQ(static_cast<std::uint16_t>(ScaledEntry("-5.5", 10)), 65481);
}

TEST(NumberText, UnsignedAndSignedEntries) {
    bool ok = false;
    EXPECT_EQ(ParseUnsignedEntry("70000", &ok), 70000u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(static_cast<std::uint16_t>(ParseUnsignedEntry("70000")), 4464);
    for (const char* bad : {"", "-5", "12a", "1.5", "abc", "99999999999"}) {
        EXPECT_EQ(ParseUnsignedEntry(bad, &ok), 0u) << bad;
        EXPECT_FALSE(ok) << bad;
    }
    EXPECT_EQ(ParseUnsignedEntry(" 12", &ok), 12u);
    EXPECT_EQ(ParseSignedEntry("-5", &ok), -5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ParseSignedEntry("257"), 257);
    EXPECT_EQ(ParseSignedEntry("x"), 0);
}

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
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "number_text_locales";
    fs::create_directories(dir);
    const std::string cmd =
        "localedef -i de_DE -f UTF-8 " + (dir / "de_DE.UTF-8").string() + " >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0 && !fs::exists(dir / "de_DE.UTF-8"))
        GTEST_SKIP() << "localedef with the de_DE source is not installed";
    ::setenv("LOCPATH", dir.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");  // the locale really is in force
    EXPECT_DOUBLE_EQ(ParseDecimal("1.5"), 1.5);
    EXPECT_EQ(ScaledEntry("35.5", 10), 355);
    EXPECT_EQ(FormatFixed(-1.0, 1), "-1.0");
    EXPECT_EQ(FormatFixed(0.95f, 6), "0.950000");
    std::setlocale(LC_ALL, "C");
}
