#pragma once
// The alarm category: water leak, smoke and intrusion detectors, each one state as text.
#include "device_page.h"

namespace pages {

class WaterLeakPage : public DevicePage {
    Q_OBJECT
  public:
    WaterLeakPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class SmokePage : public DevicePage {
    Q_OBJECT
  public:
    SmokePage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class IntrusionPage : public DevicePage {
    Q_OBJECT
  public:
    IntrusionPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

}  // namespace pages
