#pragma once
// The register maps of every device page, as tables a program without widgets can read:
// the windows build their pages from them, pelmarq-cli reads and writes devices by them.
// Labels, units and list items are the pages' own Chinese texts (the source texts that
// the windows translate in the "pages" context). No Qt.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "page_table.h"

namespace pages {

// Temperature/humidity category.
PageSpec TemperatureSpec();   // "单温度"
PageSpec TempHumiditySpec();  // "温湿度"
PageSpec BoardSpec();         // "温湿度看板"
// Alarm category: one state each.
PageSpec WaterLeakSpec();
PageSpec SmokeSpec();
PageSpec IntrusionSpec();

// Gas category.
PageSpec Co2Spec();
PageSpec CoSpec();
PageSpec TvocSpec();
PageSpec So2Spec();
PageSpec No2Spec();
PageSpec O2Spec();
PageSpec H2sSpec();
PageSpec Nh3Spec();
PageSpec O3Spec();
PageSpec OilFumeSensorSpec();  // "油烟"
PageSpec MultiGasSpec();       // " QX40"

// Light category.
PageSpec LightSpec();                       // "6W光照度"
PageSpec LightHighRangeSpec();              // "20W光照度"
PageSpec LightTempHumiditySpec();           // "6W光照度温湿度一体"
PageSpec LightHighRangeTempHumiditySpec();  // "20W光照度温湿度一体"

// Wind category.
PageSpec WindDirectionSpec();
PageSpec WindSpeedSpec();

// Soil category.
PageSpec SoilThreeInOneSpec();
PageSpec SoilTempMoistureSpec();
PageSpec SoilMoistureSpec();
PageSpec SoilConductivitySpec();
PageSpec SoilPhSpec();
// Conductivity page rows from here on up to the standard value: coefficients and calibration.
inline constexpr std::size_t kSoilFirstSetting = 5;
inline constexpr std::size_t kSoilStandardValue = 11;

// Weather category.
PageSpec NoiseSpec();
PageSpec PressureSpec();
PageSpec RainGaugeSpec();
PageSpec LouverCo2Spec();
PageSpec RadiationSpec();
PageSpec UvSpec();
PageSpec LouverPmSpec();
PageSpec RainSnowSpec();
PageSpec AirQualitySpec();
PageSpec DustSpec();
PageSpec EvaporationSpec();
enum : std::size_t { kEvaporationWeight, kEvaporationHeight, kEvaporationZero };

// Current and oil fume categories, the water gauge.
PageSpec CurrentCollectorSpec();
PageSpec OilFumeSpec();
enum : std::size_t { kOilFume, kOilFumeHydrocarbons, kOilFumeParticulates };
PageSpec WaterGaugeSpec();
enum : std::size_t { kGaugeScheme, kGaugeLeak, kGaugeLevel, kGaugeTemperature };

// A sensor-type list: its items in order and the one chosen at start.
struct SensorTypes {
    std::vector<const char*> items;
    int defaultIndex = 0;
};
SensorTypes Co2Types();
SensorTypes CoTypes();
SensorTypes So2Types();
SensorTypes No2Types();
SensorTypes O2Types();
SensorTypes H2sTypes();
SensorTypes Nh3Types();
SensorTypes O3Types();
SensorTypes UvTypes();

// A page whose gas value and gas limits (kRanged rows) are encoded by the measuring range the
// sensor type names: `narrow` for the items of the small range, `wide` for every other item.
struct RangedEncoding {
    std::vector<const char*> narrowTypes;
    Encoding narrow = Encoding::Hundredths;
    Encoding wide = Encoding::UInt;
    Encoding For(const std::string& typeText) const;
};
RangedEncoding Nh3Ranges();
RangedEncoding O3Ranges();

// True when a sensor type includes temperature and humidity (its text does not begin with
// "单").
bool TypeHasTempHumidity(const std::string& typeText);

// The wind direction's name and arrow for a direction code (low 8 bits of register 0).
struct WindDirection {
    const char* name;
    int heading;  // where the arrow points, degrees clockwise from north (up)
};
WindDirection WindDirectionOf(std::uint16_t code);

// Height in cm of a water column of `grams` over the evaporation pan's 314.16 cm², "%.2f".
std::string EvaporationHeight(std::int16_t grams);

// The eighteen-element monitor's measured rows (0..17): registers 0-18 in one block. The text
// a measured row shows for its words (the block from its own register on).
inline constexpr std::size_t kMultiGasMeasured = 18;
inline constexpr std::uint8_t kMultiGasBlockRegisters = 19;
std::string MultiGasMeasuredText(std::size_t row, const std::uint16_t* words);
// Two registers (the illuminance) or one.
std::uint8_t MultiGasMeasuredCount(std::size_t row);

}  // namespace pages
