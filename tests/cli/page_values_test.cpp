// A page row's entry and text as the command line's apply and read take them from the
// tables (the windows' set buttons take the same path).
#include "page_values.h"

#include <gtest/gtest.h>

namespace {

using pages::Encoding;
using pages::Row;
using pages::RowEntryError;

Row Make(Encoding e, unsigned flags = 0, std::vector<const char*> items = {}, int base = 0) {
    Row r{"值", "", 0, 0, 0, 0, e, pages::Access::ReadWrite, flags};
    r.items = std::move(items);
    r.itemBase = base;
    return r;
}

TEST(PageValues, EntriesBecomeRegisterValuesOrAreRefused) {
    const Row tenths = Make(Encoding::Tenths);
    const Row bool01 = Make(Encoding::Bool01);
    const Row only01Tenths = Make(Encoding::Tenths, pages::kOnly01);
    const Row analog = Make(Encoding::Choice, 0, {"4-20mA", "0-5V", "0-10V"}, 1);
    const Row trunc = Make(Encoding::UIntTrunc);
    struct Case {
        const Row* row;
        const char* text;
        RowEntryError error;
        std::uint32_t bits;
    };
    const Case cases[] = {
        {&tenths, "35.5", RowEntryError::None, 355},
        {&tenths, "-0.5", RowEntryError::None, 0xFFFB},
        {&tenths, "abc", RowEntryError::NotANumber, 0},
        {&tenths, "3276.8", RowEntryError::OutOfRange, 0},
        {&bool01, "1", RowEntryError::None, 1},
        {&bool01, "0.5", RowEntryError::None, 0},
        {&bool01, "2", RowEntryError::NotZeroOrOne, 0},
        {&bool01, "", RowEntryError::NotANumber, 0},
        {&only01Tenths, "1", RowEntryError::None, 10},
        {&analog, "0-5V", RowEntryError::None, 2},
        {&analog, "3", RowEntryError::None, 3},
        {&analog, "0", RowEntryError::NotInList, 0},
        {&analog, "1.5", RowEntryError::NotInList, 0},
        {&analog, "4-20ma", RowEntryError::NotInList, 0},
        {&trunc, "12.7", RowEntryError::None, 12},
        {&trunc, "-1", RowEntryError::OutOfRange, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const pages::RowEntry e = pages::ConvertRowEntry(*c.row, c.row->encoding, c.text);
        EXPECT_EQ(e.error, c.error);
        if (c.error == RowEntryError::None) {
            EXPECT_EQ(e.bits, c.bits);
        }
    }
    const Row f = Make(Encoding::Float);
    EXPECT_EQ(pages::ConvertRowEntry(f, Encoding::Float, "0.95").bits, 0x3F733333u);
    EXPECT_EQ(pages::WriteRuleOf(f, Encoding::Float).range, protocol::EntryRange::Float);
}

TEST(PageValues, TextsOfRegisters) {
    Row leak = Make(Encoding::Status, 0, {"无水", "有水"});
    leak.normal = 0;
    leak.alarm = 1;
    const Row analog = Make(Encoding::Choice, 0, {"4-20mA", "0-5V", "0-10V"}, 1);
    Row tilt = Make(Encoding::Float);
    tilt.decimals = 2;
    struct Case {
        const Row* row;
        std::uint16_t words[2];
        const char* text;
    };
    const Case cases[] = {
        {&leak, {1, 0}, "有水"}, {&leak, {2, 0}, "err"},       {&analog, {1, 0}, "4-20mA"},
        {&analog, {0, 0}, ""},   {&tilt, {0x3FC0, 0}, "1.50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(pages::RowText(*c.row, c.row->encoding, c.words), c.text);
    }
}

TEST(PageValues, ControlNamesFromCaptions) {
    pages::PageSpec spec;
    spec.rows = {{"温度值:", "", 0, 0, 0, 0, Encoding::Tenths},
                 {"光照度", "Lux", 0, 0, 0, 6, Encoding::UInt},
                 {"光照度", "百Lux", 0, 0, 0, 6, Encoding::UInt},
                 {"寄存器0：", "", 0, 0, 0, 0, Encoding::UInt},
                 {"温度", "", 1407, 1410, 0, 1, Encoding::Tenths}};
    spec.rows.push_back(Make(Encoding::Choice, 0, {"断开", "闭合"}));
    spec.rows.back().label = "继电器状态";
    const char* names[] = {"温度值:edit",  "光照度:edit", "光照度#2:edit",
                           "寄存器0:edit", "1407",        "继电器状态:combo"};
    for (std::size_t i = 0; i < spec.rows.size(); ++i)
        EXPECT_EQ(pages::ValueControlName(spec, i), names[i]);
}

}  // namespace
