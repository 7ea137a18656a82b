// The three-channel kitchen exhaust monitor ("485油烟"); the oil fume sensor of the gas
// category ("油烟") is in gas_tables.cpp.
#include "page_tables.h"

namespace pages {

// Top: the three readings with the "实时" box beside them; then coefficients A (left) and
// B (right) per channel; at the bottom the version.
PageSpec OilFumeSpec() {
    constexpr auto H = Encoding::Hundredths;
    constexpr auto F = Encoding::Float;
    constexpr auto R = Access::Read;
    constexpr auto RW = Access::ReadWrite;
    return {
        .rows = {{QT_TRANSLATE_NOOP("pages", "油烟:"), "mg/m3", 0, 0, 0, 0x0000, H, R, kPolled, 0},
                 {QT_TRANSLATE_NOOP("pages", "非甲烷总烃:"), "mg/m3", 0, 0, 0, 0x0001, H, R,
                  kPolled, 0},
                 {QT_TRANSLATE_NOOP("pages", "颗粒物:"), "mg/m3", 0, 0, 0, 0x0002, H, R, kPolled,
                  0},
                 {QT_TRANSLATE_NOOP("pages", "油烟系数A"), "", 0, 0, 0, 0x0010, F, RW, 0, 2},
                 {QT_TRANSLATE_NOOP("pages", "非甲烷总烃系数A"), "", 0, 0, 0, 0x0014, F, RW, 0, 2},
                 {QT_TRANSLATE_NOOP("pages", "颗粒物系数A"), "", 0, 0, 0, 0x0018, F, RW, 0, 2},
                 {QT_TRANSLATE_NOOP("pages", "油烟系数B"), "", 0, 0, 0, 0x0012, F, RW, 0, 3},
                 {QT_TRANSLATE_NOOP("pages", "非甲烷总烃系数B"), "", 0, 0, 0, 0x0016, F, RW, 0, 3},
                 {QT_TRANSLATE_NOOP("pages", "颗粒物系数B"), "", 0, 0, 0, 0x001A, F, RW, 0, 3},
                 {QT_TRANSLATE_NOOP("pages", "版本号"), "", 0, 0, 0, 0x000A, Encoding::Version, R,
                  0, 4}},
        .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时"), RealtimeMode::None, 1},
        .columnsPerLine = 2};
}

}  // namespace pages
