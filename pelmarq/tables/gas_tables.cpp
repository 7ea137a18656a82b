// The gas transmitters of the gas category: CO2, CO, TVOC, SO2, NO2, O2, H2S, NH3 and O3.
// One family with one register layout: humidity in register 0, temperature in 1, the gas in
// 2, limits and calibrations from register 48 on. All but TVOC have a sensor type whose
// gas-only items ("单...") leave out the temperature and humidity rows.
#include "page_tables.h"

namespace pages {
namespace {

constexpr auto T = Encoding::Tenths;
constexpr auto U = Encoding::UInt;
constexpr auto R = Access::Read;
constexpr auto RW = Access::ReadWrite;
constexpr unsigned TH = kTempHumidity;
constexpr unsigned LiveTH = kPolled | kTempHumidity;

struct LiveIds {
    int combo = 0, realtime = 0;
    int temperature = 0, temperatureQuery = 0;
    int humidity = 0, humidityQuery = 0;
    int gas = 0, gasQuery = 0;
};

// Temperature, humidity and the gas, polled in that order, the "实时" box below them.
PageSpec LiveSpec(const LiveIds& id, Row gas) {
    gas.edit = id.gas;
    gas.query = id.gasQuery;
    gas.reg = 0x0002;
    gas.flags = kPolled;
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "温度"), QT_TRANSLATE_NOOP("pages", "℃"),
                      id.temperature, id.temperatureQuery, 0, 0x0001, T, R, LiveTH},
                     {QT_TRANSLATE_NOOP("pages", "湿度"), "%RH", id.humidity, id.humidityQuery, 0,
                      0x0000, T, R, LiveTH},
                     gas},
            .realtime = {id.realtime, QT_TRANSLATE_NOOP("pages", "实时")},
            .sensorType = true,
            .sensorTypeId = id.combo};
}

// The gas transmitters with limits: their limit block differs from the CO2 transmitter's:
// calibrations at 50 and 53, the gas limits and calibration at 54 to 56, in the gas value's
// own encoding.
struct LimitPageIds {
    int combo = 0;
    int live[6] = {};    // temperature, humidity and gas: edit and query each
    int limits[9] = {};  // edits of registers 48..56
    int firstQuery = 0;  // query of register 48; each set follows its query, the next query
                         // follows that set
};

constexpr LimitPageIds kO2Ids = {.combo = 1132,
                                 .live = {1133, 1145, 1134, 1146, 1135, 1147},
                                 .limits = {1136, 1137, 1138, 1139, 1140, 1141, 1142, 1143, 1144},
                                 .firstQuery = 1148};
constexpr LimitPageIds kH2sIds = {.combo = 1166,
                                  .live = {1167, 1179, 1168, 1180, 1169, 1181},
                                  .limits = {1170, 1171, 1172, 1173, 1174, 1175, 1176, 1177, 1178},
                                  .firstQuery = 1182};
constexpr LimitPageIds kNh3Ids = {.combo = 1131,
                                  .live = {1087, 1107, 1088, 1108, 1089, 1109},
                                  .limits = {1090, 1091, 1092, 1093, 1094, 1103, 1104, 1105, 1106},
                                  .firstQuery = 1110};
constexpr LimitPageIds kO3Ids = {.combo = 1200,
                                 .live = {1201, 1213, 1202, 1214, 1203, 1215},
                                 .limits = {1204, 1205, 1206, 1207, 1208, 1209, 1210, 1211, 1212},
                                 .firstQuery = 1216};

