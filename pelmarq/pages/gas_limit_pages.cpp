// The gas transmitters with limits: O2, H2S, NH3 and O3. Their limit block differs from the
// CO2 transmitter's: calibrations at 50 and 53, the gas limits and calibration at 54 to 56,
// in the gas value's own encoding. NH3 and O3 encode the gas by the chosen measuring range.
#include <QCoreApplication>

#include "gas_pages.h"

namespace pages {
namespace {

constexpr auto T = Encoding::Tenths;
constexpr auto R = Access::Read;
constexpr auto RW = Access::ReadWrite;
constexpr unsigned TH = kTempHumidity;

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
    const char* labels[9] = {"温度上限", "温度下限",   "温度校准",   "湿度上限",  "湿度下限",
                             "湿度校准", gasLimits[0], gasLimits[1], gasLimits[2]};
    PageSpec spec{
        .rows = {{"温度", "℃", id.live[0], id.live[1], 0, 0x0001, T, R, kPolled | TH, 0},
                 {"湿度", "%RH", id.live[2], id.live[3], 0, 0x0000, T, R, kPolled | TH, 0},
                 {gas, unit, id.live[4], id.live[5], 0, 0x0002, encoding, R, kPolled | gasFlags}},
        .realtime = {.id = 1015, .text = "实时", .column = 0, .afterRow = 2},
        .sensorType = true,
        .sensorTypeId = id.combo,
    };
    for (int i = 0; i < 9; ++i) {
        const bool isGas = i >= 6;
        const int query = id.firstQuery + 2 * i;
        spec.rows.push_back({labels[i], isGas ? unit : (i < 3 ? "℃" : "%RH"), id.limits[i], query,
                             query + 1, static_cast<std::uint16_t>(0x0030 + i),
                             isGas ? encoding : T, RW, isGas ? gasFlags : TH, i < 3 ? 0 : 1});
    }
    return spec;
}

}  // namespace

O2Page::O2Page(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, LimitSpec(kO2Ids, "O2", "%vol", T, {"O2 上限", "O2 下限", "O2 校准"}, 0),
                 parent) {}

H2sPage::H2sPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(
          link,
          LimitSpec(kH2sIds, "H2S", "ppm", Encoding::UInt, {"H2S 上限", "H2S 下限", "H2S 校准"}, 0),
          parent) {}

RangedGasPage::RangedGasPage(transport::SerialLink& link, PageSpec spec,
                             std::vector<const char*> narrowTypes, Encoding narrow, Encoding wide,
                             QWidget* parent)
    : DevicePage(link, std::move(spec), parent),
      narrowTypes_(std::move(narrowTypes)),
      narrow_(narrow),
      wide_(wide) {}

Encoding RangedGasPage::EncodingFor(std::size_t row) const {
    if (!(Spec().rows[row].flags & kRanged)) return DevicePage::EncodingFor(row);
    // The range is read from the chosen item's text every time; nothing is remembered.
    const QString type = SensorTypeText();
    for (const char* item : narrowTypes_)
        if (type == QCoreApplication::translate("pages", item)) return narrow_;
    return wide_;
}

Nh3Page::Nh3Page(transport::SerialLink& link, QWidget* parent)
    : RangedGasPage(link,
                    LimitSpec(kNh3Ids, "NH3", "ppm", Encoding::Hundredths,
                              {"NH3上限", "NH3下限", "NH3校准"}, kRanged),
                    {"单氨气 0-50ppm", "氨气温湿度 0-50ppm"}, Encoding::Hundredths, Encoding::UInt,
                    parent) {}

O3Page::O3Page(transport::SerialLink& link, QWidget* parent)
    : RangedGasPage(link,
                    LimitSpec(kO3Ids, "臭氧", "ppm", Encoding::Hundredths,
                              {"臭氧上限", "臭氧下限", "臭氧校准"}, kRanged),
                    {"单臭氧设备0-10ppm", "臭氧温湿度一体0-10ppm"}, Encoding::Hundredths,
                    Encoding::Tenths, parent) {}

}  // namespace pages
