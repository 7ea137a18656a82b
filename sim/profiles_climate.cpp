// Temperature/humidity transmitters, the display board and the alarm detectors.
#include "profiles.h"

namespace sim {
namespace {

RegisterDeviceConfig At4800() {
    RegisterDeviceConfig c;
    c.address = 1;
    c.baud = 4800;
    return c;
}

void LiveTempHumidity(RegisterMap& r, double t) {
    r[0] = Wave(553, 40, 47, t);  // humidity, tenths of %RH
    r[1] = Wave(236, 12, 31, t);  // temperature, tenths of a degree
}

}  // namespace

void AddClimateProfiles(std::vector<Profile>& out) {
    out.push_back({"temperature", "temperature transmitter (register 1, tenths of a degree)",
                   "pelmarq", [](const DeviceOptions& o) {
                       return MakeRegisterDevice(At4800(), {{0, 0}, {1, 236}}, LiveTempHumidity, o);
                   }});
    out.push_back(
        {"th", "temperature/humidity transmitter (registers 0-1)", "pelmarq",
         [](const DeviceOptions& o) {
             return MakeRegisterDevice(At4800(), {{0, 553}, {1, 236}}, LiveTempHumidity, o);
         }});
    out.push_back({"th-board",
                   "temperature/humidity display board with limits, hysteresis, calibration",
                   "pelmarq", [](const DeviceOptions& o) {
                       return MakeRegisterDevice(At4800(),
                                                 {{0, 553},
                                                  {1, 236},
                                                  {48, 350},
                                                  {49, 50},
                                                  {50, 10},
                                                  {53, 800},
                                                  {54, 200},
                                                  {55, 30},
                                                  {80, 0},
                                                  {81, 0}},
                                                 LiveTempHumidity, o);
                   }});
    out.push_back({"water-leak", "water leak detector (register 2: 1 normal, 2 alarm)", "pelmarq",
                   [](const DeviceOptions& o) {
                       return MakeRegisterDevice(
                           At4800(), {{2, 1}},
                           [](RegisterMap& r, double t) {
                               r[2] = Steps({1, 1, 1, 2}, 5, t);
                           },
                           o);
                   }});
    out.push_back({"smoke", "smoke detector (register 3: 0 normal, 1 alarm)", "pelmarq",
                   [](const DeviceOptions& o) {
                       return MakeRegisterDevice(
                           At4800(), {{3, 0}},
                           [](RegisterMap& r, double t) {
                               r[3] = Steps({0, 0, 0, 1}, 5, t);
                           },
                           o);
                   }});
    out.push_back({"intrusion", "intrusion detector (register 3: 0 normal, 1 alarm)", "pelmarq",
                   [](const DeviceOptions& o) {
                       return MakeRegisterDevice(
                           At4800(), {{3, 0}},
                           [](RegisterMap& r, double t) {
                               r[3] = Steps({0, 0, 1}, 4, t);
                           },
                           o);
                   }});
}

}  // namespace sim
