#pragma once
// A device page described as data: one row per device value, read by the page engine
// (DevicePage) that creates the widgets and wires query, set, poll and the real-time box.
#include <cstdint>
#include <vector>

// Texts of the tables are marked where they stand for Qt's translation tools (context
// "pages"); the windows translate them when they show them. Qt's own definition is the same.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace pages {

// How a register is shown and how an entry is written back. A set sends the entry x its
// multiplier, truncated toward zero, only when that fits the register: signed 16 bits for
// the scaled encodings, unsigned 16 bits for the integer ones, 32 bits for the pairs.
enum class Encoding : std::uint8_t {
    Tenths,      // signed x0.1 "%.1f"; set x10
    Hundredths,  // signed x0.01 "%.2f"; set x100
    Whole,       // signed x1 "%.0f"; set x1
    Scaled,      // signed x factor with `decimals`; set x multiplier (row fields)
    UInt,        // unsigned 0..65535, field emptied first
    Int,         // unsigned 0..65535, field kept on failure
    UInt32,      // two registers, high word first, unsigned; set x multiplier with function 16
    Float,       // two registers as an IEEE single, "%f"; set with function 16
    Status,      // "正常" / "警告" / "err" from the row's normal and alarm values
    Bool01,      // unsigned; a set accepts 0 or 1 only ("非法输入" otherwise)
    Version,     // high and low byte as "%d.%d" (0x0103: "1.3"), field emptied first
    UIntTrunc,   // unsigned 0..65535, field emptied first; set: the entry x multiplier,
                 // truncated (12.7 -> 12; -1 and 65536 are refused)
    Choice,      // a combo of `items`; register value = index + `itemBase`. A value outside
                 // the list leaves no selection; a set without a selection writes nothing
};

// Show: a value the page fills itself (an edit without buttons).
enum class Access : std::uint8_t { Read, ReadWrite, Write, Show };

// Row flags.
enum : unsigned {
    kPolled = 1u << 0,        // read by poll; its query button is disabled in real time
    kTempHumidity = 1u << 1,  // blanked and disabled by a gas-only sensor type
    kHidden = 1u << 2,        // present and wired, never shown
    kQuietQuery = 1u << 3,    // its query button shows no box on failure (field left empty)
    kOnly01 = 1u << 4,        // a set accepts 0 or 1 only and writes that value x multiplier
    kFollows = 1u << 5,       // no buttons: read by a request of its own right after the row
                              // above, by that row's query button; each read fills its own
                              // field and reports its own failure (polled when kPolled)
    kRanged = 1u << 6,        // encoding follows the sensor type (DevicePage::EncodingFor)
    kNoEdit = 1u << 7,        // a command row: caption and button only
    kKeepEnabled = 1u << 8,   // its buttons stay usable while the real-time box is checked
    kInert = 1u << 9,         // its buttons do nothing (with kHidden: a row that only exists)
};

struct Row {
    const char* label;  // shown caption, also the control name on pages without ids
    const char* unit;   // may be empty
    int edit = 0;       // control ids; 0: none (controls named "<label>:<role>")
    int query = 0;
    int set = 0;
    std::uint16_t reg = 0;
    Encoding encoding = Encoding::Tenths;
    Access access = Access::Read;
    unsigned flags = 0;
    int column = 0;               // layout area of the page, left to right
    double factor = 1.0;          // Encoding::Scaled
    int decimals = 0;             // Encoding::Scaled; Float: "%.Nf" when given, else "%f"
    std::int32_t multiplier = 1;  // Encoding::Scaled and UInt32
    std::uint16_t normal = 0;     // Encoding::Status
    std::uint16_t alarm = 1;
    // Choice: the combo's items. Status: the normal and alarm texts when not "正常"/"警告".
    std::vector<const char*> items{};
    int itemBase = 0;  // Encoding::Choice
};

enum class RealtimeMode : std::uint8_t {
    PolledQueries,  // checked: the polled rows' query buttons (and the sensor type) disabled
    AllButtons,     // checked: every query and set button of the page disabled
    None,           // the box only switches polling
};

struct RealtimeBox {
    int id = 0;                  // 0: named by its text
    const char* text = nullptr;  // "实时" or "自动"; nullptr: the page has no box
    RealtimeMode mode = RealtimeMode::PolledQueries;
    int column = 0;     // placed under this column's rows
    int afterRow = -1;  // or right after this row (index into the rows) of its column
};

struct PageSpec {
    std::vector<Row> rows{};
    RealtimeBox realtime{};
    const char* queryText = "查询";
    const char* setText = "设置";
    bool sensorType = false;  // has a "传感器类型" combo
    int sensorTypeId = 0;
    std::vector<const char*> columnTitles{};  // group box per column where given ("" none)
    std::vector<const char*> notes{};         // lines shown at the right
    int columnsPerLine = 0;  // columns wrap onto further lines after this many (0: never)
    bool centered = false;   // rows in the middle of the page (pages with a row or two)
    bool readOnly = false;   // the value fields only show readings
};

// Short names for the cells of page tables (`using namespace pages::cells;` in a table file).
namespace cells {
inline constexpr auto T = Encoding::Tenths;
inline constexpr auto H = Encoding::Hundredths;
inline constexpr auto U = Encoding::UInt;
inline constexpr auto UT = Encoding::UIntTrunc;
inline constexpr auto U32 = Encoding::UInt32;
inline constexpr auto F = Encoding::Float;
inline constexpr auto R = Access::Read;
inline constexpr auto RW = Access::ReadWrite;
}  // namespace cells

}  // namespace pages
