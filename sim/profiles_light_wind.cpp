// Illuminance transmitters of both ranges, with and without temperature/humidity, and the
// wind speed and wind direction transmitters.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "profiles.h"

namespace sim {
namespace {

double Sine(double period, double t) {
    return std::sin(2 * std::numbers::pi * t / period);
}

void Climate(RegisterMap& r, double t) {
    r[0] = Wave(612, 30, 41, t);  // humidity, tenths of %RH
    r[1] = Wave(214, 15, 29, t);  // temperature, tenths of a degree
}

// 0-65535 Lux: register 6 in lux.
void LowRange(RegisterMap& r, double t) {
    r[6] = static_cast<std::uint16_t>(
        std::clamp(std::lround(32000 + 30000 * Sine(53, t)), 0L, 65535L));
}

// 0-200000 Lux: registers 2-3 in lux, register 6 in hundreds of lux.
void HighRange(RegisterMap& r, double t) {
    const auto lux = static_cast<std::uint32_t>(std::lround(100000 + 90000 * Sine(67, t)));
    PutUInt32(r, 2, lux);
    r[6] = static_cast<std::uint16_t>(lux / 100);
}

}  // namespace

void AddLightWindProfiles(std::vector<Profile>& out) {
    const std::string p = "pelmarq";
    AddRegisterProfile(out, "light", "0-65535 Lux light transmitter (register 6, lux)", p,
                       DeviceAt(1, 9600), {{6, 32000}}, LowRange);
    AddRegisterProfile(out, "light-20w",
                       "0-200000 Lux light transmitter (registers 2-3 lux, 6 hundreds of lux)", p,
                       DeviceAt(1, 9600), {{2, 1}, {3, 0x86A0}, {6, 1000}}, HighRange);
    AddRegisterProfile(
        out, "light-th", "0-65535 Lux light with temperature/humidity (registers 0, 1, 6)", p,
        DeviceAt(1, 9600), {{0, 612}, {1, 214}, {6, 32000}}, [](RegisterMap& r, double t) {
            Climate(r, t);
            LowRange(r, t);
        });
    AddRegisterProfile(out, "light-20w-th",
                       "0-200000 Lux light with temperature/humidity (registers 0-3, 6)", p,
                       DeviceAt(1, 9600), {{0, 612}, {1, 214}, {2, 1}, {3, 0x86A0}, {6, 1000}},
                       [](RegisterMap& r, double t) {
                           Climate(r, t);
                           HighRange(r, t);
                       });
    AddRegisterProfile(out, "wind-speed", "wind speed transmitter (register 0, tenths of m/s)", p,
                       DeviceAt(1, 4800), {{0, 35}},
                       [](RegisterMap& r, double t) { r[0] = Wave(42, 30, 17, t); });
    AddRegisterProfile(
        out, "wind-direction",
        "wind direction transmitter (register 0 direction code 0-7, register 1 degrees)", p,
        DeviceAt(1, 4800), {{0, 2}, {1, 90}}, [](RegisterMap& r, double t) {
            const std::uint16_t code = Steps({0, 1, 1, 2, 3, 2, 1, 0, 7, 6, 5, 4}, 4, t);
            r[0] = code;
            r[1] = static_cast<std::uint16_t>((code * 45 + 360 + Wave(0, 15, 5, t)) % 360);
        });
}

}  // namespace sim