// Left: the live values, the "实时" box, the temperature limits; right: the humidity limits
// and the gas limits.
PageSpec LimitSpec(const LimitPageIds& id, const char* gas, const char* unit, Encoding encoding,
                   const char* const (&gasLimits)[3], unsigned gasFlags) {
    const char* labels[9] = {QT_TRANSLATE_NOOP("pages", "温度上限"),
                             QT_TRANSLATE_NOOP("pages", "温度下限"),
                             QT_TRANSLATE_NOOP("pages", "温度校准"),
                             QT_TRANSLATE_NOOP("pages", "湿度上限"),
                             QT_TRANSLATE_NOOP("pages", "湿度下限"),
                             QT_TRANSLATE_NOOP("pages", "湿度校准"),
                             gasLimits[0],
                             gasLimits[1],
                             gasLimits[2]};
    PageSpec spec{
        .rows = {{QT_TRANSLATE_NOOP("pages", "温度"), QT_TRANSLATE_NOOP("pages", "℃"), id.live[0],
                  id.live[1], 0, 0x0001, T, R, kPolled | TH, 0},
                 {QT_TRANSLATE_NOOP("pages", "湿度"), "%RH", id.live[2], id.live[3], 0, 0x0000, T,
                  R, kPolled | TH, 0},
                 {gas, unit, id.live[4], id.live[5], 0, 0x0002, encoding, R, kPolled | gasFlags}},
        .realtime = {.id = 1015,
                     .text = QT_TRANSLATE_NOOP("pages", "实时"),
                     .column = 0,
                     .afterRow = 2},
        .sensorType = true,
        .sensorTypeId = id.combo,
    };
    for (int i = 0; i < 9; ++i) {
        const bool isGas = i >= 6;
        const int query = id.firstQuery + 2 * i;
        spec.rows.push_back({labels[i],
                             isGas ? unit : (i < 3 ? QT_TRANSLATE_NOOP("pages", "℃") : "%RH"),
                             id.limits[i], query, query + 1, static_cast<std::uint16_t>(0x0030 + i),
                             isGas ? encoding : T, RW, isGas ? gasFlags : TH, i < 3 ? 0 : 1});
    }
    return spec;
}

}  // namespace

// The CO2 transmitter: live values, temperature, humidity and CO2 limits and calibrations,
// and rows the device has but the page never shows (hysteresis, the "RegEn" switches and
// the status word), all wired like the visible ones.
PageSpec Co2Spec() {
    return {
        .rows =
            {
                {QT_TRANSLATE_NOOP("pages", "温度"), QT_TRANSLATE_NOOP("pages", "℃"), 1049, 1051, 0,
                 0x0001, T, R, kPolled | TH, 0},
                {QT_TRANSLATE_NOOP("pages", "湿度"), "%RH", 1050, 1052, 0, 0x0000, T, R,
                 kPolled | TH, 0},
                {"CO2", "ppm", 1053, 1054, 0, 0x0002, U, R, kPolled, 0},
                {QT_TRANSLATE_NOOP("pages", "温度上限"), QT_TRANSLATE_NOOP("pages", "℃"), 1055,
                 1056, 1061, 0x0030, T, RW, TH, 0},
                {QT_TRANSLATE_NOOP("pages", "温度下限"), QT_TRANSLATE_NOOP("pages", "℃"), 1057,
                 1058, 1062, 0x0031, T, RW, TH, 0},
                {QT_TRANSLATE_NOOP("pages", "温度校准"), QT_TRANSLATE_NOOP("pages", "℃"), 1094,
                 1095, 1096, 0x0033, T, RW, TH, 0},
                {QT_TRANSLATE_NOOP("pages", "湿度上限"), "%RH", 1064, 1065, 1070, 0x0035, T, RW, TH,
                 1},
                {QT_TRANSLATE_NOOP("pages", "湿度下限"), "%RH", 1066, 1067, 1071, 0x0036, T, RW, TH,
                 1},
                {QT_TRANSLATE_NOOP("pages", "湿度校准"), "%RH", 1097, 1098, 1099, 0x0038, T, RW, TH,
                 1},
                {QT_TRANSLATE_NOOP("pages", "CO2上限"), "ppm", 1073, 1074, 1079, 0x003A, U, RW, 0,
                 1},
                // A failed read of the lower limit leaves the field empty without a box.
                {QT_TRANSLATE_NOOP("pages", "CO2下限"), "ppm", 1075, 1076, 1080, 0x003B, U, RW,
                 kQuietQuery, 1},
                {QT_TRANSLATE_NOOP("pages", "CO2校准"), "ppm", 1100, 1101, 1102, 0x003D,
                 Encoding::Whole, RW, 0, 1},
                {QT_TRANSLATE_NOOP("pages", "温度回差"), QT_TRANSLATE_NOOP("pages", "℃"), 1059,
                 1060, 1063, 0x0032, T, RW, TH | kHidden, 1},
                {"TRegEn", "", 1085, 1086, 1087, 0x0034, Encoding::Bool01, RW, TH | kHidden, 1},
                {QT_TRANSLATE_NOOP("pages", "湿度回差"), "%RH", 1068, 1069, 1072, 0x0037, T, RW,
                 TH | kHidden, 1},
                // Enabled or not, kept in tenths like the humidity values: 1 is written as 10.
                {"HRegEn", "", 1091, 1092, 1093, 0x0039, T, RW, TH | kHidden | kOnly01, 1},
                {QT_TRANSLATE_NOOP("pages", "CO2回差"), "ppm", 1077, 1078, 1081, 0x003C, U, RW,
                 kHidden, 1},
                {"CO2Regen", "", 1082, 1083, 1084, 0x003E, Encoding::Bool01, RW, kHidden, 1},
                {"RegStatus", "", 1088, 1089, 1090, 0x0040, U, RW, kHidden, 1},
            },
        .realtime = {.id = 1015,
                     .text = QT_TRANSLATE_NOOP("pages", "实时"),
                     .column = 0,
                     .afterRow = 2},
        .sensorType = true,
        .sensorTypeId = 1237,
    };
}

