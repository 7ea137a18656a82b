// Soil probes: three-in-one, temperature/moisture, moisture, conductivity and pH.
#include "profiles.h"

namespace sim {

void AddSoilProfiles(std::vector<Profile>& out) {
    const std::string p = "pelmarq";
    AddRegisterProfile(
        out, "soil-3in1",
        "soil three-in-one probe, B model (0 moisture, 1 temperature in hundredths, 2 us/cm)", p,
        DeviceAt(1, 4800), {{0, 3456}, {1, 1850}, {2, 420}}, [](RegisterMap& r, double t) {
            r[0] = Wave(3456, 120, 61, t);
            r[1] = Wave(1850, 90, 43, t);
            r[2] = Wave(420, 25, 37, t);
        });
    AddRegisterProfile(out, "soil-th",
                       "soil temperature/moisture probe (0 moisture, 1 temperature, tenths)", p,
                       DeviceAt(1, 4800), {{0, 312}, {1, 176}}, [](RegisterMap& r, double t) {
                           r[0] = Wave(312, 15, 59, t);
                           r[1] = Wave(176, 8, 41, t);
                       });
    AddRegisterProfile(out, "soil-moisture",
                       "soil moisture probe (register 1, hundredths of a percent)", p,
                       DeviceAt(1, 4800), {{0, 0}, {1, 2875}},
                       [](RegisterMap& r, double t) { r[1] = Wave(2875, 140, 53, t); });
    AddRegisterProfile(
        out, "soil-ec",
        "soil conductivity probe (0-4 live, 34-36 coefficients, 80-82 calibration, 1003)", p,
        DeviceAt(1, 9600),
        {{0, 305},
         {1, 182},
         {2, 1200},
         {3, 660},
         {4, 600},
         {34, 20},
         {35, 55},
         {36, 50},
         {80, 0},
         {81, 0},
         {82, 0},
         {1003, 1413}},
        [](RegisterMap& r, double t) {
            r[0] = Wave(305, 12, 47, t);
            r[1] = Wave(182, 6, 39, t);
            r[2] = Wave(1200, 60, 31, t);
            r[3] = static_cast<std::uint16_t>(r[2] * 55 / 100);
            r[4] = static_cast<std::uint16_t>(r[2] / 2);
        });
    AddRegisterProfile(out, "soil-ph", "soil pH probe (register 0, tenths of pH)", p,
                       DeviceAt(1, 9600), {{0, 68}},
                       [](RegisterMap& r, double t) { r[0] = Wave(68, 3, 71, t); });
}

}  // namespace sim
