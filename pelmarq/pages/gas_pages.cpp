// The gas transmitters without limits: CO, TVOC, SO2 and NO2, three live values each
// (TVOC one), under the sensor type. Their tables are in page_tables.h.
#include "gas_pages.h"

#include "page_tables.h"

namespace pages {

CoPage::CoPage(transport::SerialLink& link, QWidget* parent) : DevicePage(link, CoSpec(), parent) {}

TvocPage::TvocPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, TvocSpec(), parent) {}

So2Page::So2Page(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, So2Spec(), parent) {}

No2Page::No2Page(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, No2Spec(), parent) {}

}  // namespace pages
