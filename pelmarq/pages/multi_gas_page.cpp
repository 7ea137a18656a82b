#include "multi_gas_page.h"

#include <QLineEdit>
#include <QPushButton>

#include "page_tables.h"

namespace pages {

MultiGasPage::MultiGasPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, MultiGasSpec(), parent) {
    // Eighteen rows in three columns: narrow buttons keep the page within the window.
    for (std::size_t i = 0; i < Spec().rows.size(); ++i)
        for (QPushButton* b : {QueryButton(i), SetButton(i)})
            if (b) b->setMaximumWidth(48);
}

protocol::ExchangeStatus MultiGasPage::ReadRow(std::size_t row, bool showErrors) {
    if (row >= kMultiGasMeasured) return DevicePage::ReadRow(row, showErrors);
    std::uint16_t words[2] = {};
    const protocol::ExchangeStatus status =
        Client().ReadRegisters(Spec().rows[row].reg, MultiGasMeasuredCount(row), words);
    Edit(row)->clear();
    if (status == protocol::ExchangeStatus::Ok)
        Edit(row)->setText(QString::fromStdString(MultiGasMeasuredText(row, words)));
    else if (showErrors)
        Fields().ReadFailureBox(status);
    return status;
}

// One request for the whole block, with the longer wait it needs; a failed poll empties
// every measured field so no earlier reading stays on screen as if it were live.
std::vector<DevicePage::PollUnit> MultiGasPage::PollUnits() {
    const auto clear = [this] {
        for (std::size_t i = 0; i < kMultiGasMeasured; ++i) Edit(i)->clear();
    };
    const auto read = [this, clear] {
        std::uint16_t block[kMultiGasBlockRegisters] = {};
        const protocol::ExchangeStatus status =
            Client().ReadRegisters(0, kMultiGasBlockRegisters, block, transport::kBlockWait);
        clear();
        if (status == protocol::ExchangeStatus::Ok)
            for (std::size_t i = 0; i < kMultiGasMeasured; ++i)
                Edit(i)->setText(
                    QString::fromStdString(MultiGasMeasuredText(i, block + Spec().rows[i].reg)));
        return status;
    };
    return {{read, clear}};
}

}  // namespace pages
