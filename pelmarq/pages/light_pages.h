#pragma once
// The light category: illuminance transmitters of the 0-65535 Lux and 0-200000 Lux ranges,
// each with or without temperature and humidity. Read-only pages, each only its table.
#include "device_page.h"

namespace pages {

PageSpec LightSpec();                       // "6W光照度"
PageSpec LightHighRangeSpec();              // "20W光照度"
PageSpec LightTempHumiditySpec();           // "6W光照度温湿度一体"
PageSpec LightHighRangeTempHumiditySpec();  // "20W光照度温湿度一体"

}  // namespace pages
