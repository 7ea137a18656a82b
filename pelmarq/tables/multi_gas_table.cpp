// The eighteen-element air monitor (" QX40"): particulates, climate values, illuminance and
// twelve gases in registers 0 to 18, and one calibration value per element from register 80
// on.
#include <array>

#include "number_text.h"
#include "page_tables.h"

namespace pages {
namespace {

// One measured value. Concentrations, pressure and illuminance cannot be negative, so their
// registers are read unsigned (a CO2 reading of 40000 ppm is 40000, not -25536); only
// temperature and humidity carry a sign. Queries and the block poll show the same text.
struct Measured {
    const char* label = "";
    const char* unit = "";
    std::uint16_t reg = 0;
    double factor = 1.0;
    int decimals = 0;
    bool isSigned = false;
    bool isPair = false;  // 32 bits in this register (high word) and the next
};

// In the page's three columns of six.
constexpr std::array<Measured, kMultiGasMeasured> kValues = {{
    {"PM2.5", "ug/m3", 0},
    {"PM10", "ug/m3", 1},
    {QT_TRANSLATE_NOOP("pages", "湿度"), "%RH", 2, 0.1, 1, true},
    {QT_TRANSLATE_NOOP("pages", "温度"), QT_TRANSLATE_NOOP("pages", "℃"), 3, 0.1, 1, true},
    {QT_TRANSLATE_NOOP("pages", "大气压力"), "KPa", 4, 0.1, 1},
    {QT_TRANSLATE_NOOP("pages", "光照度"), "Lux", 5, 1.0, 0, false, true},
    {"TVOC", "ppb", 7},
    {"CO2", "ppm", 8},
    {QT_TRANSLATE_NOOP("pages", "甲醛"), "ppm", 9, 0.01, 2},
    {"O3", "ppm", 10, 0.01, 2},
    {"O2", "%Vol", 11, 0.1, 1},
    {"H2S", "ppm", 12},
    {QT_TRANSLATE_NOOP("pages", "甲烷"), "%LEL", 13},
    {"CO", "ppm", 14},
    {"NO2", "ppm", 15, 0.1, 1},
    {"SO2", "ppm", 16, 0.1, 1},
    {"H2", "ppm", 17},
    {"NH3", "ppm", 18},
}};

}  // namespace

std::string MultiGasMeasuredText(std::size_t row, const std::uint16_t* words) {
    const Measured& m = kValues.at(row);
    if (m.isPair) return std::to_string(std::uint32_t{words[0]} << 16 | words[1]);
    const double raw = m.isSigned ? static_cast<std::int16_t>(words[0]) : words[0];
    return protocol::FormatFixed(raw * m.factor, m.decimals);
}

std::uint8_t MultiGasMeasuredCount(std::size_t row) {
    return kValues.at(row).isPair ? 2 : 1;
}

PageSpec MultiGasSpec() {
    PageSpec spec;
    for (std::size_t i = 0; i < kMultiGasMeasured; ++i) {
        const Measured& m = kValues[i];
        spec.rows.push_back({m.label, m.unit, 0, 0, 0, m.reg,
                             m.isPair ? Encoding::UInt32 : Encoding::Scaled, Access::Read, kPolled,
                             static_cast<int>(i / 6), m.factor, m.decimals});
    }
    // Calibrations, signed offsets (written as two's complement), below in the same order.
    constexpr auto W = Encoding::Whole, T = Encoding::Tenths, H = Encoding::Hundredths;
    constexpr auto RW = Access::ReadWrite;
    const std::vector<Row> calibrations = {
        {QT_TRANSLATE_NOOP("pages", "PM2.5校准"), "", 0, 0, 0, 80, W, RW, 0, 3},
        {QT_TRANSLATE_NOOP("pages", "PM10校准"), "", 0, 0, 0, 81, W, RW, 0, 3},
        {QT_TRANSLATE_NOOP("pages", "湿度校准"), "", 0, 0, 0, 82, T, RW, 0, 3},
        {QT_TRANSLATE_NOOP("pages", "温度校准"), "", 0, 0, 0, 83, T, RW, 0, 3},
        {QT_TRANSLATE_NOOP("pages", "气压校准"), "", 0, 0, 0, 84, T, RW, 0, 3},
        {QT_TRANSLATE_NOOP("pages", "光照校准"), "", 0, 0, 0, 86, W, RW, 0, 3},
        {QT_TRANSLATE_NOOP("pages", "TVOC校准"), "", 0, 0, 0, 87, W, RW, 0, 4},
        {QT_TRANSLATE_NOOP("pages", "CO2校准"), "", 0, 0, 0, 88, W, RW, 0, 4},
        {QT_TRANSLATE_NOOP("pages", "甲醛校准"), "", 0, 0, 0, 89, H, RW, 0, 4},
        {QT_TRANSLATE_NOOP("pages", "O3校准"), "", 0, 0, 0, 90, H, RW, 0, 4},
        {QT_TRANSLATE_NOOP("pages", "O2校准"), "", 0, 0, 0, 91, T, RW, 0, 4},
        {QT_TRANSLATE_NOOP("pages", "H2S校准"), "", 0, 0, 0, 92, W, RW, 0, 4},
        {QT_TRANSLATE_NOOP("pages", "甲烷校准"), "", 0, 0, 0, 93, W, RW, 0, 5},
        {QT_TRANSLATE_NOOP("pages", "CO校准"), "", 0, 0, 0, 94, W, RW, 0, 5},
        {QT_TRANSLATE_NOOP("pages", "NO2校准"), "", 0, 0, 0, 95, T, RW, 0, 5},
        {QT_TRANSLATE_NOOP("pages", "SO2校准"), "", 0, 0, 0, 96, T, RW, 0, 5},
        {QT_TRANSLATE_NOOP("pages", "H2校准"), "", 0, 0, 0, 97, W, RW, 0, 5},
        {QT_TRANSLATE_NOOP("pages", "NH3校准"), "", 0, 0, 0, 98, W, RW, 0, 5},
    };
    spec.rows.insert(spec.rows.end(), calibrations.begin(), calibrations.end());
    spec.realtime = {0, QT_TRANSLATE_NOOP("pages", "实时"), RealtimeMode::AllButtons, 2};
    spec.columnsPerLine = 3;
    return spec;
}

}  // namespace pages
