// The dust tester and the current collector.
#include "page_tables.h"

namespace pages {
namespace {

using namespace cells;

}  // namespace

// A button query that fails keeps the measured value's text (its box says so); a poll
// that fails empties it, like every poll.
PageSpec DustSpec() {
    constexpr auto I = Encoding::Int;
    return {.rows = {{"TSP", "ug/m3", 0, 0, 0, 0x0000, I, R, kPolled, 0},
                     {"PM2.5", "ug/m3", 0, 0, 0, 0x0001, I, R, kPolled, 0},
                     {"PM10", "ug/m3", 0, 0, 0, 0x0002, I, R, kPolled, 0},
                     {QT_TRANSLATE_NOOP("pages", "TSP系数A"), "", 0, 0, 0, 0x0060, F, RW, 0, 1},
                     {QT_TRANSLATE_NOOP("pages", "PM2.5系数A"), "", 0, 0, 0, 0x0070, F, RW, 0, 1},
                     {QT_TRANSLATE_NOOP("pages", "PM10系数A"), "", 0, 0, 0, 0x0080, F, RW, 0, 1},
                     {QT_TRANSLATE_NOOP("pages", "TSP系数B"), "", 0, 0, 0, 0x0062, F, RW, 0, 2},
                     {QT_TRANSLATE_NOOP("pages", "PM2.5系数B"), "", 0, 0, 0, 0x0072, F, RW, 0, 2},
                     {QT_TRANSLATE_NOOP("pages", "PM10系数B"), "", 0, 0, 0, 0x0082, F, RW, 0, 2}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "自动"), RealtimeMode::AllButtons, 0},
            .queryText = QT_TRANSLATE_NOOP("pages", "读取"),
            // Coefficients B under A: three columns side by side are wider than a 1024-pixel
            // screen.
            .columnsPerLine = 2};
}

// The states are shown as the raw numbers the collector reports. The "实时" box only
// switches polling: it asks for no port and disables nothing.
PageSpec CurrentCollectorSpec() {
    return {
        .rows = {{QT_TRANSLATE_NOOP("pages", "风机状态:"), "", 0, 0, 0, 0x0000, U, R, kPolled},
                 {QT_TRANSLATE_NOOP("pages", "净化器状态:"), "", 0, 0, 0, 0x0001, U, R, kPolled},
                 {QT_TRANSLATE_NOOP("pages", "风机电流值:"), "A", 0, 0, 0, 0x0002, H, R, kPolled},
                 {QT_TRANSLATE_NOOP("pages", "净化器电流值:"), "A", 0, 0, 0, 0x0003, H, R, kPolled},
                 {QT_TRANSLATE_NOOP("pages", "风机电流校准值:"), "A", 0, 0, 0, 0x0055, H, RW},
                 {QT_TRANSLATE_NOOP("pages", "净化器电流校准值:"), "A", 0, 0, 0, 0x0056, H, RW},
                 {QT_TRANSLATE_NOOP("pages", "风机电流门槛值:"), "A", 0, 0, 0, 0x005B, H, RW},
                 {QT_TRANSLATE_NOOP("pages", "净化器电流门槛值:"), "A", 0, 0, 0, 0x005C, H, RW}},
        .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时"), RealtimeMode::None, 0, 3},
        .queryText = QT_TRANSLATE_NOOP("pages", "读取")};
}

}  // namespace pages
