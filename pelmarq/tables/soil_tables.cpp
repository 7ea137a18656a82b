// The soil category: three-in-one probe, temperature/moisture probe, moisture probe, the
// conductivity probe with coefficients and calibration, and the pH probe.
#include "page_tables.h"

namespace pages {
namespace {

using namespace cells;

// Conductivity, salinity and TDS: signed, x1, "%.1f".
Row Measured(const char* label, std::uint16_t reg) {
    Row r{label, "", 0, 0, 0, reg, Encoding::Scaled, R, kPolled};
    r.decimals = 1;
    return r;
}

}  // namespace

PageSpec SoilThreeInOneSpec() {
    return {
        .rows = {{QT_TRANSLATE_NOOP("pages", "含水率"), "%", 0, 0, 0, 0x0000, H, R, kPolled},
                 {QT_TRANSLATE_NOOP("pages", "温度值"), QT_TRANSLATE_NOOP("pages", "℃"), 0, 0, 0,
                  0x0001, H, R, kPolled},
                 {QT_TRANSLATE_NOOP("pages", "电导率"), "us/cm", 0, 0, 0, 0x0002, U, R, kPolled}},
        .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")},
        .notes = {
            QT_TRANSLATE_NOOP("pages",
                              "说明：\n                 此页面主要针对TORVEX-B(默认)如果产品为A款，"
                              "含水率与温度值读数相反，其他无影响。")}};
}

PageSpec SoilTempMoistureSpec() {
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "含水率"), "%", 0, 0, 0, 0x0000, T, R, kPolled},
                     {QT_TRANSLATE_NOOP("pages", "温度值"), QT_TRANSLATE_NOOP("pages", "℃"), 0, 0,
                      0, 0x0001, T, R, kPolled}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

// The moisture is register 1 on this probe.
PageSpec SoilMoistureSpec() {
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "含水率"), "%", 0, 0, 0, 0x0001, H, R, kPolled}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

// Left the measured values and the "自动" box; right the coefficients and calibration values,
// the standard value set apart below them (its buttons stay usable while "自动" is on).
PageSpec SoilConductivitySpec() {
    return {
        .rows = {{QT_TRANSLATE_NOOP("pages", "含水率:"), "", 0, 0, 0, 0x0000, T, R, kPolled},
                 {QT_TRANSLATE_NOOP("pages", "温度值:"), "", 0, 0, 0, 0x0001, T, R, kPolled},
                 Measured(QT_TRANSLATE_NOOP("pages", "电导率:"), 0x0002),
                 Measured(QT_TRANSLATE_NOOP("pages", "盐度:"), 0x0003),
                 Measured("TDS:", 0x0004),
                 {QT_TRANSLATE_NOOP("pages", "电导温度系数:"), "", 0, 0, 0, 0x0022, U, RW, 0, 1},
                 {QT_TRANSLATE_NOOP("pages", "盐度系数:"), "", 0, 0, 0, 0x0023, U, RW, 0, 1},
                 {QT_TRANSLATE_NOOP("pages", "TDS系数:"), "", 0, 0, 0, 0x0024, U, RW, 0, 1},
                 {QT_TRANSLATE_NOOP("pages", "温度校准值:"), "", 0, 0, 0, 0x0050, T, RW, 0, 1},
                 {QT_TRANSLATE_NOOP("pages", "含水率校准值:"), "", 0, 0, 0, 0x0051, T, RW, 0, 1},
                 {QT_TRANSLATE_NOOP("pages", "电导率校准值:"), "", 0, 0, 0, 0x0052, UT, RW, 0, 1},
                 {QT_TRANSLATE_NOOP("pages", "标准数值:"), "", 0, 0, 0, 0x03EB, U, RW, kKeepEnabled,
                  2}},
        .realtime = {0, QT_TRANSLATE_NOOP("pages", "自动"), RealtimeMode::AllButtons, 0},
        .queryText = QT_TRANSLATE_NOOP("pages", "读取")};
}

PageSpec SoilPhSpec() {
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "PH值:"), "", 0, 0, 0, 0x0000, T, R, kPolled}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "自动")},
            .queryText = QT_TRANSLATE_NOOP("pages", "读取")};
}

}  // namespace pages
