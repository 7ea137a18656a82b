#include "evaporation_page.h"

#include <QLineEdit>

#include "page_tables.h"

namespace pages {

QString EvaporationHeightText(std::int16_t grams) {
    return QString::fromStdString(EvaporationHeight(grams));
}

EvaporationPage::EvaporationPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, EvaporationSpec(), parent) {}

// One read fills both fields; a failed one empties both, so no height stays beside a
// weight that could not be read.
protocol::ExchangeStatus EvaporationPage::ReadRow(std::size_t row, bool showErrors) {
    if (row != kEvaporationWeight) return protocol::ExchangeStatus::Ok;
    std::uint16_t raw = 0;
    const protocol::ExchangeStatus status = Client().ReadRegister(Spec().rows[row].reg, &raw);
    Edit(kEvaporationWeight)->clear();
    Edit(kEvaporationHeight)->clear();
    if (status == protocol::ExchangeStatus::Ok) {
        const auto grams = static_cast<std::int16_t>(raw);
        Edit(kEvaporationWeight)->setText(QString::number(grams));
        Edit(kEvaporationHeight)->setText(EvaporationHeightText(grams));
    } else if (showErrors) {
        Fields().ReadFailureBox(status);
    }
    return status;
}

// "设置" of "清零操作" writes the constant 1.
void EvaporationPage::WriteRow(std::size_t row) {
    if (row != kEvaporationZero) return;
    Fields().WriteResultBox(Client().WriteRegister(Spec().rows[row].reg, 1),
                            fields::FieldHelpers::SuccessIcon::Information);
}

}  // namespace pages
