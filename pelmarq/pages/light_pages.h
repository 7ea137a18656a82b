#pragma once
// The light category: illuminance transmitters of the 0-65535 Lux and 0-200000 Lux ranges,
// each with or without temperature and humidity. Read-only pages.
#include "device_page.h"

namespace pages {

class LightPage : public DevicePage {
    Q_OBJECT
  public:
    LightPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class LightHighRangePage : public DevicePage {
    Q_OBJECT
  public:
    LightHighRangePage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class LightTempHumidityPage : public DevicePage {
    Q_OBJECT
  public:
    LightTempHumidityPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class LightHighRangeTempHumidityPage : public DevicePage {
    Q_OBJECT
  public:
    LightHighRangeTempHumidityPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

}  // namespace pages
