// The weather category: noise, pressure, rain gauge, the two louver boxes, solar radiation,
// ultraviolet, rain/snow, air quality and the evaporation pan (the dust tester is in
// dust_current_tables.cpp).
#include "number_text.h"
#include "page_tables.h"

namespace pages {
namespace {

using namespace cells;
constexpr auto P = kPolled;

PageSpec OneValue(Row row) {
    return {.rows = {row}, .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

// The louver boxes share one register layout from 500 up; the PM box adds PM10. Both have
// the PM display position that nothing shows; on the CO2 box its buttons do nothing.
// Temperature comes first, as the poll reads it.
PageSpec LouverSpec(bool pm) {
    std::vector<Row> rows = {{QT_TRANSLATE_NOOP("pages", "温度值"), QT_TRANSLATE_NOOP("pages", "℃"),
                              0, 0, 0, 501, T, R, P},
                             {QT_TRANSLATE_NOOP("pages", "湿度值"), "%RH", 0, 0, 0, 500, T, R, P},
                             {QT_TRANSLATE_NOOP("pages", "噪声值"), "db", 0, 0, 0, 502, T, R, P}};
    if (pm) {
        rows.push_back({"PM2.5", "ug/m3", 0, 0, 0, 503, U, R, P});
        rows.push_back({"PM10", "ug/m3", 0, 0, 0, 504, U, R, P});
    } else {
        rows.push_back({"CO2", "ppm", 0, 0, 0, 503, U, R, P});
    }
    rows.push_back({QT_TRANSLATE_NOOP("pages", "大气压"), "Kpa", 0, 0, 0, 505, T, R, P});
    rows.push_back({QT_TRANSLATE_NOOP("pages", "光照度"), "Lux", 0, 0, 0, 506, U32, R, P});
    rows.push_back(
        {QT_TRANSLATE_NOOP("pages", "设备虚拟多地址使能"), "", 0, 0, 0, 96, U, RW, 0, 1});
    rows.push_back({QT_TRANSLATE_NOOP("pages", "PM2.5与PM10显示位置"), "", 0, 0, 0, 2100, U, RW,
                    pm ? kHidden : kHidden | kInert, 1});
    return {.rows = std::move(rows), .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

// 1 / (100 pi) in single precision (0x3B509B88), as the device's makers give it.
constexpr float kCmPerGram = 0.0031830985f;

}  // namespace

PageSpec NoiseSpec() {
    return OneValue({QT_TRANSLATE_NOOP("pages", "当前噪声"), "dB", 0, 0, 0, 0x0000, T, R, P});
}

PageSpec PressureSpec() {
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "温度"), QT_TRANSLATE_NOOP("pages", "℃"), 0, 0, 0,
                      0x0001, T, R, P},
                     {QT_TRANSLATE_NOOP("pages", "气压"), "Kpa", 0, 0, 0, 0x0000, T, R, P}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

PageSpec RainGaugeSpec() {
    return OneValue({QT_TRANSLATE_NOOP("pages", "雨量值"), "mm", 0, 0, 0, 0x0000, T, R, P});
}

PageSpec LouverCo2Spec() {
    return LouverSpec(false);
}

PageSpec LouverPmSpec() {
    return LouverSpec(true);
}

PageSpec RadiationSpec() {
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "辐射值"), "W/m2", 0, 0, 0, 0x0000, U, R, P},
                     {QT_TRANSLATE_NOOP("pages", "偏差值"), "W/m2", 0, 0, 0, 0x0052, U, RW}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

// Temperature and humidity rows take part only while the type includes them.
PageSpec UvSpec() {
    constexpr unsigned TH = kTempHumidity;
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "温度"), QT_TRANSLATE_NOOP("pages", "℃"), 0, 0, 0,
                      0x0001, T, R, P | TH},
                     {QT_TRANSLATE_NOOP("pages", "湿度"), "%RH", 0, 0, 0, 0x0000, T, R, P | TH},
                     {QT_TRANSLATE_NOOP("pages", "紫外线强度"), "mW/cm2", 0, 0, 0, 0x0002, H, R, P},
                     {QT_TRANSLATE_NOOP("pages", "紫外线指数"), "", 0, 0, 0, 0x0003, U, R, P},
                     {QT_TRANSLATE_NOOP("pages", "湿度偏差"), "%RH", 0, 0, 0, 0x0050, T, RW, TH, 1},
                     {QT_TRANSLATE_NOOP("pages", "温度偏差"), QT_TRANSLATE_NOOP("pages", "℃"), 0, 0,
                      0, 0x0051, T, RW, TH, 1}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")},
            .sensorType = true};
}

SensorTypes UvTypes() {
    return {{QT_TRANSLATE_NOOP("pages", "单紫外线强度"),
             QT_TRANSLATE_NOOP("pages", "紫外线温湿度一体")},
            1};
}

PageSpec RainSnowSpec() {
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "雨雪状态"), "", 0, 0, 0, 0x0000, Encoding::Status,
                      R, P},
                     {QT_TRANSLATE_NOOP("pages", "当前报警复归延时"), "S", 0, 0, 0, 0x0033, U, RW},
                     {QT_TRANSLATE_NOOP("pages", "灵敏度"), "", 0, 0, 0, 0x0034, U, RW}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

PageSpec AirQualitySpec() {
    return {.rows = {{"PM2.5", "ug/m3", 0, 0, 0, 0x0000, U, R, P},
                     {"PM10", "ug/m3", 0, 0, 0, 0x0001, U, R, P}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

// The weight is signed: after "清零操作" the pan reads relative to that moment, and water
// that evaporates takes it below zero. Query and poll read it alike.
PageSpec EvaporationSpec() {
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "重量"), "g", 0, 0, 0, 0x0000, Encoding::Whole,
                      Access::Read, kPolled},
                     {QT_TRANSLATE_NOOP("pages", "当前水面高度"), "cm", 0, 0, 0, 0x0000,
                      Encoding::Whole, Access::Show},
                     {QT_TRANSLATE_NOOP("pages", "清零操作"), "", 0, 0, 0, 0x0050, Encoding::UInt,
                      Access::Write, kNoEdit}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时"), RealtimeMode::AllButtons}};
}

std::string EvaporationHeight(std::int16_t grams) {
    return protocol::FormatFixed(grams * static_cast<double>(kCmPerGram), 2);
}

}  // namespace pages
