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

}  // namespace

WindDirectionPage::WindDirectionPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, WindDirectionSpec(), parent) {
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
    : DevicePage(link, WindSpeedSpec(), parent) {}

}  // namespace pages
