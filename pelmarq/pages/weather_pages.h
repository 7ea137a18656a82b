#pragma once
// The weather category's plain pages: noise, pressure, rain gauge, the two louver boxes,
// solar radiation, ultraviolet, rain/snow and air quality. Each is only its table; the
// dust tester and the evaporation pan have pages of their own.
// (Tables in page_tables.h.)
#include "device_page.h"
#include "page_tables.h"

namespace pages {

// The ultraviolet page with its sensor types, "紫外线温湿度一体" chosen.
QWidget* MakeUvPage(transport::SerialLink& link, QWidget* parent);

}  // namespace pages
