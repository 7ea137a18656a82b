#include "water_gauge_page.h"

#include <QLineEdit>

#include "page_tables.h"

namespace pages {

WaterGaugePage::WaterGaugePage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, WaterGaugeSpec(), parent) {}

// One read of registers 0-2. Only a complete reply of all three registers fills the
// fields; anything else (port closed, silence, a short or damaged reply) empties them.
std::vector<DevicePage::PollUnit> WaterGaugePage::PollUnits() {
    const auto clear = [this] {
        for (std::size_t row : {kGaugeLeak, kGaugeLevel, kGaugeTemperature}) Edit(row)->clear();
    };
    const auto read = [this, clear] {
        std::uint16_t values[3] = {};
        const protocol::ExchangeStatus status = Client().ReadRegisters(0x0000, 3, values);
        clear();
        if (status == protocol::ExchangeStatus::Ok)
            for (std::size_t row : {kGaugeLeak, kGaugeLevel, kGaugeTemperature})
                Edit(row)->setText(RowText(row, values[Spec().rows[row].reg]));
        return status;
    };
    return {{read, clear}};
}

}  // namespace pages
