#pragma once
// The temperature/humidity category: temperature transmitter, temperature/humidity
// transmitter and the display board with limits, hysteresis and calibration.
#include "device_page.h"

namespace pages {

class TemperaturePage : public DevicePage {
    Q_OBJECT
  public:
    TemperaturePage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class TempHumidityPage : public DevicePage {
    Q_OBJECT
  public:
    TempHumidityPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class TempHumidityBoardPage : public DevicePage {
    Q_OBJECT
  public:
    TempHumidityBoardPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

}  // namespace pages
