// The gas transmitters without limits: CO, TVOC, SO2 and NO2, three live values each
// (TVOC one), under the sensor type.
#include "gas_pages.h"

namespace pages {
namespace {

constexpr auto T = Encoding::Tenths;
constexpr auto R = Access::Read;
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
    return {.rows = {{"温度", "℃", id.temperature, id.temperatureQuery, 0, 0x0001, T, R, LiveTH},
                     {"湿度", "%RH", id.humidity, id.humidityQuery, 0, 0x0000, T, R, LiveTH},
                     gas},
            .realtime = {id.realtime, "实时"},
            .sensorType = true,
            .sensorTypeId = id.combo};
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
            .realtime = {1072, "实时"}};
}

}  // namespace

CoPage::CoPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link,
                 LiveSpec({1236, 1069, 1068, 1065, 1054, 1066, 1055, 1067},
                          {"CO", "ppm", 0, 0, 0, 0, Encoding::Tenths}),
                 parent) {}

TvocPage::TvocPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, TvocSpec(), parent) {}

So2Page::So2Page(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link,
                 LiveSpec({1235, 1079, 1073, 1076, 1074, 1077, 1075, 1078},
                          {"SO2", "ppm", 0, 0, 0, 0, Encoding::Hundredths}),
                 parent) {}

No2Page::No2Page(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, No2Spec(), parent) {}

}  // namespace pages
