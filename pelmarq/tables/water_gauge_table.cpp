// The electronic water gauge: level, temperature and leak state, the running scheme, limits
// and relay links as lists and numbers, and the analog output group nobody sees.
#include "page_tables.h"

namespace pages {
namespace {

using namespace cells;

Row Combo(const char* label, std::uint16_t reg, std::vector<const char*> items, int column,
          int base = 0, unsigned flags = 0) {
    Row r{label, "", 0, 0, 0, reg, Encoding::Choice, RW, flags, column};
    r.items = std::move(items);
    r.itemBase = base;
    return r;
}

const std::vector<const char*> kRelayLink = {QT_TRANSLATE_NOOP("pages", "不关联继电器"),
                                             QT_TRANSLATE_NOOP("pages", "关联继电器")};

}  // namespace

// Left: the scheme, the measured values with the "实时" box, the limits and the hidden
// analog output group; right: gauge length, calibration and the relay.
//
// The hysteresis is shown like the limits beside it, unsigned (0..65535): a -1 typed into
// either is written as 0xFFFF and reads back the same way in both.
PageSpec WaterGaugeSpec() {
    Row leak{
        QT_TRANSLATE_NOOP("pages", "水浸状态"), "", 0, 0, 0, 0x0002, Encoding::Status, R, kPolled};
    leak.items = {QT_TRANSLATE_NOOP("pages", "无水"), QT_TRANSLATE_NOOP("pages", "有水")};
    Row tilt{QT_TRANSLATE_NOOP("pages", "倾斜角度"),
             QT_TRANSLATE_NOOP("pages", "°"),
             0,
             0,
             0,
             0x006A,
             Encoding::Float,
             RW,
             0,
             1};
    tilt.decimals = 2;
    return {
        .rows = {Combo(QT_TRANSLATE_NOOP("pages", "主机运行方案"), 0x0064,
                       {QT_TRANSLATE_NOOP("pages", "空高测量"),
                        QT_TRANSLATE_NOOP("pages", "水深测量"),
                        QT_TRANSLATE_NOOP("pages", "倾斜测量")},
                       0),
                 leak,
                 {QT_TRANSLATE_NOOP("pages", "水位值"), "cm", 0, 0, 0, 0x0000, UT, R, kPolled},
                 {QT_TRANSLATE_NOOP("pages", "水温"), QT_TRANSLATE_NOOP("pages", "℃"), 0, 0, 0,
                  0x0001, Encoding::Tenths, R, kPolled},
                 {QT_TRANSLATE_NOOP("pages", "水位上限"), "cm", 0, 0, 0, 0x0065, UT, RW},
                 {QT_TRANSLATE_NOOP("pages", "水位下限"), "cm", 0, 0, 0, 0x0066, UT, RW},
                 {QT_TRANSLATE_NOOP("pages", "控制回差"), "cm", 0, 0, 0, 0x0067, UT, RW},
                 Combo(QT_TRANSLATE_NOOP("pages", "模拟量类型"), 0x0075,
                       {"4-20mA", "0-5V", "0-10V"}, 0, 1, kHidden),
                 {QT_TRANSLATE_NOOP("pages", "量程上限"), "cm", 0, 0, 0, 0x0070, UT, RW, kHidden},
                 {QT_TRANSLATE_NOOP("pages", "量程下限"), "cm", 0, 0, 0, 0x006F, UT, RW, kHidden},
                 {QT_TRANSLATE_NOOP("pages", "水尺长度"), "cm", 0, 0, 0, 0x0068, UT, RW, 0, 1},
                 {QT_TRANSLATE_NOOP("pages", "基准值"), "cm", 0, 0, 0, 0x0069, UT, RW, 0, 1},
                 tilt,
                 {QT_TRANSLATE_NOOP("pages", "采集灵敏度"), "", 0, 0, 0, 0x006E, UT, RW, 0, 1},
                 Combo(QT_TRANSLATE_NOOP("pages", "继电器状态"), 0x0003,
                       {QT_TRANSLATE_NOOP("pages", "断开"), QT_TRANSLATE_NOOP("pages", "闭合")}, 1),
                 Combo(QT_TRANSLATE_NOOP("pages", "上限关联继电器"), 0x006C, kRelayLink, 1),
                 Combo(QT_TRANSLATE_NOOP("pages", "下限关联继电器"), 0x006D, kRelayLink, 1)},
        .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时"), RealtimeMode::AllButtons, 0,
                     kGaugeTemperature}};
}

}  // namespace pages
