#pragma once
// The oil fume sensor of the gas category: the oil fume reading, a calibration value, one
// float coefficient and a version the page has but never shows.
#include "device_page.h"

namespace pages {

class OilFumeSensorPage : public DevicePage {
    Q_OBJECT
  public:
    OilFumeSensorPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

}  // namespace pages
