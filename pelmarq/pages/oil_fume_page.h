#pragma once
// The three-channel kitchen exhaust monitor ("485油烟"): oil fume, non-methane hydrocarbons
// and particulate matter, each corrected by a pair of float coefficients, and the firmware
// version. Its "实时" box only switches polling.
#include "device_page.h"

namespace pages {

class OilFumePage : public DevicePage {
    Q_OBJECT
  public:
    OilFumePage(transport::SerialLink& link, QWidget* parent = nullptr);

  protected:
    std::vector<PollUnit> PollUnits() override;
};

}  // namespace pages
