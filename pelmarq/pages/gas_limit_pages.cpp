// The gas transmitters with limits: O2, H2S, NH3 and O3 (tables in page_tables.h). NH3 and
// O3 encode the gas by the chosen measuring range.
#include <QCoreApplication>

#include "gas_pages.h"

namespace pages {

O2Page::O2Page(transport::SerialLink& link, QWidget* parent) : DevicePage(link, O2Spec(), parent) {}

H2sPage::H2sPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, H2sSpec(), parent) {}

RangedGasPage::RangedGasPage(transport::SerialLink& link, PageSpec spec, RangedEncoding ranges,
                             QWidget* parent)
    : DevicePage(link, std::move(spec), parent), ranges_(std::move(ranges)) {}

Encoding RangedGasPage::EncodingFor(std::size_t row) const {
    if (!(Spec().rows[row].flags & kRanged)) return DevicePage::EncodingFor(row);
    // The range is read from the chosen item's text every time; nothing is remembered.
    const QString type = SensorTypeText();
    for (const char* item : ranges_.narrowTypes)
        if (type == QCoreApplication::translate("pages", item)) return ranges_.narrow;
    return ranges_.wide;
}

Nh3Page::Nh3Page(transport::SerialLink& link, QWidget* parent)
    : RangedGasPage(link, Nh3Spec(), Nh3Ranges(), parent) {}

O3Page::O3Page(transport::SerialLink& link, QWidget* parent)
    : RangedGasPage(link, O3Spec(), O3Ranges(), parent) {}

}  // namespace pages
