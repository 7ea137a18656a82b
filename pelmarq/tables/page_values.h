#pragma once
// What a page row means on the wire and on screen, read from its table: how many registers
// it reads, the text it shows for them, how an entry becomes the register value it writes,
// and the name of its control. The windows and pelmarq-cli both go through these. No Qt.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "entry_text.h"
#include "page_table.h"

namespace pages {

// The factor, decimals and multiplier a row uses with an encoding.
struct RowScale {
    double factor = 1.0;
    int decimals = 0;
    std::int32_t multiplier = 1;
};
RowScale ScaleOf(const Row& row, Encoding encoding);

// The texts of a status row's two states ("正常"/"警告" unless the row names its own).
std::pair<const char*, const char*> StatusTexts(const Row& row);

// Registers one read of the row takes: two for the 32-bit encodings, else one.
std::uint8_t RegisterCount(Encoding encoding);
// The text the page shows for the registers read (`words` holds RegisterCount of them). A
// list row shows its item, or nothing for a value outside the list.
std::string RowText(const Row& row, Encoding encoding, const std::uint16_t* words);
// The number those registers stand for (a scaled value scaled, a state or list row its
// register), for scripts.
double RowNumber(const Row& row, Encoding encoding, const std::uint16_t* words);

// How a row's entry is written: the register range its value must fit, the multiplier, and
// whether it takes 0 or 1 only. Function 16 for the 32-bit ranges, else function 6.
struct WriteRule {
    protocol::EntryRange range = protocol::EntryRange::Signed16;
    std::int32_t multiplier = 1;
    bool only01 = false;
    bool choice = false;  // a list row: the entry is one of its items
};
WriteRule WriteRuleOf(const Row& row, Encoding encoding);

enum class RowEntryError : std::uint8_t { None, NotANumber, OutOfRange, NotZeroOrOne, NotInList };
struct RowEntry {
    RowEntryError error = RowEntryError::NotANumber;
    std::uint32_t bits = 0;  // the register value (a pair: high word first)
};
// An entry as the row's set button takes it: a number (strictly read) times the multiplier
// that fits the register; for a 0-or-1 row the truncated entry must be 0 or 1; for a list
// row the text of one of its items (or its register value).
RowEntry ConvertRowEntry(const Row& row, Encoding encoding, std::string_view text);

// The caption that names a row's controls: its label without a trailing colon, "#2" after
// a second row of the same caption on the page.
std::vector<std::string> RowCaptions(const PageSpec& spec);
// The name of a row's value control: its id, or "<caption>:edit" ("<caption>:combo" for a
// list); a command row without an edit is named by its set button ("<caption>:set").
std::string ValueControlName(const PageSpec& spec, std::size_t row);
std::string ControlName(int id, const std::string& caption, const char* role);

}  // namespace pages
