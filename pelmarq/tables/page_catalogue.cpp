#include "page_catalogue.h"

#include "page_values.h"

namespace pages {
namespace {

std::optional<std::uint8_t> MultiGasCount(std::size_t row) {
    if (row < kMultiGasMeasured) return MultiGasMeasuredCount(row);
    return std::nullopt;
}

std::optional<std::string> MultiGasText(std::size_t row, const std::uint16_t* words) {
    if (row < kMultiGasMeasured) return MultiGasMeasuredText(row, words);
    return std::nullopt;
}

// The height is worked out from the weight in register 0; both show one reading.
std::optional<std::string> EvaporationText(std::size_t row, const std::uint16_t* words) {
    if (row == kEvaporationHeight) return EvaporationHeight(static_cast<std::int16_t>(words[0]));
    return std::nullopt;
}

std::string WindDirectionName(const std::uint16_t* words) {
    return WindDirectionOf(words[0]).name;
}

constexpr const char* kClimate = "温湿度类";
constexpr const char* kAlarm = "水浸|烟感|红外";
constexpr const char* kLight = "光照度类";
constexpr const char* kGas = "气体类";
constexpr const char* kWind = "风速|风向";
constexpr const char* kSoil = "土壤";
constexpr const char* kWeather = "气象传感器";

PageEntry Gas(const char* name, const char* tab, PageSpec (*spec)(), SensorTypes (*types)(),
              int type, RangedEncoding (*ranges)() = nullptr) {
    return {name, kGas, tab, spec, types, type, ranges};
}

}  // namespace

const std::vector<PageEntry>& PageCatalogue() {
    static const std::vector<PageEntry> catalogue = {
        {"temperature", kClimate, "单温度", TemperatureSpec},
        {"th", kClimate, "温湿度", TempHumiditySpec},
        {"th-board", kClimate, "温湿度看板", BoardSpec},
        {"water-leak", kAlarm, "水浸", WaterLeakSpec},
        {"smoke", kAlarm, "烟感", SmokeSpec},
        {"intrusion", kAlarm, "非法入侵", IntrusionSpec},
        {"light", kLight, "6W光照度", LightSpec},
        {"light-20w", kLight, "20W光照度", LightHighRangeSpec},
        {"light-th", kLight, "6W光照度温湿度一体", LightTempHumiditySpec},
        {"light-20w-th", kLight, "20W光照度温湿度一体", LightHighRangeTempHumiditySpec},
        {"oil-fume-sensor", kGas, "油烟", OilFumeSensorSpec},
        Gas("co2", " CO2 ", Co2Spec, Co2Types, 1),
        Gas("co2-gas", " CO2 ", Co2Spec, Co2Types, 0),
        Gas("co", " CO ", CoSpec, CoTypes, 1),
        Gas("co-gas", " CO ", CoSpec, CoTypes, 0),
        {"tvoc", kGas, " TOVC ", TvocSpec},
        Gas("so2", " SO2 ", So2Spec, So2Types, 1),
        Gas("so2-gas", " SO2 ", So2Spec, So2Types, 0),
        Gas("no2", " NO2 ", No2Spec, No2Types, 1),
        Gas("no2-gas", " NO2 ", No2Spec, No2Types, 0),
        Gas("o2", "  O2  ", O2Spec, O2Types, 1),
        Gas("o2-gas", "  O2  ", O2Spec, O2Types, 0),
        Gas("h2s", " H2S ", H2sSpec, H2sTypes, 1),
        Gas("h2s-gas", " H2S ", H2sSpec, H2sTypes, 0),
        // The simulated NH3 and O3 devices measure the small range.
        Gas("nh3", " NH3 ", Nh3Spec, Nh3Types, 3, Nh3Ranges),
        Gas("nh3-gas", " NH3 ", Nh3Spec, Nh3Types, 0, Nh3Ranges),
        Gas("o3", " O3 ", O3Spec, O3Types, 2, O3Ranges),
        Gas("o3-gas", " O3 ", O3Spec, O3Types, 0, O3Ranges),
        {"qx40", kGas, " QX40", MultiGasSpec, nullptr, -1, nullptr, MultiGasCount, MultiGasText},
        {"wind-direction",
         kWind,
         "风向",
         WindDirectionSpec,
         nullptr,
         -1,
         nullptr,
         nullptr,
         nullptr,
         {"风向:value", "风向", 0, WindDirectionName}},
        {"wind-speed", kWind, "风速", WindSpeedSpec},
        {"soil-3in1", kSoil, "土壤三合一", SoilThreeInOneSpec},
        {"soil-th", kSoil, "土壤温度含水率", SoilTempMoistureSpec},
        {"soil-moisture", kSoil, "土壤含水率", SoilMoistureSpec},
        {"soil-ec", kSoil, "土壤电导率", SoilConductivitySpec},
        {"soil-ph", kSoil, "土壤PH", SoilPhSpec},
        {"noise", kWeather, "噪声", NoiseSpec},
        {"pressure", kWeather, "大气压力", PressureSpec},
        {"rain-gauge", kWeather, "雨量计", RainGaugeSpec},
        {"louver-co2", kWeather, "百叶盒CO2", LouverCo2Spec},
        {"radiation", kWeather, "太阳辐射", RadiationSpec},
        {"uv", kWeather, "紫外线", UvSpec, UvTypes, 1},
        {"louver-pm", kWeather, "百叶盒PM", LouverPmSpec},
        {"rain-snow", kWeather, "雨雪", RainSnowSpec},
        {"air-quality", kWeather, "空气质量", AirQualitySpec},
        {"dust", kWeather, "粉尘测试仪", DustSpec},
        {"evaporation", kWeather, "蒸发量", EvaporationSpec, nullptr, -1, nullptr, nullptr,
         EvaporationText},
        {"current", "电流电压", "电流采集器", CurrentCollectorSpec},
        {"oil-fume", "油烟系类", "485油烟", OilFumeSpec},
        {"water-gauge", "电子水尺", nullptr, WaterGaugeSpec},
        {"gauge-relay", "电子水尺", nullptr, WaterGaugeSpec},
    };
    return catalogue;
}

const PageEntry* FindPage(std::string_view name) {
    for (const PageEntry& e : PageCatalogue())
        if (name == e.name) return &e;
    return nullptr;
}

bool PageView::Select(const PageEntry& entry, int typeIndex) {
    entry_ = &entry;
    spec_ = entry.spec();
    typeText_.clear();
    typeIndex_ = -1;
    if (!entry.types) return typeIndex < 0;
    const SensorTypes types = entry.types();
    const int index = typeIndex >= 0    ? typeIndex
                      : entry.type >= 0 ? entry.type
                                        : types.defaultIndex;
    if (index >= static_cast<int>(types.items.size())) return false;
    typeIndex_ = index;
    typeText_ = types.items[index];
    return true;
}

Encoding PageView::EncodingOf(std::size_t row) const {
    const Row& r = spec_.rows.at(row);
    if ((r.flags & kRanged) && entry_->ranges) return entry_->ranges().For(typeText_);
    return r.encoding;
}

bool PageView::Applies(std::size_t row) const {
    return !(spec_.rows.at(row).flags & kTempHumidity) || typeText_.empty() ||
           TypeHasTempHumidity(typeText_);
}

bool PageView::Readable(std::size_t row) const {
    const Row& r = spec_.rows.at(row);
    return Applies(row) && !(r.flags & (kHidden | kNoEdit)) && r.access != Access::Write;
}

bool PageView::Writable(std::size_t row) const {
    const Row& r = spec_.rows.at(row);
    return Applies(row) && !(r.flags & (kHidden | kNoEdit | kFollows)) &&
           r.access == Access::ReadWrite;
}

bool PageView::Polled(std::size_t row) const {
    return Applies(row) && (spec_.rows.at(row).flags & kPolled);
}

std::uint8_t PageView::CountOf(std::size_t row) const {
    if (entry_->countOf)
        if (const auto n = entry_->countOf(row)) return *n;
    return RegisterCount(EncodingOf(row));
}

std::string PageView::TextOf(std::size_t row, const std::uint16_t* words) const {
    if (entry_->textOf)
        if (auto text = entry_->textOf(row, words)) return *text;
    return RowText(spec_.rows.at(row), EncodingOf(row), words);
}

}  // namespace pages