PageSpec CoSpec() {
    return LiveSpec({1236, 1069, 1068, 1065, 1054, 1066, 1055, 1067},
                    {"CO", "ppm", 0, 0, 0, 0, Encoding::Tenths});
}

PageSpec So2Spec() {
    return LiveSpec({1235, 1079, 1073, 1076, 1074, 1077, 1075, 1078},
                    {"SO2", "ppm", 0, 0, 0, 0, Encoding::Hundredths});
}

PageSpec No2Spec() {
    PageSpec spec = LiveSpec({1234, 1086, 1080, 1083, 1081, 1084, 1082, 1085},
                             {"NO2", "ppm", 0, 0, 0, 0, Encoding::Hundredths});
    // The same register read once more, converted to mg/m3 (x 0.0205), by the NO2 query
    // and by the poll.
    Row mg{"", "mg/m3", 1087, 0, 0, 0x0002, Encoding::Scaled, R, kPolled | kFollows};
    mg.factor = 0.0205;
    mg.decimals = 2;
    spec.rows.push_back(mg);
    return spec;
}

PageSpec TvocSpec() {
    return {.rows = {{"TOVC", "ppb", 1071, 1070, 0, 0x0000, Encoding::UInt, R, kPolled}},
            .realtime = {1072, QT_TRANSLATE_NOOP("pages", "实时")}};
}

PageSpec O2Spec() {
    return LimitSpec(kO2Ids, "O2", "%vol", T,
                     {QT_TRANSLATE_NOOP("pages", "O2 上限"), QT_TRANSLATE_NOOP("pages", "O2 下限"),
                      QT_TRANSLATE_NOOP("pages", "O2 校准")},
                     0);
}

PageSpec H2sSpec() {
    return LimitSpec(
        kH2sIds, "H2S", "ppm", Encoding::UInt,
        {QT_TRANSLATE_NOOP("pages", "H2S 上限"), QT_TRANSLATE_NOOP("pages", "H2S 下限"),
         QT_TRANSLATE_NOOP("pages", "H2S 校准")},
        0);
}

PageSpec Nh3Spec() {
    return LimitSpec(kNh3Ids, "NH3", "ppm", Encoding::Hundredths,
                     {QT_TRANSLATE_NOOP("pages", "NH3上限"), QT_TRANSLATE_NOOP("pages", "NH3下限"),
                      QT_TRANSLATE_NOOP("pages", "NH3校准")},
                     kRanged);
}

PageSpec O3Spec() {
    return LimitSpec(
        kO3Ids, QT_TRANSLATE_NOOP("pages", "臭氧"), "ppm", Encoding::Hundredths,
        {QT_TRANSLATE_NOOP("pages", "臭氧上限"), QT_TRANSLATE_NOOP("pages", "臭氧下限"),
         QT_TRANSLATE_NOOP("pages", "臭氧校准")},
        kRanged);
}

