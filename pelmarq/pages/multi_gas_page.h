#pragma once
// The eighteen-element air monitor (" QX40"): particulates, climate values, illuminance and
// twelve gases in registers 0 to 18, read in one request by the poll, and one calibration
// value per element from register 80 on.
#include "device_page.h"

namespace pages {

class MultiGasPage : public DevicePage {
    Q_OBJECT
  public:
    MultiGasPage(transport::SerialLink& link, QWidget* parent = nullptr);

  protected:
    std::vector<PollUnit> PollUnits() override;
    protocol::ExchangeStatus ReadRow(std::size_t row, bool showErrors) override;
};

}  // namespace pages
