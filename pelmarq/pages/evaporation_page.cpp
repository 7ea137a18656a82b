#include "evaporation_page.h"

#include <QLineEdit>

#include "number_text.h"

namespace pages {
namespace {

enum : std::size_t { kWeight, kHeight, kZero };

// The weight is signed: after "清零操作" the pan reads relative to that moment, and water
// that evaporates takes it below zero. Query and poll read it alike.
PageSpec EvaporationSpec() {
    return {.rows = {{"重量", "g", 0, 0, 0, 0x0000, Encoding::Whole, Access::Read, kPolled},
                     {"当前水面高度", "cm", 0, 0, 0, 0x0000, Encoding::Whole, Access::Show},
                     {"清零操作", "", 0, 0, 0, 0x0050, Encoding::UInt, Access::Write, kNoEdit}},
            .realtime = {0, "实时", RealtimeMode::AllButtons}};
}

// 1 / (100 pi) in single precision (0x3B509B88), as the device's makers give it.
constexpr float kCmPerGram = 0.0031830985f;

}  // namespace

QString EvaporationHeightText(std::int16_t grams) {
    return QString::fromStdString(
        protocol::FormatFixed(grams * static_cast<double>(kCmPerGram), 2));
}

EvaporationPage::EvaporationPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, EvaporationSpec(), parent) {}

// One read fills both fields; a failed one empties both, so no height stays beside a
// weight that could not be read.
protocol::ExchangeStatus EvaporationPage::ReadRow(std::size_t row, bool showErrors) {
    if (row != kWeight) return protocol::ExchangeStatus::Ok;
    std::uint16_t raw = 0;
    const protocol::ExchangeStatus status = Client().ReadRegister(Spec().rows[row].reg, &raw);
    Edit(kWeight)->clear();
    Edit(kHeight)->clear();
    if (status == protocol::ExchangeStatus::Ok) {
        const auto grams = static_cast<std::int16_t>(raw);
        Edit(kWeight)->setText(QString::number(grams));
        Edit(kHeight)->setText(EvaporationHeightText(grams));
    } else if (showErrors) {
        Fields().ReadFailureBox(status);
    }
    return status;
}

// "设置" of "清零操作" writes the constant 1.
void EvaporationPage::WriteRow(std::size_t row) {
    if (row != kZero) return;
    Fields().WriteResultBox(Client().WriteRegister(Spec().rows[row].reg, 1),
                            fields::FieldHelpers::SuccessIcon::Information);
}

}  // namespace pages
