// Gas transmitters (with and without temperature/humidity), the oil fume sensor, the
// three-channel oil fume monitor and the eighteen-element air monitor.
#include <bit>
#include <cmath>

#include "profiles.h"

namespace sim {
namespace {

RegisterDeviceConfig At(std::uint32_t baud) {
    RegisterDeviceConfig c;
    c.address = 1;
    c.baud = baud;
    return c;
}

struct GasModel {
    const char* name = "";
    const char* description = "";
    double base = 0;  // register 2, in the device's own units
    double amplitude = 0;
    double period = 20;
    // Limits and calibrations from register 48 on (the CO2 layout or the limit block); the
    // gas's own ones start at `gasLimits`, those below belong to temperature and humidity.
    RegisterMap limits{};
    std::uint16_t gasLimits = 54;
};

// Temperature, humidity and CO2 limits, hysteresis, calibrations, RegEn switches, status.
const RegisterMap kCo2Limits = {{48, 350}, {49, 0},  {50, 10}, {51, 0},  {52, 1},    {53, 800},
                                {54, 200}, {55, 30}, {56, 0},  {57, 10}, {58, 1500}, {59, 400},
                                {60, 50},  {61, 0},  {62, 1},  {64, 0}};
const RegisterMap kLimitBlockTH = {{48, 350}, {49, 0}, {50, 0}, {51, 800}, {52, 200}, {53, 0}};

RegisterMap Merge(RegisterMap a, const RegisterMap& b) {
    for (const auto& [reg, value] : b) a[reg] = value;
    return a;
}

std::vector<GasModel> GasModels() {
    return {
        {"co2", "CO2 transmitter (register 2 in ppm, limits from 48)", 650, 150, 40, kCo2Limits,
         58},
        {"co", "CO transmitter (register 2 in tenths of ppm)", 25, 10, 30, {}},
        {"so2", "SO2 transmitter (register 2 in hundredths of ppm)", 35, 15, 30, {}},
        {"no2", "NO2 transmitter (register 2 in hundredths of ppm)", 100, 40, 30, {}},
        {"o2", "O2 transmitter 0-25 %vol (register 2 in tenths, limits from 48)", 209, 3, 60,
         Merge(kLimitBlockTH, {{54, 235}, {55, 195}, {56, 0}})},
        {"h2s", "H2S transmitter (register 2 in ppm, limits from 48)", 4, 3, 25,
         Merge(kLimitBlockTH, {{54, 10}, {55, 0}, {56, 0}})},
        {"nh3", "NH3 transmitter 0-50 ppm (register 2 in hundredths, limits from 48)", 1234, 200,
         35, Merge(kLimitBlockTH, {{54, 2500}, {55, 0}, {56, 0}})},
        {"o3", "O3 transmitter 0-10 ppm (register 2 in hundredths, limits from 48)", 57, 20, 35,
         Merge(kLimitBlockTH, {{54, 100}, {55, 0}, {56, 0}})},
    };
}

void AddGas(std::vector<Profile>& out, const GasModel& m, bool withTempHumidity) {
    const std::string name = std::string(m.name) + (withTempHumidity ? "" : "-gas");
    const std::string description =
        std::string(m.description) +
        (withTempHumidity ? ", with temperature/humidity" : ", gas only");
    out.push_back({name, description, "pelmarq", [m, withTempHumidity](const DeviceOptions& o) {
                       RegisterMap regs = m.limits;
                       regs[2] = static_cast<std::uint16_t>(std::lround(m.base));
                       if (withTempHumidity) {
                           regs[0] = 553;
                           regs[1] = 236;
                       } else {
                           // A gas-only device has no temperature or humidity registers.
                           for (std::uint16_t reg = 48; reg < m.gasLimits; ++reg) regs.erase(reg);
                       }
                       return MakeRegisterDevice(
                           At(4800), regs,
                           [m, withTempHumidity](RegisterMap& r, double t) {
                               if (withTempHumidity) {
                                   r[0] = Wave(553, 40, 47, t);
                                   r[1] = Wave(236, 12, 31, t);
                               }
                               r[2] = Wave(m.base, m.amplitude, m.period, t);
                           },
                           o);
                   }});
}

}  // namespace

void AddGasProfiles(std::vector<Profile>& out) {
    for (const GasModel& m : GasModels()) {
        AddGas(out, m, true);
        AddGas(out, m, false);
    }
    out.push_back(
        {"tvoc", "TVOC transmitter (register 0 in ppb)", "pelmarq", [](const DeviceOptions& o) {
             return MakeRegisterDevice(
                 At(4800), {{0, 320}},
                 [](RegisterMap& r, double t) { r[0] = Wave(320, 120, 40, t); }, o);
         }});
    out.push_back({"oil-fume-sensor",
                   "oil fume sensor (register 0, calibration 80, float coefficient 512-513)",
                   "pelmarq", [](const DeviceOptions& o) {
                       RegisterMap regs = {{0, 125}, {7, 12}, {80, 0}};
                       PutFloat(regs, 0x0200, 1.0f);
                       return MakeRegisterDevice(
                           At(9600), regs,
                           [](RegisterMap& r, double t) { r[0] = Wave(125, 60, 30, t); }, o);
                   }});
    out.push_back({"oil-fume",
                   "three-channel oil fume monitor (registers 0-2, version 10, float "
                   "coefficients 16-27)",
                   "pelmarq", [](const DeviceOptions& o) {
                       RegisterMap regs = {{0, 125}, {1, 310}, {2, 80}, {10, 0x0103}};
                       PutFloat(regs, 0x0010, 1.0f);
                       PutFloat(regs, 0x0012, 0.0f);
                       PutFloat(regs, 0x0014, 0.95f);
                       PutFloat(regs, 0x0016, 0.05f);
                       PutFloat(regs, 0x0018, 1.1f);
                       PutFloat(regs, 0x001A, -0.02f);
                       return MakeRegisterDevice(
                           At(9600), regs,
                           [](RegisterMap& r, double t) {
                               r[0] = Wave(125, 60, 30, t);
                               r[1] = Wave(310, 90, 45, t);
                               r[2] = Wave(80, 30, 25, t);
                           },
                           o);
                   }});
    out.push_back({"qx40", "eighteen-element air monitor (registers 0-18, calibrations 80-98)",
                   "pelmarq", [](const DeviceOptions& o) {
                       RegisterMap regs;
                       for (std::uint16_t reg = 0; reg <= 18; ++reg) regs[reg] = 0;
                       for (std::uint16_t reg = 80; reg <= 98; ++reg) regs[reg] = 0;
                       regs[82] = 0xFFFB;  // humidity calibration -0.5 %RH
                       return MakeRegisterDevice(
                           At(9600), regs,
                           [](RegisterMap& r, double t) {
                               r[0] = Wave(35, 10, 30, t);   // PM2.5
                               r[1] = Wave(60, 15, 30, t);   // PM10
                               r[2] = Wave(553, 40, 47, t);  // humidity, tenths
                               r[3] = Wave(236, 12, 31, t);  // temperature, tenths
                               r[4] = Wave(1013, 4, 90, t);  // pressure, tenths of kPa
                               const auto lux = static_cast<std::uint32_t>(
                                   std::lround(60000 + 30000 * std::sin(t / 20)));
                               r[5] = static_cast<std::uint16_t>(lux >> 16);
                               r[6] = static_cast<std::uint16_t>(lux);
                               r[7] = Wave(320, 120, 40, t);       // TVOC, ppb
                               r[8] = Wave(650, 150, 40, t);       // CO2, ppm
                               r[9] = Wave(8, 3, 25, t);           // formaldehyde, hundredths
                               r[10] = Wave(5, 2, 25, t);          // O3, hundredths
                               r[11] = Wave(209, 2, 60, t);        // O2, tenths
                               r[12] = Steps({0, 0, 1}, 7, t);     // H2S
                               r[13] = Steps({0, 0, 0, 2}, 9, t);  // methane, %LEL
                               r[14] = Wave(2, 1, 30, t);          // CO
                               r[15] = Wave(3, 1, 20, t);          // NO2, tenths
                               r[16] = Wave(2, 1, 20, t);          // SO2, tenths
                               r[17] = 0;                          // H2
                               r[18] = Wave(1, 1, 30, t);          // NH3
                           },
                           o);
                   }});
}

}  // namespace sim
