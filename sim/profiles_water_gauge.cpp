// The electronic water gauge: it measures the air gap, the water depth or a tilt, and
// drives its relay from the level limits when they are linked to it.
#include <algorithm>
#include <cmath>

#include "profiles.h"

namespace sim {
namespace {

RegisterMap GaugeRegisters(std::uint16_t scheme, std::uint16_t upperLinked) {
    RegisterMap r{{0, 120},  {1, 181},  {2, 1},     {3, 0},   {100, scheme},      {101, 150},
                  {102, 60}, {103, 10}, {104, 200}, {105, 0}, {108, upperLinked}, {109, 0},
                  {110, 5},  {111, 0},  {112, 200}, {117, 1}};
    PutFloat(r, 106, 1.5f);
    return r;
}

// The water depth rises and falls between about 40 and 180 cm.
void Gauge(RegisterMap& r, double t) {
    const double depth = 110 + 70 * std::sin(t / 12);
    const double length = r[104];
    double level = depth;
    if (r[100] == 0) level = std::max(0.0, length - depth);  // air gap above the water
    if (r[100] == 2) level = depth * std::cos(GetFloat(r, 106) * 3.14159265 / 180);
    const auto cm = static_cast<std::uint16_t>(std::lround(std::max(0.0, level)));
    r[0] = cm;
    r[1] = Wave(181, 12, 47, t);
    r[2] = depth > 5 ? 1 : 0;
    const int hysteresis = static_cast<std::int16_t>(r[103]);
    if (r[108] == 1) {  // upper limit: closes above it, opens below it less the hysteresis
        if (cm >= r[101]) r[3] = 1;
        if (cm <= r[101] - hysteresis) r[3] = 0;
    } else if (r[109] == 1) {  // lower limit: closes below it
        if (cm <= r[102]) r[3] = 1;
        if (cm >= r[102] + hysteresis) r[3] = 0;
    }
}

}  // namespace

void AddWaterGaugeProfiles(std::vector<Profile>& out) {
    AddRegisterProfile(out, "water-gauge",
                       "water gauge measuring the air gap, relay not linked (0-3, 100-117)",
                       "pelmarq", DeviceAt(1, 9600), GaugeRegisters(0, 0), Gauge);
    AddRegisterProfile(out, "gauge-relay",
                       "water gauge measuring the depth, upper limit linked to the relay",
                       "pelmarq", DeviceAt(1, 9600), GaugeRegisters(1, 1), Gauge);
}

}  // namespace sim
