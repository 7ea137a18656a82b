#pragma once
// Where the page of each kind of device is: its category and sub-tab, by the titles the tabs
// show. A kind of device is named by the word the simulator knows it by (`--demo co2`,
// `devsim --profile co2`), so whatever names a device finds its page here. Plain data, no Qt.
#include <string_view>
#include <vector>

namespace pages {

struct DevicePlace {
    const char* device;          // "co2"
    const char* category;        // "气体类"
    const char* tab;             // " CO2 "; nullptr where the category is the page itself
    const char* type = nullptr;  // the sensor type to choose on the page, if not its default
};

const std::vector<DevicePlace>& DevicePlaces();
// nullptr for a device no page shows.
const DevicePlace* PlaceOf(std::string_view device);

}  // namespace pages
