#pragma once
// The soil category: three-in-one probe, temperature/moisture probe, moisture probe,
// conductivity probe (coefficients and calibration) and pH probe.
#include "device_page.h"

namespace pages {

class SoilThreeInOnePage : public DevicePage {
    Q_OBJECT
  public:
    SoilThreeInOnePage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class SoilTempMoisturePage : public DevicePage {
    Q_OBJECT
  public:
    SoilTempMoisturePage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class SoilMoisturePage : public DevicePage {
    Q_OBJECT
  public:
    SoilMoisturePage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class SoilConductivityPage : public DevicePage {
    Q_OBJECT
  public:
    SoilConductivityPage(transport::SerialLink& link, QWidget* parent = nullptr);

  protected:
    protocol::ExchangeStatus ReadRow(std::size_t row, bool showErrors) override;
};

class SoilPhPage : public DevicePage {
    Q_OBJECT
  public:
    SoilPhPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

}  // namespace pages
