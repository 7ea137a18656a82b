// Weather and environment devices: noise, pressure, rain gauge, the louver boxes, solar
// radiation, ultraviolet, rain/snow, air quality, the dust tester and the evaporation pan;
// and the current collector of a kitchen's fan and purifier.
#include <cmath>

#include "profiles.h"

namespace sim {
namespace {

void Louver(RegisterMap& r, double t) {
    r[500] = Wave(583, 35, 43, t);  // humidity, tenths of %RH
    r[501] = Wave(196, 20, 37, t);  // temperature, tenths of a degree
    r[502] = Wave(486, 60, 11, t);  // noise, tenths of dB
    r[503] = Wave(r.count(504) ? 36 : 612, r.count(504) ? 8 : 80, 29, t);  // PM2.5 or CO2
    if (r.count(504)) r[504] = Wave(58, 12, 31, t);                        // PM10
    r[505] = Wave(1012, 3, 97, t);  // pressure, tenths of kPa
    PutUInt32(r, 506, static_cast<std::uint32_t>(std::lround(60000 + 40000 * std::sin(t / 9))));
}

// Evaporation pan: weighs relative to the last zeroing (a 1 written to register 80);
// water evaporates, now and then a shower adds some.
LiveUpdate EvaporationPan() {
    return [zeroAt = 0.0](RegisterMap& r, double t) mutable {
        if (r[80] == 1) {
            zeroAt = t;
            r[80] = 0;
        }
        const double grams = -0.8 * (t - zeroAt) + 40 * std::sin((t - zeroAt) / 20);
        r[0] = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(grams)));
    };
}

RegisterMap DustRegisters() {
    RegisterMap r{{0, 182}, {1, 35}, {2, 71}};
    const float coefficients[6] = {1.0f, 0.0f, 0.95f, 1.5f, 1.1f, -2.0f};
    const std::uint16_t regs[6] = {96, 98, 112, 114, 128, 130};
    for (int i = 0; i < 6; ++i) PutFloat(r, regs[i], coefficients[i]);
    return r;
}

}  // namespace

void AddWeatherProfiles(std::vector<Profile>& out) {
    const std::string p = "pelmarq";
    AddRegisterProfile(out, "noise", "sound level meter (register 0, tenths of dB)", p,
                       DeviceAt(1, 9600), {{0, 452}},
                       [](RegisterMap& r, double t) { r[0] = Wave(452, 80, 7, t); });
    AddRegisterProfile(out, "pressure", "barometer (0 pressure in tenths of kPa, 1 temperature)", p,
                       DeviceAt(1, 9600), {{0, 1013}, {1, 221}}, [](RegisterMap& r, double t) {
                           r[0] = Wave(1013, 4, 89, t);
                           r[1] = Wave(221, 10, 33, t);
                       });
    AddRegisterProfile(out, "rain-gauge", "tipping rain gauge (register 0, tenths of mm)", p,
                       DeviceAt(1, 9600), {{0, 0}}, [](RegisterMap& r, double t) {
                           r[0] = static_cast<std::uint16_t>(std::lround(t / 3) % 2000);
                       });
    AddRegisterProfile(out, "louver-co2",
                       "louver box with CO2 (500-507 live values, 96 multi-address enable)", p,
                       DeviceAt(1, 9600),
                       {{500, 583},
                        {501, 196},
                        {502, 486},
                        {503, 612},
                        {505, 1012},
                        {506, 0},
                        {507, 60000},
                        {96, 0}},
                       Louver);
    AddRegisterProfile(out, "louver-pm",
                       "louver box with PM2.5/PM10 (500-507, 96, display position 2100)", p,
                       DeviceAt(1, 9600),
                       {{500, 583},
                        {501, 196},
                        {502, 486},
                        {503, 36},
                        {504, 58},
                        {505, 1012},
                        {506, 0},
                        {507, 60000},
                        {96, 0},
                        {2100, 0}},
                       Louver);
    AddRegisterProfile(out, "radiation", "solar radiation sensor (0 W/m2, 82 deviation)", p,
                       DeviceAt(1, 9600), {{0, 640}, {82, 0}},
                       [](RegisterMap& r, double t) { r[0] = Wave(640, 200, 47, t); });
    AddRegisterProfile(out, "uv",
                       "ultraviolet sensor with temperature/humidity (0-3, deviations 80-81)", p,
                       DeviceAt(1, 9600), {{0, 566}, {1, 243}, {2, 312}, {3, 6}, {80, 0}, {81, 0}},
                       [](RegisterMap& r, double t) {
                           r[0] = Wave(566, 30, 41, t);
                           r[1] = Wave(243, 12, 37, t);
                           r[2] = Wave(312, 150, 23, t);
                           r[3] = static_cast<std::uint16_t>(r[2] / 50);
                       });
    AddRegisterProfile(out, "rain-snow",
                       "rain/snow detector (0 state: 0 normal, 1 alarm; 51 reset delay, 52 "
                       "sensitivity)",
                       p, DeviceAt(1, 9600), {{0, 0}, {51, 30}, {52, 5}},
                       [](RegisterMap& r, double t) {
                           r[0] = Steps({0, 0, 0, 1, 1}, 5, t);
                       });
    AddRegisterProfile(out, "air-quality", "PM2.5/PM10 sensor (registers 0-1, ug/m3)", p,
                       DeviceAt(1, 9600), {{0, 35}, {1, 62}}, [](RegisterMap& r, double t) {
                           r[0] = Wave(35, 10, 19, t);
                           r[1] = Wave(62, 15, 23, t);
                       });
    AddRegisterProfile(out, "dust",
                       "dust tester (0-2 TSP, PM2.5, PM10; float coefficients A/B at 96-131)", p,
                       DeviceAt(1, 9600), DustRegisters(), [](RegisterMap& r, double t) {
                           r[0] = Wave(182, 30, 17, t);
                           r[1] = Wave(35, 8, 13, t);
                           r[2] = Wave(71, 12, 19, t);
                       });
    AddRegisterProfile(out, "evaporation",
                       "evaporation pan (register 0 signed grams since zeroing; 1 to 80 zeroes)", p,
                       DeviceAt(1, 9600), {{0, 0}, {80, 0}}, EvaporationPan());
    AddRegisterProfile(out, "current",
                       "fan and purifier current collector (0-3 live, 85-86, 91-92 in 0.01 A)", p,
                       DeviceAt(1, 9600),
                       {{0, 1}, {1, 0}, {2, 1234}, {3, 56}, {85, 0}, {86, 0}, {91, 50}, {92, 50}},
                       [](RegisterMap& r, double t) {
                           r[2] = Wave(1234, 60, 13, t);
                           r[3] = Steps({56, 58, 0, 0, 57}, 6, t);
                           r[0] = r[2] > r[91] ? 1 : 0;
                           r[1] = r[3] > r[92] ? 1 : 0;
                       });
}

}  // namespace sim
