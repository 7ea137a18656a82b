// The wind category: the wind direction transmitter (direction code and register 1) and the
// wind speed transmitter. Read-only.
#include "page_tables.h"

namespace pages {

PageSpec WindDirectionSpec() {
    // One "查询" reads both registers, each by a request of its own: the code, then
    // register 1.
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "寄存器0："), "", 0, 0, 0, 0x0000, Encoding::UInt,
                      Access::Read, kPolled},
                     {QT_TRANSLATE_NOOP("pages", "寄存器1："), "", 0, 0, 0, 0x0001, Encoding::UInt,
                      Access::Read, kPolled | kFollows}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")},
            .readOnly = true};
}

PageSpec WindSpeedSpec() {
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "风速："), "m/s", 0, 0, 0, 0x0000,
                      Encoding::Tenths, Access::Read, kPolled}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")},
            .readOnly = true};
}

WindDirection WindDirectionOf(std::uint16_t code) {
    static const WindDirection kDirections[] = {
        {QT_TRANSLATE_NOOP("pages", "北风"), 0},   {QT_TRANSLATE_NOOP("pages", "东北风"), 45},
        {QT_TRANSLATE_NOOP("pages", "东风"), 90},  {QT_TRANSLATE_NOOP("pages", "东南风"), 135},
        {QT_TRANSLATE_NOOP("pages", "南风"), 180}, {QT_TRANSLATE_NOOP("pages", "西南风"), 225},
        {QT_TRANSLATE_NOOP("pages", "西风"), 270}, {QT_TRANSLATE_NOOP("pages", "西北风"), 315},
    };
    const unsigned low = code & 0xFFu;
    if (low < 8) return kDirections[low];
    return {QT_TRANSLATE_NOOP("pages", "非法"), 0};
}

}  // namespace pages
