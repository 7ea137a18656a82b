#include "oil_fume_sensor_page.h"

#include "page_tables.h"

namespace pages {

OilFumeSensorPage::OilFumeSensorPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, OilFumeSensorSpec(), parent) {}

}  // namespace pages
