#pragma once
// The soil category: three-in-one probe, temperature/moisture probe, moisture probe and pH
// probe (each only its table), and the conductivity probe with coefficients and
// calibration.
#include "device_page.h"
#include "page_tables.h"

namespace pages {

class SoilConductivityPage : public DevicePage {
    Q_OBJECT
  public:
    SoilConductivityPage(transport::SerialLink& link, QWidget* parent = nullptr);

  protected:
    protocol::ExchangeStatus ReadRow(std::size_t row, bool showErrors) override;
};

}  // namespace pages
