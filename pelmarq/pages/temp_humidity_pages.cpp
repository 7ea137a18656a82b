#include "temp_humidity_pages.h"

#include "page_tables.h"

namespace pages {

TemperaturePage::TemperaturePage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, TemperatureSpec(), parent) {}

TempHumidityPage::TempHumidityPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, TempHumiditySpec(), parent) {}

TempHumidityBoardPage::TempHumidityBoardPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, BoardSpec(), parent) {}

}  // namespace pages
