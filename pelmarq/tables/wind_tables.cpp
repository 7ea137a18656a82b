// The wind category: the wind direction transmitter (direction code and register 1) and the
// wind speed transmitter. Read-only.
#include "page_tables.h"

namespace pages {

PageSpec WindDirectionSpec() {
    // One "查询" reads both registers: the code, then register 1.
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "寄存器0："), "", 0, 0, 0, 0x0000, Encoding::UInt,
                      Access::Read, kPolled},
                     {QT_TRANSLATE_NOOP("pages", "寄存器1："), "", 0, 0, 0, 0x0001, Encoding::UInt,
                      Access::Read, kPolled | kFollows}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

PageSpec WindSpeedSpec() {
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "风速："), "m/s", 0, 0, 0, 0x0000,
                      Encoding::Tenths, Access::Read, kPolled}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

WindDirection WindDirectionOf(std::uint16_t code) {
    static const WindDirection kDirections[] = {
        {QT_TRANSLATE_NOOP("pages", "北风"), ":/pelmarq/wind_n.png"},
        {QT_TRANSLATE_NOOP("pages", "东北风"), ":/pelmarq/wind_ne.png"},
        {QT_TRANSLATE_NOOP("pages", "东风"), ":/pelmarq/wind_e.png"},
        {QT_TRANSLATE_NOOP("pages", "东南风"), ":/pelmarq/wind_se.png"},
        {QT_TRANSLATE_NOOP("pages", "南风"), ":/pelmarq/wind_s.png"},
        {QT_TRANSLATE_NOOP("pages", "西南风"), ":/pelmarq/wind_sw.png"},
        {QT_TRANSLATE_NOOP("pages", "西风"), ":/pelmarq/wind_w.png"},
        {QT_TRANSLATE_NOOP("pages", "西北风"), ":/pelmarq/wind_nw.png"},
    };
    const unsigned low = code & 0xFFu;
    if (low < 8) return kDirections[low];
    return {QT_TRANSLATE_NOOP("pages", "非法"), ":/pelmarq/wind_n.png"};
}

}  // namespace pages
