// The CO2 transmitter's page: its table (page_tables.h) and nothing of its own.
#include "gas_pages.h"
#include "page_tables.h"

namespace pages {

Co2Page::Co2Page(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, Co2Spec(), parent) {}

}  // namespace pages
