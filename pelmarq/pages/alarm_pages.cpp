#include "alarm_pages.h"

#include "page_tables.h"

namespace pages {

WaterLeakPage::WaterLeakPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, WaterLeakSpec(), parent) {}

SmokePage::SmokePage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, SmokeSpec(), parent) {}

IntrusionPage::IntrusionPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, IntrusionSpec(), parent) {}

}  // namespace pages
