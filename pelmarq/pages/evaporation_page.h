#pragma once
// The evaporation pan: the load cell's weight and the water surface height it stands for,
// and the zeroing command.
#include "device_page.h"

namespace pages {

// Height in cm of a water column of `grams` over the pan's 314.16 cm², "%.2f".
QString EvaporationHeightText(std::int16_t grams);

class EvaporationPage : public DevicePage {
    Q_OBJECT
  public:
    EvaporationPage(transport::SerialLink& link, QWidget* parent = nullptr);

  protected:
    protocol::ExchangeStatus ReadRow(std::size_t row, bool showErrors) override;
    void WriteRow(std::size_t row) override;
};

}  // namespace pages
