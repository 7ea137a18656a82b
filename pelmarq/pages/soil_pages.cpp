#include "soil_pages.h"

#include "message_box.h"

namespace pages {

SoilConductivityPage::SoilConductivityPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, SoilConductivitySpec(), parent) {}

// The coefficient and calibration reads ask for the port before sending anything.
protocol::ExchangeStatus SoilConductivityPage::ReadRow(std::size_t row, bool showErrors) {
    if (showErrors && row >= kSoilFirstSetting && row < kSoilStandardValue && !Link().IsOpen()) {
        ui::Message(this, tr("请先打开串口"), tr("警告"), ui::BoxIcon::Warning);
        return protocol::ExchangeStatus::PortClosed;
    }
    return DevicePage::ReadRow(row, showErrors);
}

}  // namespace pages
