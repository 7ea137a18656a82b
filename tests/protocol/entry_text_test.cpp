// What an entry reads as, and the register value it becomes or why it is refused.
#include "entry_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "comma_locale.h"

using namespace protocol;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct ParseCase {
    std::string text;
    std::optional<double> value;
};

const ParseCase kParseCases[] = {
    {"0", 0.0},
    {"12", 12.0},
    {"007", 7.0},
    {" 12\t", 12.0},
    {"\t -3.5  ", -3.5},
    {"+7", 7.0},
    {".5", 0.5},
    {"5.", 5.0},
    {"-.5", -0.5},
    {"1e3", 1000.0},
    {"1E+3", 1000.0},
    {"2.5e-1", 0.25},
    {"-0", -0.0},
    {"123456789012345678901234567890", 123456789012345678901234567890.0},
    {"1e999", kInf},
    {"-1e999", -kInf},
    {"0.0001e310", 1e306},
    {"1e-999", 0.0},
    {"100000e-330", 0.0},
    {"0e99999", 0.0},
    {"1e99999999999999999999", kInf},
    {"", std::nullopt},
    {"   ", std::nullopt},
    {"abc", std::nullopt},
    {".", std::nullopt},
    {"-", std::nullopt},
    {"+", std::nullopt},
    {"1.2.3", std::nullopt},
    {"+-5", std::nullopt},
    {"+-626633333", std::nullopt},
    {"-+5", std::nullopt},
    {"--5", std::nullopt},
    {"5x", std::nullopt},
    {"1 2", std::nullopt},
    {"1,5", std::nullopt},
    {"0x10", std::nullopt},
    {"inf", std::nullopt},
    {"-inf", std::nullopt},
    {"nan", std::nullopt},
    {"e5", std::nullopt},
    {"1e", std::nullopt},
    {"1e+", std::nullopt},
    {"1e5.5", std::nullopt},
    {"\xEF\xBC\x91\xEF\xBC\x92", std::nullopt},  // full-width "12"
    {"12\n", std::nullopt},
    {"\n12", std::nullopt},
    {"12\r", std::nullopt},
    {std::string("1\0", 2), std::nullopt},
};

void ExpectParses(const char* where) {
    for (const ParseCase& c : kParseCases) {
        const std::optional<double> got = ParseEntryNumber(c.text);
        ASSERT_EQ(got.has_value(), c.value.has_value()) << where << " '" << c.text << "'";
        if (!got) continue;
        EXPECT_EQ(*got, *c.value) << where << " '" << c.text << "'";
        EXPECT_EQ(std::signbit(*got), std::signbit(*c.value)) << where << " '" << c.text << "'";
    }
}

}  // namespace

TEST(EntryText, ParsesOnlyWholeNumbers) {
    ExpectParses("C locale");
}

// A German desktop sets LC_NUMERIC to a comma locale: "1.5" still reads as one and a half,
// and "1,5" is still no number.
TEST(EntryText, CommaLocaleChangesNothing) {
    protocoltest::CommaLocale comma("entry_text_locales");
    if (!comma.Built()) GTEST_SKIP() << "localedef with the de_DE source is not installed";
    ASSERT_TRUE(comma.Ok());
    ExpectParses("comma locale");
    EXPECT_EQ(ConvertEntryText("35.5", EntryRange::Signed16, 10).bits, 355u);
}

