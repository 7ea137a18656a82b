#include "wind_pages.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QVBoxLayout>

#include "category_container.h"

namespace pages {
namespace {

constexpr const char* kNoDirectionIcon = ":/pelmarq/wind_none.png";

PageSpec DirectionSpec() {
    // One "查询" reads both registers, each by a request of its own: the code, then
    // register 1.
    return {.rows = {{"寄存器0：", "", 0, 0, 0, 0x0000, Encoding::UInt, Access::Read, kPolled},
                     {"寄存器1：", "", 0, 0, 0, 0x0001, Encoding::UInt, Access::Read,
                      kPolled | kFollows}},
            .realtime = {0, "实时"},
            .readOnly = true};
}

PageSpec SpeedSpec() {
    return {.rows = {{"风速：", "m/s", 0, 0, 0, 0x0000, Encoding::Tenths, Access::Read, kPolled}},
            .realtime = {0, "实时"},
            .readOnly = true};
}

}  // namespace

WindDirection WindDirectionOf(std::uint16_t code) {
    static const WindDirection kDirections[] = {
        {"北风", ":/pelmarq/wind_n.png"}, {"东北风", ":/pelmarq/wind_ne.png"},
        {"东风", ":/pelmarq/wind_e.png"}, {"东南风", ":/pelmarq/wind_se.png"},
        {"南风", ":/pelmarq/wind_s.png"}, {"西南风", ":/pelmarq/wind_sw.png"},
        {"西风", ":/pelmarq/wind_w.png"}, {"西北风", ":/pelmarq/wind_nw.png"},
    };
    const unsigned low = code & 0xFFu;
    if (low < 8) return kDirections[low];
    return {"非法", ":/pelmarq/wind_n.png"};
}

WindDirectionPage::WindDirectionPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, DirectionSpec(), parent) {
    InitResources();
    icon_ = new QLabel(this);
    icon_->setObjectName("1238");
    icon_->setFixedSize(32, 32);
    name_ = new QLabel(QCoreApplication::translate("pages", "风向"), this);
    name_->setObjectName("风向:value");
    auto* extras = ColumnExtras(0);
    extras->addWidget(icon_);
    extras->addWidget(name_);
    ShowDirection();
}

protocol::ExchangeStatus WindDirectionPage::ReadRow(std::size_t row, bool showErrors) {
    if (row != 0) return DevicePage::ReadRow(row, showErrors);
    std::uint16_t code = 0;
    const protocol::ExchangeStatus status =
        Fields().ShowUInt(Edit(0), Spec().rows[0].reg, showErrors, &code);
    code_.reset();
    if (status == protocol::ExchangeStatus::Ok) code_ = code;
    ShowDirection();
    return status;
}

// Without a reading of register 0 (before the first query, or after a failed one) the page
// shows no direction: a north arrow would claim a north wind nobody measured.
void WindDirectionPage::ShowDirection() {
    const WindDirection d =
        code_ ? WindDirectionOf(*code_) : WindDirection{"风向", kNoDirectionIcon};
    name_->setText(QCoreApplication::translate("pages", d.name));
    icon_->setPixmap(QPixmap(QString::fromUtf8(d.icon)));
    icon_->setProperty("icon", QString::fromUtf8(d.icon));
}

WindSpeedPage::WindSpeedPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, SpeedSpec(), parent) {}

}  // namespace pages
