// The temperature/humidity transmitters, the display board and the three alarm detectors.
#include "page_tables.h"

namespace pages {
namespace {

constexpr auto T = Encoding::Tenths;
constexpr auto R = Access::Read;
constexpr auto RW = Access::ReadWrite;

PageSpec StatusSpec(int edit, int query, int box, std::uint16_t reg, std::uint16_t normal,
                    std::uint16_t alarm) {
    Row status{QT_TRANSLATE_NOOP("pages", "状态"),
               "",
               edit,
               query,
               0,
               reg,
               Encoding::Status,
               Access::Read,
               kPolled};
    status.normal = normal;
    status.alarm = alarm;
    return {
        .rows = {status}, .realtime = {box, QT_TRANSLATE_NOOP("pages", "实时")}, .centered = true};
}

}  // namespace

PageSpec TemperatureSpec() {
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "温度"), QT_TRANSLATE_NOOP("pages", "℃"), 1009,
                      1010, 0, 0x0001, T, R, kPolled}},
            .realtime = {1011, QT_TRANSLATE_NOOP("pages", "实时")},
            .centered = true};
}

PageSpec TempHumiditySpec() {
    return {
        .rows = {{QT_TRANSLATE_NOOP("pages", "温度"), QT_TRANSLATE_NOOP("pages", "℃"), 1014, 1010,
                  0, 0x0001, T, R, kPolled},
                 {QT_TRANSLATE_NOOP("pages", "湿度"), "%RH", 1012, 1013, 0, 0x0000, T, R, kPolled}},
        .realtime = {1015, QT_TRANSLATE_NOOP("pages", "实时")},
        .centered = true};
}

// Upper left the live values with the real-time box, lower left the temperature limits,
// right the calibration values above the humidity limits.
PageSpec BoardSpec() {
    return {
        .rows =
            {{QT_TRANSLATE_NOOP("pages", "温度"), "", 1407, 1410, 0, 0x0001, T, R, kPolled, 0},
             {QT_TRANSLATE_NOOP("pages", "湿度"), "", 1054, 1348, 0, 0x0000, T, R, kPolled, 0},
             {QT_TRANSLATE_NOOP("pages", "温度上限"), "", 1408, 1411, 1399, 0x0030, T, RW, 0, 0},
             {QT_TRANSLATE_NOOP("pages", "温度下限"), "", 1057, 1058, 1400, 0x0031, T, RW, 0, 0},
             {QT_TRANSLATE_NOOP("pages", "温度回差"), "", 1059, 1060, 1401, 0x0032, T, RW, 0, 0},
             {QT_TRANSLATE_NOOP("pages", "温度校准值"), "", 1067, 1068, 1405, 0x0050, T, RW, 0, 1},
             {QT_TRANSLATE_NOOP("pages", "湿度校准值"), "", 1069, 1070, 1406, 0x0051, T, RW, 0, 1},
             {QT_TRANSLATE_NOOP("pages", "湿度上限"), "", 1409, 1062, 1402, 0x0035, T, RW, 0, 1},
             {QT_TRANSLATE_NOOP("pages", "湿度下限"), "", 1063, 1064, 1403, 0x0036, T, RW, 0, 1},
             {QT_TRANSLATE_NOOP("pages", "湿度回差"), "", 1065, 1066, 1404, 0x0037, T, RW, 0, 1}},
        .realtime = {1398, QT_TRANSLATE_NOOP("pages", "实时"), RealtimeMode::AllButtons, 0, 1},
        .queryText = QT_TRANSLATE_NOOP("pages", "读取")};
}

PageSpec WaterLeakSpec() {
    return StatusSpec(1028, 1029, 1030, 0x0002, 1, 2);
}

PageSpec SmokeSpec() {
    return StatusSpec(1019, 1020, 1021, 0x0003, 0, 1);
}

PageSpec IntrusionSpec() {
    return StatusSpec(1025, 1026, 1027, 0x0003, 0, 1);
}

}  // namespace pages
