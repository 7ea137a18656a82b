#pragma once
// The electronic water gauge: level, temperature and leak state read in one block by the
// poll, the running scheme, limits and relay links as combos and numbers, and the analog
// output group that the device has but the page does not show.
#include "device_page.h"

namespace pages {

class WaterGaugePage : public DevicePage {
    Q_OBJECT
  public:
    WaterGaugePage(transport::SerialLink& link, QWidget* parent = nullptr);

  protected:
    std::vector<PollUnit> PollUnits() override;
};

}  // namespace pages
