#pragma once
// The weather category's plain pages: noise, pressure, rain gauge, the two louver boxes,
// solar radiation, ultraviolet, rain/snow and air quality. Each is only its table; the
// dust tester and the evaporation pan have pages of their own.
#include "device_page.h"

namespace pages {

PageSpec NoiseSpec();
PageSpec PressureSpec();
PageSpec RainGaugeSpec();
PageSpec LouverCo2Spec();
PageSpec RadiationSpec();
PageSpec UvSpec();
PageSpec LouverPmSpec();
PageSpec RainSnowSpec();
PageSpec AirQualitySpec();

// The ultraviolet page with its sensor types, "紫外线温湿度一体" chosen.
QWidget* MakeUvPage(transport::SerialLink& link, QWidget* parent);

}  // namespace pages
