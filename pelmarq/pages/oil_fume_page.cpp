#include "oil_fume_page.h"

#include "page_tables.h"

namespace pages {

OilFumePage::OilFumePage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, OilFumeSpec(), parent) {}

// The device is polled oil fume first, then particulates, then hydrocarbons.
std::vector<DevicePage::PollUnit> OilFumePage::PollUnits() {
    return {RowUnit(kOilFume), RowUnit(kOilFumeParticulates), RowUnit(kOilFumeHydrocarbons)};
}

}  // namespace pages