TEST(EntryText, ConversionsTruncateAndCheckTheRange) {
    using R = EntryRange;
    constexpr auto kOk = EntryError::None;
    constexpr auto kNan = EntryError::NotANumber;
    constexpr auto kOut = EntryError::OutOfRange;
    const struct {
        std::string text;
        R range;
        double multiplier;
        EntryError error;
        std::uint32_t bits;
    } cases[] = {
        // Signed 16 bits, two's complement on the wire.
        {"32767", R::Signed16, 1, kOk, 0x7FFF},
        {"32768", R::Signed16, 1, kOut, 0},
        {"-32768", R::Signed16, 1, kOk, 0x8000},
        {"-32769", R::Signed16, 1, kOut, 0},
        {"3276.8", R::Signed16, 10, kOut, 0},
        {"-1.5", R::Signed16, 10, kOk, 0xFFF1},
        {"2.3", R::Signed16, 100, kOk, 229},  // 229.99999999999997, truncated
        {"700", R::Signed16, 100, kOut, 0},   // once 4464 went out
        {"12.5", R::Signed16, 1, kOk, 12},
        {"-0.5", R::Signed16, 1, kOk, 0},
        {"-32768.9", R::Signed16, 1, kOk, 0x8000},
        // Unsigned 16 bits.
        {"65535", R::Unsigned16, 1, kOk, 0xFFFF},
        {"65535.9", R::Unsigned16, 1, kOk, 0xFFFF},
        {"65536", R::Unsigned16, 1, kOut, 0},
        {"70000", R::Unsigned16, 1, kOut, 0},
        {"0", R::Unsigned16, 1, kOk, 0},
        {"-0.5", R::Unsigned16, 1, kOk, 0},
        {"-1", R::Unsigned16, 1, kOut, 0},
        {"12.7", R::Unsigned16, 1, kOk, 12},
        {"6553.6", R::Unsigned16, 10, kOut, 0},
        // Unsigned 32 bits.
        {"4294967295", R::Unsigned32, 1, kOk, 0xFFFFFFFF},
        {"4294967296", R::Unsigned32, 1, kOut, 0},
        {"-1", R::Unsigned32, 1, kOut, 0},
        {"123456.7", R::Unsigned32, 10, kOk, 1234567},
        {"429496729.5", R::Unsigned32, 10, kOk, 0xFFFFFFFF},
        {"1e30", R::Unsigned32, 1, kOut, 0},
        // Single precision, not truncated.
        {"0.95", R::Float, 1, kOk, 0x3F733333},
        {"-2", R::Float, 1, kOk, 0xC0000000},
        {"3.4028234663852886e38", R::Float, 1, kOk, std::bit_cast<std::uint32_t>(FLT_MAX)},
        {"-3.4028234663852886e38", R::Float, 1, kOk, std::bit_cast<std::uint32_t>(-FLT_MAX)},
        {"1e39", R::Float, 1, kOut, 0},
        {"-1e39", R::Float, 1, kOut, 0},
        {"1e-50", R::Float, 1, kOk, 0},
        // A device address.
        {"255", R::Unsigned8, 1, kOk, 255},
        {"255.9", R::Unsigned8, 1, kOk, 255},
        {"256", R::Unsigned8, 1, kOut, 0},
        {"300", R::Unsigned8, 1, kOut, 0},
        {"-1", R::Unsigned8, 1, kOut, 0},
        {"0", R::Unsigned8, 1, kOk, 0},
        // Too large for a double is out of range everywhere; no number is no number.
        {"1e999", R::Signed16, 1, kOut, 0},
        {"-1e999", R::Signed16, 1, kOut, 0},
        {"1e999", R::Unsigned16, 1, kOut, 0},
        {"1e999", R::Unsigned32, 1, kOut, 0},
        {"1e999", R::Float, 1, kOut, 0},
        {"1e999", R::Unsigned8, 1, kOut, 0},
        {"1e-999", R::Unsigned16, 1, kOk, 0},
        {"1e308", R::Signed16, 100, kOut, 0},  // infinite once scaled
        {"", R::Unsigned16, 1, kNan, 0},
        {"abc", R::Signed16, 10, kNan, 0},
        {"+-5", R::Unsigned32, 1, kNan, 0},
        {"nan", R::Float, 1, kNan, 0},
    };
    for (const auto& c : cases) {
        const EntryValue v = ConvertEntryText(c.text, c.range, c.multiplier);
        EXPECT_EQ(v.error, c.error) << "'" << c.text << "' range " << int(c.range);
        EXPECT_EQ(v.bits, c.bits) << "'" << c.text << "' range " << int(c.range);
    }
    // Values that come from elsewhere than the parser are defined too.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (R range : {R::Signed16, R::Unsigned16, R::Unsigned32, R::Float, R::Unsigned8}) {
        EXPECT_EQ(ConvertEntry(nan, 1, range).error, kNan) << int(range);
        EXPECT_EQ(ConvertEntry(kInf, 0, range).error, kNan) << int(range);
        EXPECT_EQ(ConvertEntry(-kInf, 1, range).error, kOut) << int(range);
        EXPECT_EQ(ConvertEntry(1e300, 1e300, range).error, kOut) << int(range);
    }
}