PageSpec OilFumeSensorSpec() {
    constexpr auto H = Encoding::Hundredths;
    return {.rows = {{QT_TRANSLATE_NOOP("pages", "油烟值"), "mg/m3", 0, 0, 0, 0x0000, H,
                      Access::Read, kPolled},
                     {QT_TRANSLATE_NOOP("pages", "校准值"), "mg/m3", 0, 0, 0, 0x0050, H,
                      Access::ReadWrite},
                     {QT_TRANSLATE_NOOP("pages", "系数值"), "", 0, 0, 0, 0x0200, Encoding::Float,
                      Access::ReadWrite},
                     {QT_TRANSLATE_NOOP("pages", "版本号"), "", 0, 0, 0, 0x0007, Encoding::UInt,
                      Access::Read, kHidden}},
            .realtime = {0, QT_TRANSLATE_NOOP("pages", "实时")}};
}

SensorTypes Co2Types() {
    return {{QT_TRANSLATE_NOOP("pages", "单二氧化碳浓度"),
             QT_TRANSLATE_NOOP("pages", "二氧化碳温湿度一体")},
            1};
}
SensorTypes CoTypes() {
    return {{QT_TRANSLATE_NOOP("pages", "单一氧化碳浓度"),
             QT_TRANSLATE_NOOP("pages", "一氧化碳温湿度一体")},
            1};
}
SensorTypes So2Types() {
    return {{QT_TRANSLATE_NOOP("pages", "单二氧化硫浓度"),
             QT_TRANSLATE_NOOP("pages", "二氧化硫温湿度一体")},
            1};
}
SensorTypes No2Types() {
    return {{QT_TRANSLATE_NOOP("pages", "单二氧化氮浓度"),
             QT_TRANSLATE_NOOP("pages", "二氧化氮温湿度一体")},
            1};
}
SensorTypes O2Types() {
    return {{QT_TRANSLATE_NOOP("pages", "单氧气0-25%vol"),
             QT_TRANSLATE_NOOP("pages", "氧气温湿度一体0-25%vol")},
            1};
}
SensorTypes H2sTypes() {
    return {{QT_TRANSLATE_NOOP("pages", "单硫化氢设备"),
             QT_TRANSLATE_NOOP("pages", "硫化氢温湿度一体")},
            1};
}
SensorTypes Nh3Types() {
    return {{QT_TRANSLATE_NOOP("pages", "单氨气 0-50ppm"),
             QT_TRANSLATE_NOOP("pages", "单氨气 0-100ppm"),
             QT_TRANSLATE_NOOP("pages", "单氨气 0-500ppm"),
             QT_TRANSLATE_NOOP("pages", "氨气温湿度 0-50ppm"),
             QT_TRANSLATE_NOOP("pages", "氨气温湿度 0-100ppm"),
             QT_TRANSLATE_NOOP("pages", "氨气温湿度 0-500ppm")},
            3};
}
SensorTypes O3Types() {
    return {{QT_TRANSLATE_NOOP("pages", "单臭氧设备0-10ppm"),
             QT_TRANSLATE_NOOP("pages", "单臭氧设备0-100ppm"),
             QT_TRANSLATE_NOOP("pages", "臭氧温湿度一体0-10ppm"),
             QT_TRANSLATE_NOOP("pages", "臭氧温湿度一体0-100ppm")},
            2};
}

RangedEncoding Nh3Ranges() {
    return {{QT_TRANSLATE_NOOP("pages", "单氨气 0-50ppm"),
             QT_TRANSLATE_NOOP("pages", "氨气温湿度 0-50ppm")},
            Encoding::Hundredths,
            Encoding::UInt};
}

RangedEncoding O3Ranges() {
    return {{QT_TRANSLATE_NOOP("pages", "单臭氧设备0-10ppm"),
             QT_TRANSLATE_NOOP("pages", "臭氧温湿度一体0-10ppm")},
            Encoding::Hundredths,
            Encoding::Tenths};
}

Encoding RangedEncoding::For(const std::string& typeText) const {
    for (const char* item : narrowTypes)
        if (typeText == item) return narrow;
    return wide;
}

bool TypeHasTempHumidity(const std::string& typeText) {
    return !typeText.starts_with("单");
}

}  // namespace pages
