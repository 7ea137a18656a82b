#include "weather_pages.h"

#include <QCoreApplication>

namespace pages {
namespace {

using namespace cells;
constexpr auto P = kPolled;

PageSpec OneValue(Row row) {
    return {.rows = {row}, .realtime = {0, "实时"}};
}

// The louver boxes share one register layout from 500 up; the PM box adds PM10. Both have
// the PM display position that nothing shows; on the CO2 box its buttons do nothing.
// Temperature comes first, as the poll reads it.
PageSpec LouverSpec(bool pm) {
    std::vector<Row> rows = {{"温度值", "℃", 0, 0, 0, 501, T, R, P},
                             {"湿度值", "%RH", 0, 0, 0, 500, T, R, P},
                             {"噪声值", "db", 0, 0, 0, 502, T, R, P}};
    if (pm) {
        rows.push_back({"PM2.5", "ug/m3", 0, 0, 0, 503, U, R, P});
        rows.push_back({"PM10", "ug/m3", 0, 0, 0, 504, U, R, P});
    } else {
        rows.push_back({"CO2", "ppm", 0, 0, 0, 503, U, R, P});
    }
    rows.push_back({"大气压", "Kpa", 0, 0, 0, 505, T, R, P});
    rows.push_back({"光照度", "Lux", 0, 0, 0, 506, U32, R, P});
    rows.push_back({"设备虚拟多地址使能", "", 0, 0, 0, 96, U, RW, 0, 1});
    rows.push_back(
        {"PM2.5与PM10显示位置", "", 0, 0, 0, 2100, U, RW, pm ? kHidden : kHidden | kInert, 1});
    return {.rows = std::move(rows), .realtime = {0, "实时"}};
}

}  // namespace

PageSpec NoiseSpec() {
    return OneValue({"当前噪声", "dB", 0, 0, 0, 0x0000, T, R, P});
}

PageSpec PressureSpec() {
    return {.rows = {{"温度", "℃", 0, 0, 0, 0x0001, T, R, P},
                     {"气压", "Kpa", 0, 0, 0, 0x0000, T, R, P}},
            .realtime = {0, "实时"}};
}

PageSpec RainGaugeSpec() {
    return OneValue({"雨量值", "mm", 0, 0, 0, 0x0000, T, R, P});
}

PageSpec LouverCo2Spec() {
    return LouverSpec(false);
}

PageSpec LouverPmSpec() {
    return LouverSpec(true);
}

PageSpec RadiationSpec() {
    return {.rows = {{"辐射值", "W/m2", 0, 0, 0, 0x0000, U, R, P},
                     {"偏差值", "W/m2", 0, 0, 0, 0x0052, U, RW}},
            .realtime = {0, "实时"}};
}

// Temperature and humidity rows take part only while the type includes them.
PageSpec UvSpec() {
    constexpr unsigned TH = kTempHumidity;
    return {.rows = {{"温度", "℃", 0, 0, 0, 0x0001, T, R, P | TH},
                     {"湿度", "%RH", 0, 0, 0, 0x0000, T, R, P | TH},
                     {"紫外线强度", "mW/cm2", 0, 0, 0, 0x0002, H, R, P},
                     {"紫外线指数", "", 0, 0, 0, 0x0003, U, R, P},
                     {"湿度偏差", "%RH", 0, 0, 0, 0x0050, T, RW, TH, 1},
                     {"温度偏差", "℃", 0, 0, 0, 0x0051, T, RW, TH, 1}},
            .realtime = {0, "实时"},
            .sensorType = true};
}

PageSpec RainSnowSpec() {
    return {.rows = {{"雨雪状态", "", 0, 0, 0, 0x0000, Encoding::Status, R, P},
                     {"当前报警复归延时", "S", 0, 0, 0, 0x0033, U, RW},
                     {"灵敏度", "", 0, 0, 0, 0x0034, U, RW}},
            .realtime = {0, "实时"}};
}

PageSpec AirQualitySpec() {
    return {.rows = {{"PM2.5", "ug/m3", 0, 0, 0, 0x0000, U, R, P},
                     {"PM10", "ug/m3", 0, 0, 0, 0x0001, U, R, P}},
            .realtime = {0, "实时"}};
}

QWidget* MakeUvPage(transport::SerialLink& link, QWidget* parent) {
    auto* page = new DevicePage(link, UvSpec(), parent);
    page->SetSensorTypes({QCoreApplication::translate("pages", "单紫外线强度"),
                          QCoreApplication::translate("pages", "紫外线温湿度一体")},
                         1);
    return page;
}

}  // namespace pages
